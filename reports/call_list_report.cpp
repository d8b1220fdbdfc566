// The call list: every drawing record as its numbered call text, with parameter blocks.
#include "reports/call_list_report.h"

#include "calls/call_text.h"

int BuildCallListText(const MetafileDocument& document, ReportText* report, int verbose) {
    if (!document.IsLoaded()) {
        return 0;
    }
    const int32_t count = document.Store().count();
    report->tab_stops = {30, 160, 200};
    report->chunks.clear();
    ReportWriter writer(report);
    writer.Append(u"\r\nEMF GDI Calls \r\n\r\n");
    // The header and the end-of-file record are not calls; a store of fewer than two records
    // holds none.
    FixedWideText<kWidePrintLimit> heading;
    heading.Print(u"Number of Calls: %d\r\n\r\n", count >= 2 ? count - 2 : 0);
    writer.Append(heading.view());

    SetVerboseFlag(verbose);
    FixedWideText<kCallTextUnits> call;
    FixedWideText<kCallTextUnits + 16> line;
    for (int32_t i = 1; i < count - 1; ++i) {
        BuildCallText(document.RecordAt(i), call);
        line.Clear();
        line.Print(u"%d\t", i);
        line.Append(call.view());
        line.Append(u"\r\n");
        writer.Append(line.view());
    }
    return 1;
}
