// The comparison of two metafiles. Each record is reduced to one 64-bit key: its type and the
// bytes of the fields that are compared, an object it uses standing for the object itself (the
// key of the record that made it, for as long as it lives) rather than its table index. The
// keys of the two files are aligned by a shortest edit script; the changed runs, with their
// context, make the hunks, and in each run a removed and an added record of one type are paired
// and their fields compared one by one. Comment records that carry EMF+ records are compared
// through those records: the EMF+ records of both files are aligned the same way, on their
// decoded lines.
#include "reports/metafile_diff.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <unordered_map>

#include "calls/call_text.h"
#include "document/record_fields.h"
#include "document/record_types.h"
#include "emfplus/emfplus_walk.h"
#include "reports/emfplus_report.h"
#include "reports/sequence_alignment.h"
#include "text/utf16.h"

namespace {

constexpr uint64_t kHashStart = 1469598103934665603ull;
constexpr uint64_t kHashPrime = 1099511628211ull;

void Mix(uint64_t& hash, const uint8_t* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        hash = (hash ^ bytes[i]) * kHashPrime;
    }
}

void MixValue(uint64_t& hash, uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        hash = (hash ^ (value & 0xFF)) * kHashPrime;
        value >>= 8;
    }
}

bool Shown(FieldClass field_class, unsigned shown) {
    switch (field_class) {
        case FieldClass::kDrawing:
            return true;
        case FieldClass::kHeader:
            return (shown & kShowHeader) != 0;
        case FieldClass::kBounds:
            return (shown & kShowBounds) != 0;
        case FieldClass::kScale:
            return (shown & kShowScale) != 0;
        case FieldClass::kLayout:
            return (shown & kShowTrailing) != 0;
        case FieldClass::kNumbering:
            return (shown & kShowNumbering) != 0;
    }
    return true;
}

bool CarriesEmfPlus(RecordView record) {
    return ClassifyComment(record) == CommentKind::kEmfPlus;
}

uint32_t FieldU32(RecordView record, const RecordField& field) {
    RecordReader reader(record);
    return field.count > 0 ? reader.U32(field.offset) : 0;
}

bool DeletesObject(uint32_t type) {
    return type == kEmrDeleteObject || type == kEmrDeleteColorSpace;
}

// One file's records as keys, with the object each record uses.
struct RecordKeys {
    std::vector<uint64_t> keys;
    // The key of the object the record uses (of the record that made it), 0 for none, and
    // the record that made it, -1 for none.
    std::vector<uint64_t> objects;
    std::vector<int32_t> makers;
};

// The object an index stands for at this point of the file: a stock object by its index, a
// made object by its making record's key, an index nothing made by itself.
struct MadeObject {
    uint64_t key;
    int32_t maker;
};
using ObjectTable = std::unordered_map<uint32_t, MadeObject>;

uint64_t ObjectIdentity(const ObjectTable& table, uint32_t index, int32_t* maker) {
    *maker = -1;
    if ((index & 0x80000000u) == 0) {
        if (const auto found = table.find(index); found != table.end()) {
            *maker = found->second.maker;
            return found->second.key;
        }
    }
    uint64_t hash = kHashStart;
    MixValue(hash, (index & 0x80000000u) != 0 ? 1 : 2);
    MixValue(hash, index);
    return hash;
}

void KeyRecords(const RecordStore& store, unsigned shown, RecordKeys* out) {
    const size_t count = static_cast<size_t>(store.count());
    out->keys.resize(count);
    out->objects.assign(count, 0);
    out->makers.assign(count, -1);
    std::vector<RecordField> fields;
    ObjectTable table;
    for (int32_t i = 0; i < store.count(); ++i) {
        const RecordView record = store.RecordAt(i);
        const uint32_t type = RecordType(record);
        uint64_t hash = kHashStart;
        MixValue(hash, type);
        if (CarriesEmfPlus(record)) {
            out->keys[size_t(i)] = hash;
            continue;
        }
        const uint32_t end = ReadRecordFields(record, fields);
        int64_t made = -1;
        int64_t used = -1;
        for (const RecordField& field : fields) {
            if (field.kind == FieldKind::kHandle) {
                used = FieldU32(record, field);
                out->objects[size_t(i)] =
                    ObjectIdentity(table, uint32_t(used), &out->makers[size_t(i)]);
                if (!Shown(field.field_class, shown)) {
                    MixValue(hash, out->objects[size_t(i)]);
                    continue;
                }
            }
            if (field.kind == FieldKind::kObject) {
                made = field.count > 0 ? int64_t(FieldU32(record, field)) : -1;
            }
            if (!Shown(field.field_class, shown)) {
                continue;
            }
            MixValue(hash, uint64_t(field.count) << 32 | field.declared);
            Mix(hash, record.data + field.offset,
                size_t(field.count) * FieldElementBytes(field.kind));
        }
        const uint32_t size = RecordReader(record).size();
        if ((shown & kShowTrailing) != 0 && end < size) {
            MixValue(hash, size - end);
            Mix(hash, record.data + end, size - end);
        }
        out->keys[size_t(i)] = hash;
        if (made >= 0) {
            table[uint32_t(made)] = MadeObject{hash, i};
        }
        if (used >= 0 && DeletesObject(type)) {
            table.erase(uint32_t(used));
        }
    }
}

