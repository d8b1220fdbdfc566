// Writes generated hostile metafiles into a folder, for the checks that drive the real program.
// Usage: orvella-hostile-writer FOLDER NAME...  (each NAME as the generators call the file; the
// file is written as FOLDER/NAME.emf)
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/hostile_metafiles.h"

namespace {

std::vector<HostileMetafile> EveryGeneratedFile() {
    std::vector<HostileMetafile> files = MalformedMetafiles();
    for (const auto& more : {HostileMetafiles(), EveryTypeMetafiles()}) {
        files.insert(files.end(), more.begin(), more.end());
    }
    return files;
}

bool Write(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orvella-hostile-writer FOLDER NAME...\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const std::vector<HostileMetafile> files = EveryGeneratedFile();
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        const HostileMetafile* found = nullptr;
        for (const HostileMetafile& file : files) {
            if (file.name == name) {
                found = &file;
            }
        }
        if (found == nullptr) {
            std::fprintf(stderr, "orvella-hostile-writer: no generated file is called %s\n",
                         name.c_str());
            status = 1;
        } else if (!Write(folder / (name + ".emf"), found->bytes)) {
            std::fprintf(stderr, "orvella-hostile-writer: cannot write %s.emf into %s\n",
                         name.c_str(), argv[1]);
            status = 1;
        }
    }
    return status;
}
