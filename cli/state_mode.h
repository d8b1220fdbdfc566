// orvella-dump state: the graphics state after one record, as text or one JSON object.
#pragma once

#include <cstdint>
#include <string_view>

#include "document/metafile_document.h"

// Writes the state after record `index` through `write` (UTF-16 in, UTF-8 out): the lines of
// the state text with their "\r\n", or with `json` one JSON object ending in "\n". Returns 0,
// or -1 when memory ran out. `index` must be a stored record.
int RunStateMode(const MetafileDocument& document, int32_t index, bool json,
                 void (*write)(std::u16string_view text));

// Writes one line per record, in file order: its index, its name and the state items it
// changed, each as "item: old -> new" ("(none)" for an item it made or took away); with
// `json`, one JSON object per record. Returns 0, or -1 when memory ran out.
int RunStateChangesMode(const MetafileDocument& document, bool json,
                        void (*write)(std::u16string_view text));
