// UTF-16 units: the surrogate tests and the one conversion to and from UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
constexpr bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// Writes the UTF-8 form of `text` at `out`, which has room for 3 bytes a unit; returns the
// bytes written. A lone surrogate has no UTF-8 form and becomes U+FFFD.
size_t EncodeUtf8(std::u16string_view text, char* out);
std::string ToUtf8(std::u16string_view text);

// The UTF-16 form of UTF-8 text; each byte that does not belong to a well-formed sequence
// becomes U+FFFD.
std::u16string FromUtf8(std::string_view text);
