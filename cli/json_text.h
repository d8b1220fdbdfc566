// JSON text for the command-line reports: strings escaped so that a line stays one line and
// prints as itself on a terminal; the record lines of records and calls.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "document/record_store.h"

// Appends `text` to `out` as a JSON string, quotes included. The quote, the backslash, every
// control character (U+0000 to U+001F, U+007F to U+009F) and every lone surrogate are escaped
// (\" \\ \t \r \n or \uXXXX); every other unit is kept.
void AppendJsonString(std::u16string& out, std::u16string_view text);

// Appends `value` in decimal.
void AppendJsonNumber(std::u16string& out, uint64_t value);

// Appends `length` bytes as pairs of lower-case hexadecimal digits, quotes included.
void AppendJsonHex(std::u16string& out, const uint8_t* bytes, uint32_t length);

// Writes one JSON line per stored record from `first` up to `end` through `write`: its index,
// offset in the file, type, name, size and call texts, and with `with_data` its bytes.
void WriteRecordJsonLines(const RecordStore& store, int32_t first, int32_t end, bool with_data,
                          void (*write)(std::u16string_view text));
