// orvella-dump's input: the names on the command line, the file or standard input read whole,
// and why what was read cannot be loaded.
#include "cli/input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "document/load_failure.h"
#include "text/utf16.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>
#else
#include <sys/stat.h>
#endif

namespace {

// The largest file Orvella reads: record offsets and sizes are 32-bit.
constexpr uint64_t kLargestFile = 0xFFFFFFFF;

// The file's bytes, or the reason they cannot be had.
struct FileBytes {
    std::vector<uint8_t> bytes;
    std::string failure;
};

// Reads everything `file` holds; `known` is its size when it is a regular file, else 0.
void ReadAll(FILE* file, uint64_t known, FileBytes* out) {
    if (known > kLargestFile) {
        out->failure = kFailureTooLarge;
        return;
    }
    out->bytes.reserve(static_cast<size_t>(known));
    uint8_t block[65536];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, file);
        if (out->bytes.size() + got > kLargestFile) {
            out->failure = kFailureTooLarge;
            return;
        }
        out->bytes.insert(out->bytes.end(), block, block + got);
        if (got < sizeof block) {
            break;
        }
    }
    if (std::ferror(file)) {
        out->failure = std::strerror(errno);
    }
}

FileBytes ReadFile(const FileName& name) {
    FileBytes file;
    if (name.shown == u"-") {
#ifdef _WIN32
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        ReadAll(stdin, 0, &file);
        return file;
    }
#ifdef _WIN32
    std::u16string path = name.system;
    // Paths beyond the platform's usual limit are opened in their long form.
    if (path.size() >= MAX_PATH && path.rfind(u"\\\\", 0) != 0) {
        std::vector<wchar_t> full(32768);
        const DWORD length =
            GetFullPathNameW(reinterpret_cast<const wchar_t*>(path.c_str()),
                             static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length > 0 && length < full.size()) {
            path = u"\\\\?\\" + std::u16string(reinterpret_cast<char16_t*>(full.data()), length);
        }
    }
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(path.c_str());
    const DWORD attributes = GetFileAttributesW(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        file.failure = kFailureFolder;
        return file;
    }
    FILE* handle = _wfopen(wide, L"rb");
    if (handle == nullptr) {
        file.failure = std::strerror(errno);
        return file;
    }
    struct _stati64 status;
    const bool regular = _fstati64(_fileno(handle), &status) == 0 && (status.st_mode & _S_IFREG);
#else
    FILE* handle = std::fopen(name.system.c_str(), "rb");
    if (handle == nullptr) {
        file.failure = std::strerror(errno);
        return file;
    }
    struct stat status;
    if (fstat(fileno(handle), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(handle);
        file.failure = kFailureFolder;
        return file;
    }
    const bool regular = S_ISREG(status.st_mode);
#endif
    ReadAll(handle, regular ? static_cast<uint64_t>(status.st_size) : 0, &file);
    std::fclose(handle);
    return file;
}

}  // namespace

std::vector<FileName> ArgumentNames(int argc, char** argv) {
    std::vector<FileName> names(static_cast<size_t>(argc));
#ifdef _WIN32
    int wide_count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wide_count);
    for (int i = 0; i < argc; ++i) {
        names[i].system = wide != nullptr && i < wide_count
                              ? std::u16string(reinterpret_cast<const char16_t*>(wide[i]))
                              : FromUtf8(argv[i]);
        names[i].shown = names[i].system;
    }
#else
    for (int i = 0; i < argc; ++i) {
        names[i].system = argv[i];
        names[i].shown = FromUtf8(argv[i]);
    }
#endif
    return names;
}

std::string LoadNamedFile(const FileName& name, MetafileDocument* document) {
    const FileBytes file = ReadFile(name);
    if (!file.failure.empty()) {
        return file.failure;
    }
    LoadFailure refusal;
    ExplainRefusal(file.bytes.data(), file.bytes.size(), &refusal);
    if (refusal.text[0] != 0) {
        return refusal.text;
    }
    // The document's path holds at most 258 units; the header report shows the name as given
    // all the same.
    const std::u16string path =
        name.shown.size() <= static_cast<size_t>(kLongestPath) ? name.shown : std::u16string(u"-");
    if (!document->LoadBytes(file.bytes.data(), file.bytes.size(), path.c_str())) {
        return InstalledDocumentPlatform().create_playback != nullptr
                   ? "out of memory, or the platform refused its playback copy"
                   : kFailureOutOfMemory;
    }
    return "";
}