// One file's EMF+ records (and the notes on comments whose walk broke) as keys on their
// decoded lines.
struct EmfPlusKeys {
    std::vector<uint64_t> keys;
    std::vector<int64_t> lines;  // the line of the EMF+ report
    std::vector<int32_t> records;
    std::vector<int32_t> places;
};

void KeyEmfPlus(const EmfPlusIndex& index, EmfPlusKeys* out) {
    FixedWideText<64> name;
    FixedWideText<kReportLineUnits> fields;
    EmfPlusLineInfo info;
    for (size_t host = 0; host < index.hosts().size(); ++host) {
        const EmfPlusHost& place = index.hosts()[host];
        if (!CarriesEmfPlus(index.store().RecordAt(place.record))) {
            continue;
        }
        EmfPlusCursor cursor(index, host);
        int64_t line = place.first_line;
        while (cursor.Next(&info, &name, &fields)) {
            uint64_t hash = kHashStart;
            MixValue(hash, uint64_t(uint32_t(info.type)) << 32 | uint32_t(info.flags));
            const std::u16string_view text = fields.view();
            Mix(hash, reinterpret_cast<const uint8_t*>(text.data()), text.size() * 2);
            out->keys.push_back(hash);
            out->lines.push_back(line++);
            out->records.push_back(info.record);
            out->places.push_back(info.place);
        }
    }
}

// One element's value as the field lines show it.
std::u16string ElementText(RecordReader& reader, FieldKind kind, uint32_t at) {
    char text[40];
    switch (kind) {
        case FieldKind::kInt:
            std::snprintf(text, sizeof text, "%d", reader.I32(at));
            break;
        case FieldKind::kHex:
        case FieldKind::kColor:
            std::snprintf(text, sizeof text, "0x%08X", reader.U32(at));
            break;
        case FieldKind::kFloat:
            std::snprintf(text, sizeof text, "%.9g", static_cast<double>(reader.F32(at)));
            break;
        case FieldKind::kWord:
            std::snprintf(text, sizeof text, "%u", reader.U16(at));
            break;
        case FieldKind::kShort:
            std::snprintf(text, sizeof text, "%d", reader.I16(at));
            break;
        case FieldKind::kByte:
            std::snprintf(text, sizeof text, "%u", reader.U8(at));
            break;
        default:
            std::snprintf(text, sizeof text, "%u", reader.U32(at));
            break;
    }
    return FromUtf8(text);
}

// The parts of a composite kind: their kind and offset within the element.
FieldKind PartKind(FieldKind kind) {
    switch (kind) {
        case FieldKind::kXform:
            return FieldKind::kFloat;
        case FieldKind::kPoint16:
            return FieldKind::kShort;
        default:
            return FieldKind::kInt;
    }
}

std::u16string QuotedText(const uint8_t* bytes, uint32_t units) {
    std::u16string text = u"\"";
    for (uint32_t i = 0; i < units; ++i) {
        const char16_t unit = char16_t(LoadLe16(bytes + 2 * i));
        if (unit < 0x20 || unit == 0x7F || unit == u'"' || unit == u'\\') {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(unit));
            text += FromUtf8(escape);
        } else {
            text += unit;
        }
    }
    return text + u"\"";
}

// Gathers the differing fields of a pair of records of one type.
class FieldComparison {
  public:
    FieldComparison(RecordView first, RecordView second, DiffLine* line)
        : first_(first), second_(second), line_(line) {}

    void Add(std::u16string name, std::u16string first, std::u16string second) {
        if (line_->fields.size() < kListedFields) {
            line_->fields.push_back({std::move(name), std::move(first), std::move(second)});
        } else {
            ++line_->more_fields;
        }
    }

