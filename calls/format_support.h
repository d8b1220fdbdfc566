// Small pieces shared by the formatters: the untranslated form and the notes on cut lists.
#pragma once

#include <cstdint>

#include "calls/formatters.h"

// The argument text of a record too short for the fields its formatter reads: the same
// placeholder as an untranslated type.
inline int FormatUntranslated(WideText& args) {
    return FormatPlaceholder(RecordView{}, args);
}

// One comment line saying that `count` more items of a list (named in the singular, such as
// u"point") lie beyond the end of the record and are not listed:
// "\r\n\t  // %u more point(s) is(are) beyond the record..." (the count unsigned: it is a
// count the record claims, which may be anything).
void AppendBeyondRecordNote(WideText& args, uint32_t count, const char16_t* item);

// One comment line saying that a structure (such as u"BITMAPINFOHEADER") does not lie wholly
// inside the record and is not listed: "\r\n\t  // BITMAPINFOHEADER is beyond the record..."
void AppendStructureBeyondRecordNote(WideText& args, const char16_t* structure);
