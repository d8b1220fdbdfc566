// UTF-16 units: the surrogate tests and the one conversion to and from UTF-8.
#include "text/utf16.h"

#include <cstdint>

size_t EncodeUtf8(std::u16string_view text, char* out) {
    char* p = out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (IsSurrogate(text[i])) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (c >> 12));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (c >> 18));
            *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<size_t>(p - out);
}

std::string ToUtf8(std::u16string_view text) {
    std::string out(text.size() * 3, '\0');
    out.resize(EncodeUtf8(text, out.data()));
    return out;
}

namespace {

// The code point of the well-formed sequence at `text[i]`, and its length in `length`; -1
// when the bytes there are no well-formed sequence.
int32_t DecodeUtf8At(std::string_view text, size_t i, size_t* length) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    if (lead < 0x80) {
        *length = 1;
        return lead;
    }
    size_t extra = 0;
    uint32_t c = 0;
    uint32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return -1;
    }
    if (text.size() - i <= extra) {
        return -1;
    }
    for (size_t k = 1; k <= extra; ++k) {
        const uint8_t next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            return -1;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return -1;
    }
    *length = extra + 1;
    return static_cast<int32_t>(c);
}

}  // namespace

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        size_t length = 1;
        const int32_t c = DecodeUtf8At(text, i, &length);
        i += length;
        if (c < 0) {
            out += u'\uFFFD';
        } else if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}