    void Blocks(const std::u16string& name, const RecordField& a, const RecordField& b, bool text) {
        const uint32_t width = FieldElementBytes(a.kind);
        const uint8_t* x = first_.data + a.offset;
        const uint8_t* y = second_.data + b.offset;
        if (a.count == b.count && std::equal(x, x + size_t(a.count) * width, y)) {
            return;
        }
        if (text) {
            Add(name, QuotedText(x, a.count), QuotedText(y, b.count));
            return;
        }
        char words[120];
        if (a.count != b.count) {
            std::snprintf(words, sizeof words, "%u bytes", a.count);
            std::u16string before = FromUtf8(words);
            std::snprintf(words, sizeof words, "%u bytes", b.count);
            Add(name, before, FromUtf8(words));
            return;
        }
        uint32_t differing = 0, at = 0;
        for (uint32_t i = a.count; i-- > 0;) {
            if (x[i] != y[i]) {
                ++differing;
                at = i;
            }
        }
        std::snprintf(words, sizeof words, "%u of %u bytes differ, the first at byte %u: 0x%02X",
                      differing, a.count, at, x[at]);
        std::u16string before = FromUtf8(words);
        std::snprintf(words, sizeof words, "0x%02X", y[at]);
        Add(name, before, FromUtf8(words));
    }

    void Elements(const std::u16string& name, const RecordField& a, const RecordField& b) {
        RecordReader first(first_), second(second_);
        const uint32_t width = FieldElementBytes(a.kind);
        const std::vector<std::string_view> parts = FieldPartNames(a.kind);
        const uint32_t part_count = parts.empty() ? 1 : uint32_t(parts.size());
        const uint32_t part_width = a.kind == FieldKind::kPoint16 ? 2 : 4;
        const FieldKind part_kind = parts.empty() ? a.kind : PartKind(a.kind);
        const uint32_t count = std::max(a.count, b.count);
        for (uint32_t e = 0; e < count; ++e) {
            if (line_->more_fields > 100000) {
                return;  // enough counted for a record that differs throughout
            }
            for (uint32_t p = 0; p < part_count; ++p) {
                const uint32_t within = e * width + p * part_width;
                const std::u16string x =
                    e < a.count ? ElementText(first, part_kind, a.offset + within) : u"(none)";
                const std::u16string y =
                    e < b.count ? ElementText(second, part_kind, b.offset + within) : u"(none)";
                if (x == y) {
                    continue;
                }
                std::u16string full = name;
                if (a.array) {
                    char index[16];
                    std::snprintf(index, sizeof index, "[%u]", e);
                    full += FromUtf8(index);
                }
                if (!parts.empty()) {
                    full += u'.';
                    full.append(parts[p].begin(), parts[p].end());
                }
                Add(full, x, y);
            }
        }
    }

  private:
    RecordView first_, second_;
    DiffLine* line_;
};

// The object a record uses, as the field lines name it: its index and the record that made it.
std::u16string ObjectText(uint32_t index, int32_t maker) {
    char text[64];
    if (maker >= 0) {
        std::snprintf(text, sizeof text, "%u (made by record %d)", index, maker);
    } else {
        std::snprintf(text, sizeof text, (index & 0x80000000u) ? "0x%08X" : "%u", index);
    }
    return FromUtf8(text);
}

void CompareFields(RecordView first, RecordView second, const RecordKeys& x, const RecordKeys& y,
                   size_t a_index, size_t b_index, unsigned shown, DiffLine* line) {
    std::vector<RecordField> a, b;
    const uint32_t a_end = ReadRecordFields(first, a);
    const uint32_t b_end = ReadRecordFields(second, b);
    FieldComparison comparison(first, second, line);
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::u16string name(a[i].name.begin(), a[i].name.end());
        // An object renumbered is the same object; another object shows by its index and
        // the record that made it.
        if (a[i].kind == FieldKind::kHandle && !Shown(a[i].field_class, shown)) {
            if (x.objects[a_index] != y.objects[b_index]) {
                comparison.Add(name, ObjectText(FieldU32(first, a[i]), x.makers[a_index]),
                               ObjectText(FieldU32(second, b[i]), y.makers[b_index]));
            }
            continue;
        }
        if (!Shown(a[i].field_class, shown)) {
            continue;
        }
        if (a[i].kind == FieldKind::kByte || a[i].kind == FieldKind::kText) {
            comparison.Blocks(name, a[i], b[i], a[i].kind == FieldKind::kText);
        } else {
            comparison.Elements(name, a[i], b[i]);
        }
    }
    if ((shown & kShowTrailing) != 0) {
        const uint32_t a_size = RecordReader(first).size(), b_size = RecordReader(second).size();
        const uint32_t a_after = a_size > a_end ? a_size - a_end : 0;
        const uint32_t b_after = b_size > b_end ? b_size - b_end : 0;
        const RecordField x{"",   FieldKind::kByte, FieldClass::kLayout, a_end, a_after, a_after,
                            false};
        const RecordField y{"",   FieldKind::kByte, FieldClass::kLayout, b_end, b_after, b_after,
                            false};
        comparison.Blocks(u"(bytes after the fields)", x, y, false);
    }
}

