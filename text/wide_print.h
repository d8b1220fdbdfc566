// The wide formatted print: the one primitive that builds every text the program shows.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One formatted print writes at most this many UTF-16 units, its terminator included.
inline constexpr size_t kWidePrintLimit = 1024;

// One argument of a formatted print. Integers are carried as their 32-bit pattern, so "%d"
// prints them signed and "%X" unsigned whatever type the caller held them in.
struct PrintArg {
    enum class Kind : uint8_t { kInteger, kWide, kNarrow };
    Kind kind = Kind::kInteger;
    int32_t integer = 0;
    const char16_t* wide = nullptr;
    const char* narrow = nullptr;
};

template <std::integral T>
PrintArg MakePrintArg(T value) {
    static_assert(sizeof(T) <= 4, "the wide print takes 32-bit integers only");
    PrintArg arg;
    arg.integer = static_cast<int32_t>(static_cast<uint32_t>(value));
    return arg;
}
inline PrintArg MakePrintArg(const char16_t* text) {
    PrintArg arg;
    arg.kind = PrintArg::Kind::kWide;
    arg.wide = text;
    return arg;
}
inline PrintArg MakePrintArg(const char* text) {
    PrintArg arg;
    arg.kind = PrintArg::Kind::kNarrow;
    arg.narrow = text;
    return arg;
}

// Formats into `out`, which must hold kWidePrintLimit units. Conversions: "%d" and "%ld"
// (signed decimal), "%u" (unsigned decimal), "%0Nd" (zero-padded decimal), "%02X", "%04X",
// "%08X" (upper-case
// hexadecimal, zero-padded), "%s" and "%ls" (UTF-16 text), "%hs" (8-bit text, converted from
// Windows-1252) and "%%". Output beyond 1,023 units is dropped, never in the middle of a
// surrogate pair. Returns the number of units written, terminator not counted.
size_t WidePrintArgs(char16_t* out, const char16_t* format, const PrintArg* args, size_t count);

template <typename... Args>
size_t WidePrint(char16_t* out, const char16_t* format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return WidePrintArgs(out, format, nullptr, 0);
    } else {
        const PrintArg list[] = {MakePrintArg(args)...};
        return WidePrintArgs(out, format, list, sizeof...(Args));
    }
}

// Length of a NUL-terminated UTF-16 text.
size_t WideLength(const char16_t* text);
