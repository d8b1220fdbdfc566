// orvella-dump emfplus: the EMF+ records and comments of a metafile, as text or JSON lines.
#pragma once

#include <string_view>

#include "document/metafile_document.h"

// Writes the report of the loaded document through `write` (UTF-16 in, UTF-8 out): the text
// lines with their "\r\n", or with `json` one JSON object per line ending in "\n". Returns the
// exit code, or -1 when the report's memory could not be had.
int RunEmfPlusMode(const MetafileDocument& document, bool json,
                   void (*write)(std::u16string_view text));
