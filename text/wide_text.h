// A UTF-16 text in a caller's fixed buffer that can only grow within that buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/wide_print.h"

// Every append stays inside the buffer. When a text would not fit, it is cut at a whole line
// (before the "\r\n" that opens the line that overflowed, or, in a one-line text, at the last
// unit that fits, never inside a surrogate pair), and every later append is dropped.
class WideText {
  public:
    // `capacity` counts UTF-16 units, terminator included; it must be at least 1.
    WideText(char16_t* buffer, size_t capacity);
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    void Clear();
    void Append(std::u16string_view text);
    void Append(const char16_t* text) { Append(std::u16string_view(text)); }
    void Append(char16_t unit) { Append(std::u16string_view(&unit, 1)); }

    // Appends one formatted print. A print never exceeds kWidePrintLimit units with its
    // terminator: where that much room is left it is made in place, as Append would copy it.
    template <typename... Args>
    void Print(const char16_t* format, const Args&... args) {
        if (!cut_ && capacity_ - length_ >= kWidePrintLimit) {
            length_ += WidePrint(buffer_ + length_, format, args...);
            return;
        }
        char16_t scratch[kWidePrintLimit];
        const size_t length = WidePrint(scratch, format, args...);
        Append(std::u16string_view(scratch, length));
    }

    const char16_t* c_str() const { return buffer_; }
    size_t size() const { return length_; }
    size_t capacity() const { return capacity_; }
    std::u16string_view view() const { return std::u16string_view(buffer_, length_); }
    // True once something had to be left out.
    bool cut() const { return cut_; }

  private:
    void CutAtLine(char16_t next);

    char16_t* buffer_;
    size_t capacity_;
    size_t length_ = 0;
    bool cut_ = false;
};

// A WideText with its own storage of N units.
template <size_t N>
class FixedWideText : public WideText {
  public:
    FixedWideText() : WideText(storage_, N) {}

  private:
    char16_t storage_[N];
};

// Appends `value` in decimal with a comma between each group of three digits ("79,056").
void AppendGrouped(WideText& out, uint32_t value);
