// orvella-dump: prints the header report, the record list, the call list or one call text of
// a metafile, as UTF-8, exactly as the window program shows them, or as JSON lines.
#include <new>
#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/modes.h"
#include "cli/output.h"

#ifdef _WIN32
#include "document/gdi_reader_win.h"
#endif

int main(int argc, char** argv) {
    EndQuietlyWhenTheReaderGoes();
#ifdef _WIN32
    UseWindowsDocumentPlatform();
#endif
    int status = 0;
    try {
        status =
            RunCommandLine(std::vector<std::string>(argv, argv + argc), ArgumentNames(argc, argv));
    } catch (const std::bad_alloc&) {
        status = OutOfMemory();
    }
    return FinishOutput(status);
}
