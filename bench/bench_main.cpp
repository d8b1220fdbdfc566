// The benchmarks' entry: Google Benchmark's own flags, and --write-generated=PATH, which
// writes the generated 250,000-record file to PATH and ends (bench/compare.sh times the public
// tools on it).
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/bench_files.h"

int main(int argc, char** argv) {
    constexpr char kWriteGenerated[] = "--write-generated=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kWriteGenerated, sizeof(kWriteGenerated) - 1) == 0) {
            std::error_code error;
            std::filesystem::copy_file(BenchFilePath(kGeneratedFile),
                                       argv[i] + sizeof(kWriteGenerated) - 1,
                                       std::filesystem::copy_options::overwrite_existing, error);
            return error ? 1 : 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
