// The entry of every test executable. A run in which every test passed but some were skipped
// (the corpus is absent) ends with 77, which CTest reports as skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"

#ifdef _WIN32
#include "document/gdi_reader_win.h"
#endif

std::string CorpusForTest() {
    const std::string corpus = CorpusDir();
    const char* ci = std::getenv("CI");
    if (corpus.empty() && ci != nullptr && std::string(ci) == "true") {
        ADD_FAILURE() << "CI=true and no corpus folder beside the checkout";
    }
    return corpus;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    // The tests under Wine read and play files as the program does there.
    UseWindowsDocumentPlatform();
#endif
    const int result = RUN_ALL_TESTS();
    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    if (result == 0 && run.skipped_test_count() > 0) {
        std::printf("%d test(s) skipped:", run.skipped_test_count());
        for (int i = 0; i < run.total_test_suite_count(); ++i) {
            const testing::TestSuite& suite = *run.GetTestSuite(i);
            for (int j = 0; j < suite.total_test_count(); ++j) {
                if (suite.GetTestInfo(j)->result()->Skipped()) {
                    std::printf(" %s.%s", suite.name(), suite.GetTestInfo(j)->name());
                }
            }
        }
        std::printf("\n");
        return 77;
    }
    return result;
}
