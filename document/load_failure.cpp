// Why a file could not be loaded, in words shared by the window's message and orvella-dump.
#include "document/load_failure.h"

#include <cstdio>

#include "document/emf_format.h"
#include "document/metafile_reader.h"

void LoadFailure::Say(const char* words) {
    std::snprintf(text, sizeof text, "%s", words);
}

void ExplainRefusal(const uint8_t* bytes, size_t size, LoadFailure* out) {
    char* const text = out->text;
    const size_t room = sizeof out->text;
    const uint32_t held =
        size > UINT32_C(0xFFFFFFFF) ? UINT32_C(0xFFFFFFFF) : static_cast<uint32_t>(size);
    const RecordView file{bytes, bytes == nullptr ? 0 : held};
    switch (CheckEnhancedMetafile(bytes, size)) {
        case MetafileRefusal::kNone:
            out->Say("");
            return;
        case MetafileRefusal::kTooShort:
            std::snprintf(text, room,
                          "too short for an enhanced metafile header (%zu bytes; it needs 88)",
                          bytes == nullptr ? size_t{0} : size);
            return;
        case MetafileRefusal::kNotHeader:
            std::snprintf(text, room,
                          "not an enhanced metafile: its first record is of type %u, not a "
                          "header record (type 1)",
                          RecordType(file));
            return;
        case MetafileRefusal::kHeaderSize:
            std::snprintf(text, room,
                          "not an enhanced metafile: its header record's size %u is not a "
                          "multiple of 4 of at least 88 bytes inside the file (%zu bytes)",
                          RecordSizeField(file), size);
            return;
        case MetafileRefusal::kSignature:
            std::snprintf(text, room,
                          "not an enhanced metafile: its signature is 0x%08X, not 0x464D4520 "
                          "(\" EMF\")",
                          RecordReader(file).U32(kHeaderSignatureOffset));
            return;
    }
    out->Say("not an enhanced metafile");
}
