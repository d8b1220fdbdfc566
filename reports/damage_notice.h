// The notice a damaged file gets: how many of the records its header counts were read, and
// where and why reading stopped.
#pragma once

#include <string>

#include "document/metafile_document.h"

// For example "Damaged: 30 of 2,034 records read; reading stopped at byte 4,832 (a record size
// of 0)"; "" for a file read to its end-of-file record, or when nothing is loaded.
std::u16string DamageNotice(const MetafileDocument& document);
