// orvella-dump's standard output and standard error: UTF-8 when redirected, escaped on a
// terminal, the characters themselves on a Windows console.
#include "cli/output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/utf16.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

// One output stream. Redirected, it takes exact UTF-8. On a terminal, text from the file must
// not drive the terminal: control characters other than tab, CR and LF print as visible
// escapes (\x1B); a Windows console is given the characters themselves, as UTF-16.
class Output {
  public:
    explicit Output(FILE* file) : file_(file) {
#ifdef _WIN32
        _setmode(_fileno(file), _O_BINARY);
        console_ = GetStdHandle(file == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
        DWORD mode = 0;
        if (console_ == nullptr || console_ == INVALID_HANDLE_VALUE ||
            !GetConsoleMode(console_, &mode)) {
            console_ = nullptr;
        }
        terminal_ = console_ != nullptr;
#else
        terminal_ = isatty(fileno(file)) != 0;
#endif
    }

    void Write(std::u16string_view text) {
        while (!text.empty() && !failed_) {
            size_t slice = text.size() < kSliceUnits ? text.size() : kSliceUnits;
            if (slice < text.size() && IsHighSurrogate(text[slice - 1])) {
                --slice;
            }
            WriteSlice(text.substr(0, slice));
            text.remove_prefix(slice);
        }
    }

    void Write(std::string_view ascii) {
        std::u16string wide(ascii.begin(), ascii.end());
        Write(std::u16string_view(wide));
    }

    // Flushes; false when anything could not be written.
    bool Finish() {
        if (!failed_ && std::fflush(file_) != 0) {
            Failed();
        }
        return !failed_;
    }
    int error() const {
        return error_;
    }

  private:
    static constexpr size_t kSliceUnits = 16384;

    static bool IsControl(char16_t unit) {
        return (unit < 0x20 && unit != u'\t' && unit != u'\r' && unit != u'\n') ||
               (unit >= 0x7F && unit <= 0x9F);
    }

    void WriteSlice(std::u16string_view text) {
        if (terminal_) {
            escaped_.clear();
            for (char16_t unit : text) {
                if (IsControl(unit)) {
                    constexpr char16_t kHex[] = u"0123456789ABCDEF";
                    escaped_ += u"\\x";
                    escaped_ += kHex[(unit >> 4) & 0xF];
                    escaped_ += kHex[unit & 0xF];
                } else {
                    escaped_ += unit;
                }
            }
            text = escaped_;
        }
#ifdef _WIN32
        if (console_ != nullptr) {
            DWORD written = 0;
            if (!WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr)) {
                errno = EIO;
                Failed();
            }
            return;
        }
#endif
        bytes_.resize(3 * text.size());
        const size_t length = EncodeUtf8(text, bytes_.data());
        if (std::fwrite(bytes_.data(), 1, length, file_) != length) {
            Failed();
        }
    }

    // A reader that went away wants no more: the program ends at once and quietly. Any other
    // failure is reported when the program ends.
    void Failed() {
        if (ReaderWentAway()) {
            std::_Exit(1);
        }
        failed_ = true;
        error_ = errno;
    }

    static bool ReaderWentAway() {
#ifdef _WIN32
        const DWORD error = GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ||
            error == ERROR_PIPE_NOT_CONNECTED) {
            return true;
        }
#endif
        return errno == EPIPE;
    }

    FILE* file_;
    bool terminal_ = false;
    bool failed_ = false;
    int error_ = 0;
    std::u16string escaped_;
    std::string bytes_;
#ifdef _WIN32
    HANDLE console_ = nullptr;
#endif
};

Output& Out() {
    static Output out(stdout);
    return out;
}

Output& Err() {
    static Output err(stderr);
    return err;
}

void Write(Output& out, std::u16string_view text) {
    out.Write(text);
}

void Write(Output& out, std::string_view ascii) {
    out.Write(ascii);
}

void EndQuietlyWhenTheReaderGoes() {
#ifndef _WIN32
    std::signal(SIGPIPE, SIG_DFL);
#endif
}

namespace {
int g_failure_status = 1;
}  // namespace

void SetFailureStatus(int status) {
    g_failure_status = status;
}

int FinishOutput(int status) {
    if (!Out().Finish()) {
        char text[200];
        std::snprintf(text, sizeof text, "orvella-dump: cannot write the report: %s\n",
                      std::strerror(Out().error()));
        Write(Err(), text);
        status = g_failure_status;
    }
    Err().Finish();
    return status;
}

int OutOfMemory() {
    Write(Err(), "orvella-dump: out of memory\n");
    return g_failure_status;
}
