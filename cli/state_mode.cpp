// orvella-dump state: the state text of one record, or the same lines as JSON sections.
#include "cli/state_mode.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "calls/call_text.h"
#include "cli/json_text.h"
#include "state/state_text.h"
#include "state/state_tracker.h"
#include "state/state_walk.h"

namespace {

// An item's text without its indent and without the record that set it.
std::u16string_view ItemText(const StateLine& line) {
    std::u16string_view text = line.text;
    text.remove_prefix(std::min(text.find_first_not_of(u' '), text.size()));
    for (const std::u16string_view end :
         {std::u16string_view(u"  (default)"), std::u16string_view(u"  (record ")}) {
        if (const size_t at = text.rfind(end); at != std::u16string_view::npos) {
            return text.substr(0, at);
        }
    }
    return text;
}

void WriteJson(int32_t index, const std::vector<StateLine>& lines,
               void (*write)(std::u16string_view)) {
    std::u16string out = u"{\"record\":";
    AppendJsonNumber(out, uint64_t(index));
    out += u",\"sections\":[";
    bool first_section = true, first_item = true;
    for (const StateLine& line : lines) {
        if (line.heading) {
            out += first_section ? u"{\"name\":" : u"]},{\"name\":";
            AppendJsonString(out, line.text);
            out += u",\"items\":[";
            first_section = false, first_item = true;
            continue;
        }
        out += first_item ? u"{\"text\":" : u",{\"text\":";
        AppendJsonString(out, ItemText(line));
        out += u",\"setBy\":";
        if (line.set_by == kDefaultState) {
            out += u"null";
        } else {
            AppendJsonNumber(out, uint64_t(line.set_by));
        }
        out += u"}";
        first_item = false;
    }
    out += first_section ? u"]}\n" : u"]}]}\n";
    write(out);
}

// One item of the state text: what it is (its section and label) and its value, without the
// record that set it. Object lines are keyed by their index, lines without a label by their
// whole text.
struct KeyedItem {
    std::u16string key;
    std::u16string value;
    // What the change lines name: the key, or only the section for a line without a label.
    std::u16string shown;
};

void KeyItems(const std::vector<StateLine>& lines, std::vector<KeyedItem>* items) {
    items->clear();
    std::u16string section;
    for (const StateLine& line : lines) {
        if (line.heading) {
            section = line.text;
            continue;
        }
        const std::u16string_view text = ItemText(line);
        size_t split = text.starts_with(u'#') ? text.find(u' ') : text.find(u": ");
        const size_t skip = text.starts_with(u'#') ? 1 : 2;
        if (split == std::u16string_view::npos) {
            items->push_back(
                KeyedItem{section + u"/" + std::u16string(text), std::u16string(text), section});
            continue;
        }
        std::u16string key = section + u"/" + std::u16string(text.substr(0, split));
        items->push_back(KeyedItem{key, std::u16string(text.substr(split + skip)), key});
    }
}

struct Change {
    std::u16string_view key;
    std::u16string_view old_value;
    std::u16string_view new_value;
};

// The items that differ between `before` and `after`, in the order of `after`, then those
// `after` no longer has.
void Differences(const std::vector<KeyedItem>& before, const std::vector<KeyedItem>& after,
                 std::vector<Change>* changes) {
    changes->clear();
    // Most records leave the items where they were: then they compare side by side.
    bool aligned = before.size() == after.size();
    for (size_t i = 0; aligned && i < after.size(); ++i) {
        aligned = before[i].key == after[i].key;
    }
    if (aligned) {
        for (size_t i = 0; i < after.size(); ++i) {
            if (before[i].value != after[i].value) {
                changes->push_back(Change{after[i].shown, before[i].value, after[i].value});
            }
        }
        return;
    }
    std::unordered_map<std::u16string_view, std::u16string_view> old;
    for (const KeyedItem& item : before) {
        old.emplace(item.key, item.value);
    }
    std::unordered_map<std::u16string_view, bool> kept;
    for (const KeyedItem& item : after) {
        kept.emplace(item.key, true);
        const auto found = old.find(item.key);
        if (found == old.end()) {
            changes->push_back(Change{item.shown, u"(none)", item.value});
        } else if (found->second != item.value) {
            changes->push_back(Change{item.shown, found->second, item.value});
        }
    }
    for (const KeyedItem& item : before) {
        if (kept.find(item.key) == kept.end()) {
            changes->push_back(Change{item.shown, item.value, u"(none)"});
        }
    }
}

void AppendDecimal(std::u16string& out, int32_t value) {
    AppendJsonNumber(out, uint64_t(value));
}

void WriteChanges(int32_t index, uint32_t type, const std::vector<Change>& changes, bool json,
                  std::u16string& out) {
    const char16_t* name = LookupRecordName(type);
    name = name != nullptr ? name : u"(unknown)";
    out.clear();
    if (json) {
        out += u"{\"record\":";
        AppendDecimal(out, index);
        out += u",\"name\":";
        AppendJsonString(out, name);
        out += u",\"changes\":[";
        for (const Change& c : changes) {
            out += &c == changes.data() ? u"{\"item\":" : u",{\"item\":";
            AppendJsonString(out, c.key);
            out += u",\"old\":";
            AppendJsonString(out, c.old_value);
            out += u",\"new\":";
            AppendJsonString(out, c.new_value);
            out += u"}";
        }
        out += u"]}\n";
        return;
    }
    AppendDecimal(out, index);
    out += u"\t";
    out += name;
    for (const Change& c : changes) {
        out += &c == changes.data() ? u"\t" : u"; ";
        out += c.key;
        out += u": ";
        out += c.old_value;
        out += u" -> ";
        out += c.new_value;
    }
    out += u"\r\n";
}

}  // namespace

int RunStateChangesMode(const MetafileDocument& document, bool json,
                        void (*write)(std::u16string_view text)) {
    try {
        StateTracker tracker;
        tracker.Reset(document, nullptr);
        std::vector<StateLine> lines;
        std::vector<KeyedItem> before, after;
        std::vector<Change> changes;
        std::u16string out;
        if (!StateText(GraphicsState{}, kDefaultState, &lines)) {
            return -1;
        }
        KeyItems(lines, &before);
        for (int32_t index = 0; index < document.Store().count(); ++index) {
            const uint32_t type = RecordType(document.RecordAt(index));
            const GraphicsState* state = tracker.StateAt(index);
            if (state == nullptr) {
                return -1;
            }
            changes.clear();
            if (MayChangeState(type)) {
                // The end of a path left open belongs to the file, not to any one record.
                if (!StateText(*state, kDefaultState, &lines)) {
                    return -1;
                }
                KeyItems(lines, &after);
                Differences(before, after, &changes);
                before.swap(after);
            }
            WriteChanges(index, type, changes, json, out);
            write(out);
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return 0;
}

int RunStateMode(const MetafileDocument& document, int32_t index, bool json,
                 void (*write)(std::u16string_view text)) {
    StateTracker tracker;
    tracker.Reset(document, nullptr);
    const GraphicsState* state = tracker.StateAt(index);
    std::vector<StateLine> lines;
    if (state == nullptr || !StateText(*state, tracker.PathOpenAtEnd(), &lines)) {
        return -1;
    }
    if (json) {
        WriteJson(index, lines, write);
        return 0;
    }
    for (const StateLine& line : lines) {
        write(line.text);
        write(u"\r\n");
    }
    return 0;
}
