// Every generated hostile file through the portable core: the document refuses it or holds
// it, and then every call text, every report and the playback copy can be built from it.
#include <gtest/gtest.h>

#include "calls/call_text.h"
#include "document/metafile_document.h"
#include "document/metafile_reader.h"
#include "document/playback_copy.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/emf_builder.h"
#include "tests/support/hostile_metafiles.h"

namespace {

std::vector<HostileMetafile> EveryGeneratedFile() {
    std::vector<HostileMetafile> files = MalformedMetafiles();
    for (auto more : {HostileMetafiles(), EveryTypeMetafiles()}) {
        files.insert(files.end(), more.begin(), more.end());
    }
    return files;
}

void ExpectEverythingBuilds(const MetafileDocument& document) {
    for (int32_t i = 0; i < document.Store().count(); ++i) {
        FixedWideText<kCallTextUnits> call;
        BuildCallText(document.RecordAt(i), call);
        EXPECT_GT(call.size(), 0u) << "record " << i;
        EXPECT_LT(call.size(), kCallTextUnits) << "record " << i;
    }
    ReportText header;
    ReportText records;
    ReportText calls;
    EXPECT_EQ(BuildHeaderReportText(document, &header), 1);
    EXPECT_EQ(BuildRecordListText(document, &records), 1);
    EXPECT_EQ(BuildCallListText(document, &calls), 1);
    EXPECT_FALSE(JoinReport(records).empty());
    PlaybackCopy copy;
    EXPECT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
}

TEST(HostileFiles, AreRefusedOrHeldWithEveryTextAndTheirPlaybackCopyBuilt) {
    int held = 0;
    int refused = 0;
    for (const HostileMetafile& file : EveryGeneratedFile()) {
        SCOPED_TRACE(file.name);
        const std::string path = WriteTempFile(file.name + ".emf", file.bytes);
        MetafileDocument document;
        if (document.LoadFileWith(DirectMetafileReader(), ToU16(path).c_str()) != 1) {
            EXPECT_FALSE(document.IsLoaded());
            EXPECT_EQ(document.Store().count(), 0);
            ++refused;
            continue;
        }
        ++held;
        ExpectEverythingBuilds(document);
    }
    // The sound base file and most damaged ones are held; the ones cut in their header are not.
    EXPECT_GT(held, refused);
    EXPECT_GT(refused, 0);
}

}  // namespace
