// Objects split over several EmfPlusObject records.
#include "emfplus/split_objects.h"

#include <new>

#include "emfplus/emfplus_names.h"

namespace {

// The object bytes a part holds after its head and total size field.
uint64_t PartBytes(RecordReader& reader, uint16_t flags) {
    const uint32_t head = ObjectDataOffset(flags);
    return reader.size() > head ? reader.size() - head : 0;
}

void Put32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace

uint32_t ObjectDataOffset(uint16_t flags) {
    return kEmfPlusRecordHeaderBytes + ((flags & kObjectContinues) != 0 ? 4 : 0);
}

ObjectPartPlace SplitObjectTracker::Advance(const EmfPlusRecordRef& record) {
    const bool continues = (record.flags & kObjectContinues) != 0;
    const uint16_t key = record.flags & 0x7FFF;
    RecordReader reader(record.view);
    const uint64_t bytes = PartBytes(reader, record.flags);
    const bool has_total = reader.Has(kEmfPlusRecordHeaderBytes, 4);
    const uint32_t total = has_total ? reader.U32(kEmfPlusRecordHeaderBytes) : 0;
    ObjectPartPlace place;
    if (active_ && key_ == key) {
        place.part = ++part_;
        bytes_ += bytes;
        place.consistent = (!continues || (has_total && total == total_)) && bytes_ <= total_;
    } else if (continues) {
        active_ = true;
        key_ = key;
        total_ = total;
        bytes_ = bytes;
        part_ = 1;
        slot_ = next_slot_++;
        place.part = 1;
        place.consistent = has_total && bytes_ <= total_;
    } else {
        return place;
    }
    place.slot = slot_;
    if (!continues || bytes_ >= total_) {
        active_ = false;
    }
    return place;
}

ObjectPartPlace SplitObjects::Add(const EmfPlusRecordRef& record) {
    const ObjectPartPlace place = tracker_.Advance(record);
    if (place.part == 0) {
        return place;
    }
    if (place.part == 1) {
        SplitObject object;
        object.key = record.flags & 0x7FFF;
        RecordReader reader(record.view);
        object.total = reader.U32(kEmfPlusRecordHeaderBytes);
        object.first_part = static_cast<uint32_t>(parts_.size());
        objects_.push_back(object);
    }
    SplitObject& object = objects_[place.slot];
    RecordReader reader(record.view);
    ++object.parts;
    object.bytes += PartBytes(reader, record.flags);
    object.consistent = object.consistent && place.consistent;
    parts_.push_back(record.view);
    return place;
}

RecordView SplitObjects::Part(uint32_t slot, uint32_t part) const {
    const SplitObject* object = Find(slot);
    if (object == nullptr || part >= object->parts) {
        return RecordView{};
    }
    return parts_[object->first_part + part];
}

bool SplitObjects::Reassemble(uint32_t slot, std::vector<uint8_t>& out) const {
    out.clear();
    const SplitObject* object = Find(slot);
    if (object == nullptr) {
        return false;
    }
    const uint64_t length = object->bytes < object->total ? object->bytes : object->total;
    if (length > UINT32_MAX - kEmfPlusRecordHeaderBytes) {
        return false;
    }
    const uint32_t size = kEmfPlusRecordHeaderBytes + static_cast<uint32_t>(length);
    try {
        out.reserve(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    out.resize(kEmfPlusRecordHeaderBytes);
    out[0] = static_cast<uint8_t>(kEmfPlusObject);
    out[1] = static_cast<uint8_t>(kEmfPlusObject >> 8);
    out[2] = static_cast<uint8_t>(object->key);
    out[3] = static_cast<uint8_t>(object->key >> 8);
    Put32(out.data() + 4, size);
    Put32(out.data() + 8, size - kEmfPlusRecordHeaderBytes);
    for (uint32_t k = 0; k < object->parts && out.size() < size; ++k) {
        const RecordView part = parts_[object->first_part + k];
        RecordReader reader(part);
        const uint16_t flags = reader.U16(2);
        const uint32_t from = ObjectDataOffset(flags);
        if (reader.size() <= from) {
            continue;
        }
        const uint32_t room = size - static_cast<uint32_t>(out.size());
        const uint32_t take = reader.size() - from < room ? reader.size() - from : room;
        out.insert(out.end(), reader.data() + from, reader.data() + from + take);
    }
    return true;
}
