// orvella-dump state: the state text of one record, or the same lines as JSON sections.
#include "cli/state_mode.h"

#include <vector>

#include "cli/json_text.h"
#include "state/state_text.h"
#include "state/state_tracker.h"

namespace {

// Strips the two spaces that indent an item.
std::u16string_view ItemText(const StateLine& line) {
    std::u16string_view text = line.text;
    return text.substr(text.size() >= 2 ? 2 : 0);
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

}  // namespace

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
