// The EMF+ object table's shared slots and the kept events.
#include "state/emfplus_state.h"

#include <new>

const PlusObject& EmfPlusState::Object(uint32_t id) const {
    static const PlusObject kNone;
    return objects == nullptr || id >= kPlusObjectSlots ? kNone : (*objects)[id];
}

bool EmfPlusState::Define(uint32_t id, const PlusObject& object) {
    try {
        // The table another copy of the state shares is copied before it changes.
        auto copy = objects == nullptr ? std::make_shared<PlusObjects>()
                                       : std::make_shared<PlusObjects>(*objects);
        (*copy)[id] = object;
        objects = std::move(copy);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void EmfPlusState::Note(const PlusEvent& event) {
    events[event_count % kEventsKept] = event;
    ++event_count;
}
