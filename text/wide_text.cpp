// A UTF-16 text in a caller's fixed buffer that can only grow within that buffer.
#include "text/wide_text.h"

#include <cstring>

#include "text/utf16.h"

WideText::WideText(char16_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = 0;
}

void WideText::Clear() {
    length_ = 0;
    cut_ = false;
    buffer_[0] = 0;
}

void WideText::Append(std::u16string_view text) {
    if (cut_ || text.empty()) {
        return;
    }
    const size_t room = capacity_ - 1 - length_;
    if (text.size() <= room) {
        std::memcpy(buffer_ + length_, text.data(), text.size() * sizeof(char16_t));
        length_ += text.size();
        buffer_[length_] = 0;
        return;
    }
    std::memcpy(buffer_ + length_, text.data(), room * sizeof(char16_t));
    length_ += room;
    CutAtLine(text[room]);
    cut_ = true;
    buffer_[length_] = 0;
}

// Drops the part of the line that did not fit: back to the "\r\n" that opens it, or, in a
// text without line breaks, back to the last whole character. `next` is the first unit that
// did not fit.
void WideText::CutAtLine(char16_t next) {
    if (next == u'\r') {
        return;
    }
    for (size_t p = length_; p-- > 0;) {
        const char16_t after = p + 1 < length_ ? buffer_[p + 1] : next;
        if (buffer_[p] == u'\r' && after == u'\n') {
            length_ = p;
            return;
        }
    }
    if (length_ > 0 && IsHighSurrogate(buffer_[length_ - 1])) {
        --length_;
    }
}

void AppendGrouped(WideText& out, uint32_t value) {
    char16_t digits[16];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count - 1; i >= 0; --i) {
        out.Append(digits[i]);
        if (i > 0 && i % 3 == 0) {
            out.Append(u',');
        }
    }
}
