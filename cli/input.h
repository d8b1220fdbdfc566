// orvella-dump's input: the names on the command line, the file or standard input read whole,
// and why what was read cannot be loaded.
#pragma once

#include <string>
#include <vector>

#include "document/metafile_document.h"

// A command-line argument as a file name: as the system gave it, and as UTF-16 for display.
struct FileName {
#ifdef _WIN32
    std::u16string system;
#else
    std::string system;
#endif
    std::u16string shown;
};

// The program's arguments as file names, argv[0] included.
std::vector<FileName> ArgumentNames(int argc, char** argv);

// Loads the file `name` (- for standard input) into `document`. "" on success, else why it
// could not be loaded, for "cannot load NAME: ...".
std::string LoadNamedFile(const FileName& name, MetafileDocument* document);
