// orvella-dump extract: the payloads of a metafile listed, or written into a folder, each as a
// new file whose name is made of the metafile's name and numbers alone.
#include "cli/extract_mode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/output.h"
#include "reports/embedded_payloads.h"
#include "text/utf16.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A path as the system takes it, and as it is shown: a file name made here.
using Path = FileName;

int Usage(const std::string& problem) {
    Write(Err(), "orvella-dump: " + problem + "\n");
    Write(Err(), std::string("usage: orvella-dump ") + kExtractUsage + "\n");
    return 2;
}

bool IsSeparator(char16_t unit) {
#ifdef _WIN32
    return unit == u'/' || unit == u'\\' || unit == u':';
#else
    return unit == u'/';
#endif
}

// The metafile's name without its folders and its extension; "stdin" for standard input.
std::u16string BaseName(const std::u16string& shown) {
    if (shown == u"-") {
        return u"stdin";
    }
    size_t start = shown.size();
    while (start > 0 && !IsSeparator(shown[start - 1])) {
        --start;
    }
    std::u16string base = shown.substr(start);
    const size_t dot = base.rfind(u'.');
    if (dot != std::u16string::npos && dot > 0) {
        base.resize(dot);
    }
    return base;
}

Path Join(const FileName& folder, bool given, const std::u16string& name) {
    Path path;
    if (!given) {
        path.shown = name;
#ifdef _WIN32
        path.system = name;
#else
        path.system = ToUtf8(name);
#endif
        return path;
    }
    const bool ends = !folder.shown.empty() && IsSeparator(folder.shown.back());
    path.shown = folder.shown + (ends ? u"" : u"/") + name;
#ifdef _WIN32
    path.system = folder.system + (ends ? u"" : u"\\") + name;
#else
    path.system = folder.system + (ends ? "" : "/") + ToUtf8(name);
#endif
    return path;
}

// Whether anything, a dangling link too, has the name.
bool Exists(const Path& path) {
#ifdef _WIN32
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(path.system.c_str())) !=
           INVALID_FILE_ATTRIBUTES;
#else
    struct stat status;
    return lstat(path.system.c_str(), &status) == 0;
#endif
}

// Creates the file only when nothing has its name, and writes `bytes` into it; "" on success,
// else why not.
std::string WriteNewFile(const Path& path, const std::vector<uint8_t>& bytes) {
#ifdef _WIN32
    const int file = _wopen(reinterpret_cast<const wchar_t*>(path.system.c_str()),
                            _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int file = open(path.system.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    if (file < 0) {
        return errno == EEXIST ? "it exists (made while the others were written)"
                               : std::strerror(errno);
    }
    size_t done = 0;
    std::string failure;
    while (done < bytes.size() && failure.empty()) {
        const size_t block = std::min<size_t>(bytes.size() - done, 1 << 20);
#ifdef _WIN32
        const int wrote = _write(file, bytes.data() + done, static_cast<unsigned>(block));
#else
        const ssize_t wrote = write(file, bytes.data() + done, block);
#endif
        if (wrote <= 0) {
            failure = std::strerror(errno);
        } else {
            done += static_cast<size_t>(wrote);
        }
    }
#ifdef _WIN32
    const bool closed = _close(file) == 0;
#else
    const bool closed = close(file) == 0;
#endif
    if (failure.empty() && !closed) {
        failure = std::strerror(errno);
    }
    return failure;
}

void SayAbout(const FileName& name, const std::u16string& what, const std::string& words) {
    Write(Err(), u"orvella-dump: ");
    Write(Err(), what.empty() ? name.shown : what);
    Write(Err(), words + "\n");
}

int List(const EmbeddedPayloads& found) {
    for (size_t i = 0; i < found.payloads().size(); ++i) {
        Write(Out(), PayloadLine(found.payloads()[i], found.Report(i)) + "\n");
    }
    return 0;
}

int WriteAll(const EmbeddedPayloads& found, const FileName& name, const FileName& folder,
             bool folder_given) {
    const std::u16string base = BaseName(name.shown);
    std::vector<Path> paths(found.payloads().size());
    bool taken = false;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::u16string file = PayloadFileName(base, found.payloads()[i]);
        if (file.empty()) {
            continue;
        }
        paths[i] = Join(folder, folder_given, file);
        if (Exists(paths[i])) {
            SayAbout(name, paths[i].shown, " exists");
            taken = true;
        }
    }
    if (taken) {
        Write(Err(), "orvella-dump: nothing was written\n");
        return 1;
    }
    if (folder_given) {
#ifdef _WIN32
        const std::filesystem::path where(reinterpret_cast<const wchar_t*>(folder.system.c_str()));
#else
        const std::filesystem::path where(folder.system);
#endif
        std::error_code error;
        std::filesystem::create_directories(where, error);
    }
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < paths.size(); ++i) {
        const EmbeddedPayload& payload = found.payloads()[i];
        if (paths[i].shown.empty() || !found.Bytes(i, &bytes)) {
            const std::string line = PayloadLine(payload, found.Report(i));
            SayAbout(name, u"",
                     ": not written: " + line.substr(0, line.find('\t')) + " " + payload.carrier +
                         ": " + found.Report(i).check.verdict);
            continue;
        }
        const std::string failure = WriteNewFile(paths[i], bytes);
        if (!failure.empty()) {
            SayAbout(name, paths[i].shown, ": " + failure);
            return 1;
        }
        Write(Out(), paths[i].shown);
        Write(Out(), "\n");
    }
    return 0;
}

}  // namespace

int RunExtractCommandLine(const std::vector<std::string>& arguments,
                          const std::vector<FileName>& names) {
    if (arguments.size() < 3) {
        return Usage("extract takes FILE");
    }
    bool list = false;
    size_t folder = 0;
    for (size_t next = 3; next < arguments.size(); ++next) {
        if (arguments[next] == "--list" && !list) {
            list = true;
        } else if (arguments[next] == "--out" && folder == 0 && next + 1 < arguments.size()) {
            folder = ++next;
        } else {
            return Usage("extract takes FILE, then --list or --out DIR, each once");
        }
    }
    if (list && folder != 0) {
        return Usage("--list and --out do not go together");
    }
    MetafileDocument document;
    if (const std::string failure = LoadNamedFile(names[2], &document); !failure.empty()) {
        SayAbout(names[2], u"cannot load " + names[2].shown, ": " + failure);
        return 1;
    }
    const EmbeddedPayloads found(document.Store());
    if (found.payloads().empty()) {
        SayAbout(names[2], u"", " carries no embedded data");
        return 0;
    }
    return list ? List(found)
                : WriteAll(found, names[2], names[folder == 0 ? 2 : folder], folder != 0);
}
