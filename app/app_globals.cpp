// The program's process-wide objects shared across the window code.
#include "app/app_globals.h"

MetafileDocument g_document;
