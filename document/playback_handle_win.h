// The platform's own handle of a metafile for playback, made from the stored records.
#pragma once

#include "document/record_store.h"

// An HENHMETAFILE holding the guarded playback copy of the stored records (see
// BuildPlaybackCopy); nullptr when there is no copy or the platform refuses it.
void* CreatePlaybackHandle(const RecordStore& store);
void DeletePlaybackHandle(void* handle);
