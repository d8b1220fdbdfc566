// orvella-dump's standard output and standard error: UTF-8 when redirected, escaped on a
// terminal, the characters themselves on a Windows console.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// One output stream. Redirected, it takes exact UTF-8. On a terminal, text from the file must
// not drive the terminal: control characters other than tab, CR and LF print as visible
// escapes (\x1B); a Windows console is given the characters themselves, as UTF-16.
class Output {
  public:
    explicit Output(FILE* file);

    void Write(std::u16string_view text);
    void Write(std::string_view ascii);

    // Flushes; false when anything could not be written.
    bool Finish();
    int error() const { return error_; }

  private:
    void WriteSlice(std::u16string_view text);
    void Failed();

    FILE* file_;
    bool terminal_ = false;
    bool failed_ = false;
    int error_ = 0;
    std::u16string escaped_;
    std::string bytes_;
    // The console's HANDLE on Windows, when the stream is one.
    void* console_ = nullptr;
};

Output& Out();
Output& Err();

// Makes a closed pipe end the program at once, even when the caller ignored the signal.
void EndQuietlyWhenTheReaderGoes();

// Flushes both streams and returns `status`, or 1 after saying so on standard error when the
// report could not be written whole.
int FinishOutput(int status);

// Says the program ran out of memory; the exit code.
int OutOfMemory();
