// The arithmetic of transforms, the shared blocks of the object table and the kept events.
#include "state/graphics_state.h"

#include <new>

Transform Multiply(const Transform& a, const Transform& b) {
    Transform t;
    t.m11 = a.m11 * b.m11 + a.m12 * b.m21;
    t.m12 = a.m11 * b.m12 + a.m12 * b.m22;
    t.m21 = a.m21 * b.m11 + a.m22 * b.m21;
    t.m22 = a.m21 * b.m12 + a.m22 * b.m22;
    t.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
    t.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
    return t;
}

double Determinant(const Transform& t) {
    return t.m11 * t.m22 - t.m12 * t.m21;
}

const ObjectEntry& ObjectTable::At(uint32_t index) const {
    static const ObjectEntry kEmpty;
    const size_t block = index / kBlock;
    if (block >= blocks_.size() || blocks_[block] == nullptr) {
        return kEmpty;
    }
    return (*blocks_[block])[index % kBlock];
}

bool ObjectTable::Put(uint32_t index, const ObjectEntry& entry) {
    const size_t block = index / kBlock;
    try {
        if (block >= blocks_.size()) {
            blocks_.resize(block + 1);
        }
        // A block another copy of the state shares is copied before it changes.
        auto copy = blocks_[block] == nullptr ? std::make_shared<Block>()
                                              : std::make_shared<Block>(*blocks_[block]);
        (*copy)[index % kBlock] = entry;
        blocks_[block] = std::move(copy);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void GraphicsState::Note(EventKind kind, int32_t at, int32_t value) {
    events[event_count % kEventsKept] = StateEvent{kind, at, value};
    ++event_count;
}

Transform LogicalToDevice(const DcState& dc) {
    const MappingState& m = dc.mapping;
    Transform page;
    const double wx = m.window_ext.value.cx, wy = m.window_ext.value.cy;
    page.m11 = wx != 0 ? m.viewport_ext.value.cx / wx : 0;
    page.m22 = wy != 0 ? m.viewport_ext.value.cy / wy : 0;
    page.dx = m.viewport_org.value.x - m.window_org.value.x * page.m11;
    page.dy = m.viewport_org.value.y - m.window_org.value.y * page.m22;
    return Multiply(m.world.value, page);
}

Transform LogicalToMillimeters(const GraphicsState& state) {
    Transform to_mm;
    to_mm.m11 = state.device.cx != 0 ? double(state.millimeters.cx) / state.device.cx : 0;
    to_mm.m22 = state.device.cy != 0 ? double(state.millimeters.cy) / state.device.cy : 0;
    return Multiply(LogicalToDevice(state.dc), to_mm);
}