// The text of one record's line: its call text's first line.
std::u16string CallLine(RecordView record) {
    FixedWideText<kCallTextUnits> call;
    BuildCallText(record, call);
    std::u16string_view text = call.view();
    return std::u16string(text.substr(0, std::min(text.find_first_of(u"\r\n"), text.size())));
}

// The two sequences a hunk is made from, and how to show an element of each.
struct Sides {
    const MetafileDocument* documents[2];
    const RecordKeys* records[2] = {nullptr, nullptr};
    const EmfPlusKeys* emfplus[2] = {nullptr, nullptr};
    const EmfPlusIndex* indexes[2] = {nullptr, nullptr};
    unsigned shown = 0;

    bool is_emfplus() const { return emfplus[0] != nullptr; }
    int32_t Size(int side) const {
        return int32_t(is_emfplus() ? emfplus[side]->keys.size() : records[side]->keys.size());
    }
    // Where element `at` of a side stands: its record and EMF+ place.
    void Place(int side, int32_t at, int32_t* record, int32_t* place) const {
        *place = -1;
        if (!is_emfplus()) {
            *record = at;
            return;
        }
        const EmfPlusKeys& keys = *emfplus[side];
        if (keys.keys.empty()) {
            *record = 0;
            return;
        }
        const size_t index = std::min(size_t(at), keys.keys.size() - 1);
        *record = keys.records[index];
        *place = keys.places[index];
    }
    std::u16string Text(int side, int32_t at) const {
        if (!is_emfplus()) {
            return CallLine(documents[side]->Store().RecordAt(at));
        }
        FixedWideText<kReportLineUnits> line;
        indexes[side]->WriteLine(emfplus[side]->lines[size_t(at)], line);
        std::u16string_view text = line.view();
        // The line begins with its place, which the hunk line shows itself.
        const size_t tab = text.find(u'\t');
        return std::u16string(tab == std::u16string_view::npos ? text : text.substr(tab + 1));
    }
    uint32_t Type(int side, int32_t at) const {
        return RecordType(documents[side]->Store().RecordAt(at));
    }
};

DiffLine MakeLine(const Sides& sides, char op, int32_t first, int32_t second) {
    DiffLine line;
    line.op = op;
    int32_t place = -1;
    if (first >= 0) {
        sides.Place(0, first, &line.first, &place);
        line.first_place = place;
    }
    if (second >= 0) {
        sides.Place(1, second, &line.second, &place);
        line.second_place = place;
    }
    line.text = sides.Text(op == '+' ? 1 : 0, op == '+' ? second : first);
    return line;
}

// A changed block: `removed` elements of the first from `first`, `added` of the second from
// `second`. Records of one type are paired in order and their fields compared.
void AddBlock(const Sides& sides, int32_t first, int32_t removed, int32_t second, int32_t added,
              DiffHunk* hunk) {
    int32_t a = first, b = second;
    const int32_t a_end = first + removed, b_end = second + added;
    // How far ahead a partner is looked for, so that a long block stays linear.
    constexpr int32_t kLookAhead = 64;
    while (a < a_end || b < b_end) {
        int32_t partner = -1;
        if (!sides.is_emfplus() && a < a_end) {
            const uint32_t type = sides.Type(0, a);
            for (int32_t j = b; j < b_end && j < b + kLookAhead; ++j) {
                if (sides.Type(1, j) == type) {
                    partner = j;
                    break;
                }
            }
        }
        if (partner < 0) {
            if (a < a_end) {
                hunk->lines.push_back(MakeLine(sides, '-', a++, -1));
            } else {
                hunk->lines.push_back(MakeLine(sides, '+', -1, b++));
            }
            continue;
        }
        while (b < partner) {
            hunk->lines.push_back(MakeLine(sides, '+', -1, b++));
        }
        hunk->lines.push_back(MakeLine(sides, '-', a, -1));
        DiffLine line = MakeLine(sides, '+', -1, b);
        const RecordStore& x = sides.documents[0]->Store();
        const RecordStore& y = sides.documents[1]->Store();
        CompareFields(x.RecordAt(a), y.RecordAt(b), *sides.records[0], *sides.records[1], size_t(a),
                      size_t(b), sides.shown, &line);
        hunk->lines.push_back(std::move(line));
        ++a, ++b;
    }
}

