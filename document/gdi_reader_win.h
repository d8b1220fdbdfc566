// The platform's metafile functions as the document's reader and player handle.
#pragma once

#include "document/metafile_reader.h"

// Reads through the platform's metafile functions (SetEnhMetaFileBits and its family), handed
// the bytes the direct reader read. Only for files that are well formed in the sense of
// DirectMetafileIsWellFormed.
const MetafileReader& GdiMetafileReader();

// The platform's functions for every well-formed file and the direct reader for the others.
const MetafileReader& WindowsMetafileReader();

// Makes every document read through WindowsMetafileReader and keep a playback handle for the
// platform's player: what a Windows program calls once before it loads a file.
void UseWindowsDocumentPlatform();
