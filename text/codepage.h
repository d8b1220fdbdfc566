// Conversion of 8-bit text from Windows-1252, the same on every platform.
#pragma once

#include <cstdint>

// The UTF-16 unit of one Windows-1252 byte. The five bytes that code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code point of the same value.
char16_t Windows1252ToUtf16(uint8_t byte);
