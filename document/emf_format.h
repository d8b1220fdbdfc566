// Numbers of the enhanced-metafile format that the document relies on.
#pragma once

#include <cstdint>

#include "document/record_types.h"

// " EMF", the value of ENHMETAHEADER.dSignature.
inline constexpr uint32_t kEnhMetaSignature = 0x464D4520;

// Byte offsets of ENHMETAHEADER fields from the header record's first byte.
inline constexpr uint32_t kHeaderBoundsOffset = 8;
inline constexpr uint32_t kHeaderFrameOffset = 24;
inline constexpr uint32_t kHeaderSignatureOffset = 40;
inline constexpr uint32_t kHeaderBytesOffset = 48;
inline constexpr uint32_t kHeaderRecordsOffset = 52;
inline constexpr uint32_t kHeaderHandlesOffset = 56;

// The base ENHMETAHEADER, up to and including szlMillimeters.
inline constexpr uint32_t kHeaderBaseBytes = 88;

// The smallest record: its iType and nSize words.
inline constexpr uint32_t kRecordHeadBytes = 8;
