// The record-type table: record name, call name and formatter of every type of the list.
#include "document/record_types.h"
#include "calls/formatters.h"

namespace {

struct RecordTypeRow {
    const char16_t* record_name;
    const char16_t* call_name;
    CallFormatter formatter;
};

// Row n - 1 is type n.
constexpr RecordTypeRow kRecordTypes[] = {
#define EMR_TYPE(number, id, record_name, call_name, structure, family, formatter, check) \
    {record_name, call_name, formatter},
#include "document/record_types.def"
#undef EMR_TYPE
};

const RecordTypeRow* FindRow(uint32_t type) {
    if (type == 0 || type > kEmrLastType) {
        return nullptr;
    }
    return &kRecordTypes[type - 1];
}

}  // namespace

const char16_t* LookupCallName(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->call_name : nullptr;
}

const char16_t* LookupRecordName(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->record_name : nullptr;
}

CallFormatter LookupFormatter(uint32_t type) {
    const RecordTypeRow* row = FindRow(type);
    return row != nullptr ? row->formatter : nullptr;
}
