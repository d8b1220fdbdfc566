// The call text of a test record as UTF-8, so that test failures read as plain text.
#include "tests/support/call_text_utf8.h"

#include "calls/call_text.h"

std::string CallTextUtf8(RecordView record, int verbose) {
    SetVerboseFlag(verbose);
    FixedWideText<kCallTextUnits> text;
    BuildCallText(record, text);
    return ToUtf8(text.view());
}

std::string CallTextUtf8(const RecordBuilder& record, int verbose) {
    return CallTextUtf8(record.view(), verbose);
}
