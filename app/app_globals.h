// The program's process-wide objects shared across the window code.
#pragma once

#include "document/metafile_document.h"

// The one loaded metafile, empty until a file is opened.
extern MetafileDocument g_document;
