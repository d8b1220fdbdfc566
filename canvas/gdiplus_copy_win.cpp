#include "canvas/gdiplus_copy_win.h"

#include <windows.h>
// GDI+'s flat API needs the COM types the lean Windows header leaves out.
#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "canvas/gdiplus_player_win.h"
#include "document/playback_copy.h"
#include "emfplus/emfplus_walk.h"

namespace gp = Gdiplus::DllExports;

namespace {

// How far ahead of the last step matched the enumeration's next record is looked for.
constexpr size_t kMatchWindow = 4096;

std::shared_ptr<const GdiPlusCopy> g_kept;

// The steps of `bytes`, a whole metafile: each record, or each EMF+ record of a comment that
// carries them.
std::vector<GdiPlusStep> StepsOf(const std::vector<uint8_t>& bytes) {
    std::vector<GdiPlusStep> steps;
    size_t offset = 0;
    for (int32_t record = 0; offset + 8 <= bytes.size(); ++record) {
        uint32_t type = 0, size = 0;
        std::memcpy(&type, &bytes[offset], 4);
        std::memcpy(&size, &bytes[offset + 4], 4);
        if (size < 8 || size > bytes.size() - offset) {
            break;
        }
        const RecordView view{bytes.data() + offset, size};
        if (ClassifyComment(view) == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(view);
            EmfPlusRecordRef plus;
            for (int32_t place = 0; walker.Next(&plus); ++place) {
                steps.push_back(GdiPlusStep{record, place, plus.type});
            }
        } else {
            steps.push_back(GdiPlusStep{record, -1, type});
        }
        offset += size;
    }
    return steps;
}

std::shared_ptr<const GdiPlusCopy> MakeCopy(const MetafileDocument& document) {
    PlaybackCopy copy;
    if (!StartGdiPlus() || !document.IsLoaded() ||
        BuildPlaybackCopy(document.Store(), &copy) == 0) {
        return nullptr;
    }
    auto made = std::make_shared<GdiPlusCopy>();
    made->steps = StepsOf(copy.bytes);
    HENHMETAFILE handle =
        SetEnhMetaFileBits(static_cast<UINT>(copy.bytes.size()), copy.bytes.data());
    Gdiplus::GpMetafile* metafile = nullptr;
    if (handle == nullptr) {
        return nullptr;
    }
    if (gp::GdipCreateMetafileFromEmf(handle, TRUE, &metafile) != Gdiplus::Ok) {
        DeleteEnhMetaFile(handle);
        return nullptr;
    }
    made->metafile = metafile;
    made->document = &document;
    made->serial = document.Serial();
    return made;
}

}  // namespace

GdiPlusCopy::~GdiPlusCopy() {
    if (metafile != nullptr) {
        gp::GdipDisposeImage(static_cast<Gdiplus::GpMetafile*>(metafile));
    }
}

std::shared_ptr<const GdiPlusCopy> GdiPlusCopyOf(const MetafileDocument& document) {
    if (g_kept != nullptr && g_kept->document == &document && g_kept->serial == document.Serial()) {
        return g_kept;
    }
    g_kept.reset();
    try {
        g_kept = MakeCopy(document);
    } catch (const std::bad_alloc&) {
        g_kept.reset();
    }
    return g_kept;
}

std::shared_ptr<const GdiPlusCopy> MakeGdiPlusCopy(const MetafileDocument& document) {
    try {
        return MakeCopy(document);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void ForgetGdiPlusCopy() {
    g_kept.reset();
}

void GdiPlusStepMatcher::Match(uint32_t type) {
    const std::vector<GdiPlusStep>& steps = copy_.steps;
    const size_t end = std::min(steps.size(), next_ + kMatchWindow);
    for (size_t i = next_; i < end; ++i) {
        if (steps[i].type == type) {
            record_ = steps[i].record;
            place_ = steps[i].place;
            next_ = i + 1;
            return;
        }
    }
}