void MakeHunks(const Sides& sides, const std::vector<AlignedRun>& runs, int32_t context,
               std::vector<DiffHunk>* hunks) {
    const size_t count = runs.size();
    for (size_t i = 0; i < count;) {
        if (runs[i].kind == AlignedKind::kSame) {
            ++i;
            continue;
        }
        // The hunk runs from change run i to change run j, taking in the same runs between
        // that are short enough for the context of both sides to meet.
        size_t j = i;
        while (j + 1 < count) {
            if (runs[j + 1].kind != AlignedKind::kSame) {
                ++j;
            } else if (j + 2 < count && runs[j + 1].length <= 2 * context) {
                j += 2;
            } else {
                break;
            }
        }
        DiffHunk hunk;
        hunk.emfplus = sides.is_emfplus();
        const int32_t before = i > 0 ? std::min(context, runs[i - 1].length) : 0;
        const int32_t after = j + 1 < count ? std::min(context, runs[j + 1].length) : 0;
        const int32_t first_start = runs[i].first - before;
        const int32_t second_start = runs[i].second - before;
        for (int32_t k = 0; k < before; ++k) {
            hunk.lines.push_back(MakeLine(sides, ' ', first_start + k, second_start + k));
        }
        for (size_t r = i; r <= j; ++r) {
            const AlignedRun& run = runs[r];
            if (run.kind == AlignedKind::kSame) {
                for (int32_t k = 0; k < run.length; ++k) {
                    hunk.lines.push_back(MakeLine(sides, ' ', run.first + k, run.second + k));
                }
            } else if (run.kind == AlignedKind::kRemoved && r + 1 <= j &&
                       runs[r + 1].kind == AlignedKind::kAdded) {
                AddBlock(sides, run.first, run.length, runs[r + 1].second, runs[r + 1].length,
                         &hunk);
                ++r;
            } else if (run.kind == AlignedKind::kRemoved) {
                AddBlock(sides, run.first, run.length, run.second, 0, &hunk);
            } else {
                AddBlock(sides, run.first, 0, run.second, run.length, &hunk);
            }
        }
        const AlignedRun& last = runs[j];
        const int32_t first_end = last.first + (last.kind == AlignedKind::kAdded ? 0 : last.length);
        const int32_t second_end =
            last.second + (last.kind == AlignedKind::kRemoved ? 0 : last.length);
        for (int32_t k = 0; k < after; ++k) {
            hunk.lines.push_back(MakeLine(sides, ' ', first_end + k, second_end + k));
        }
        hunk.first_count = first_end + after - first_start;
        hunk.second_count = second_end + after - second_start;
        sides.Place(0, first_start, &hunk.first_start, &hunk.first_place);
        sides.Place(1, second_start, &hunk.second_start, &hunk.second_place);
        hunks->push_back(std::move(hunk));
        i = j + 1;
    }
}

bool CompareAll(const MetafileDocument& first, const MetafileDocument& second,
                const DiffOptions& options, std::vector<DiffHunk>* hunks) {
    const int32_t context = std::max<int32_t>(0, options.context);
    RecordKeys records[2];
    KeyRecords(first.Store(), options.shown, &records[0]);
    KeyRecords(second.Store(), options.shown, &records[1]);
    bool ok = true;
    const std::vector<AlignedRun> runs = AlignSequences(records[0].keys, records[1].keys, &ok);
    if (!ok) {
        return false;
    }
    SetVerboseFlag(0);
    Sides sides{{&first, &second}};
    sides.records[0] = &records[0];
    sides.records[1] = &records[1];
    sides.shown = options.shown;
    MakeHunks(sides, runs, context, hunks);

    const EmfPlusIndex first_index(first.Store()), second_index(second.Store());
    EmfPlusKeys emfplus[2];
    KeyEmfPlus(first_index, &emfplus[0]);
    KeyEmfPlus(second_index, &emfplus[1]);
    const std::vector<AlignedRun> plus_runs = AlignSequences(emfplus[0].keys, emfplus[1].keys, &ok);
    if (!ok) {
        return false;
    }
    sides.emfplus[0] = &emfplus[0];
    sides.emfplus[1] = &emfplus[1];
    sides.indexes[0] = &first_index;
    sides.indexes[1] = &second_index;
    MakeHunks(sides, plus_runs, context, hunks);
    return true;
}

}  // namespace

bool CompareMetafiles(const MetafileDocument& first, const MetafileDocument& second,
                      const DiffOptions& options, std::vector<DiffHunk>* hunks) {
    hunks->clear();
    try {
        return CompareAll(first, second, options, hunks);
    } catch (const std::bad_alloc&) {
        hunks->clear();
        return false;
    }
}
