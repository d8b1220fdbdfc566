// Every input the fuzzers ever found, replayed through the checks of its fuzz target.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "tests/support/emf_builder.h"

namespace {

std::string RegressionsDir() {
    std::string folder = ORVELLA_REGRESSIONS_DIR;
#ifdef _WIN32
    // A Unix path handed to a Windows program under Wine: its root is drive Z.
    if (!folder.empty() && folder[0] == '/') {
        folder = "Z:" + folder;
    }
#endif
    return folder;
}

// The kept inputs of one target, sorted; a target without findings has no folder.
std::vector<std::string> KeptInputs(const std::string& target) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(RegressionsDir() + "/" + target, error)) {
        if (entry.is_regular_file() && entry.path().extension() != ".md") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FuzzRegressions, EveryKeptInputPassesTheChecksOfItsTarget) {
    ASSERT_TRUE(std::filesystem::exists(RegressionsDir() + "/README.md")) << RegressionsDir();
    const struct {
        const char* target;
        const char* (*check)(const uint8_t*, size_t);
    } targets[] = {
        {"document", CheckDocumentInput},
        {"record", CheckRecordInput},
        {"emfplus", CheckEmfPlusInput},
        {"canvas", CheckCanvasInput},
    };
    for (const auto& [target, check] : targets) {
        const std::vector<std::string> inputs = KeptInputs(target);
        for (const std::string& path : inputs) {
            const std::vector<uint8_t> bytes = ReadFileBytes(path);
            const char* broken = check(bytes.data(), bytes.size());
            EXPECT_EQ(broken, nullptr) << path << ": " << broken;
        }
        std::printf("regressions: %zu %s input(s) replayed\n", inputs.size(), target);
    }
}

}  // namespace
