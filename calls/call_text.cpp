// Turning one stored record into its call text: the dispatch and the verbose flag.
#include "calls/call_text.h"

#include "calls/format_support.h"

namespace {

int g_verbose = 0;

}  // namespace

int VerboseFlag() {
    return g_verbose;
}

void SetVerboseFlag(int verbose) {
    g_verbose = verbose;
}

int BuildCallText(RecordView record, WideText& out) {
    out.Clear();
    if (!record) {
        return 0;
    }
    const uint32_t type = RecordType(record);
    const char16_t* call_name = LookupCallName(type);
    if (call_name == nullptr) {
        out.Append(u"--unknown--");
        return 1;
    }
    out.Append(call_name);
    LookupFormatter(type)(record, out);
    return 1;
}

int FormatPlaceholder(RecordView, WideText& args) {
    args.Append(u"(\u2588\u2588\u2588\u2588\u2588\u2588\u2588\u2588);");
    return 1;
}

int FormatDcOnly(RecordView, WideText& args) {
    args.Append(u"(hDC);");
    return 1;
}

void AppendBeyondRecordNote(WideText& args, uint32_t count, const char16_t* item) {
    args.Print(u"\r\n\t  // %u more %s(s) is(are) beyond the record...", count, item);
}

void AppendStructureBeyondRecordNote(WideText& args, const char16_t* structure) {
    args.Print(u"\r\n\t  // %s is beyond the record...", structure);
}
