// orvella-dump diff: the command line, and the hunks written as a unified diff or JSON lines.
#include "cli/diff_mode.h"

#include <cstdio>

#include "cli/json_text.h"
#include "cli/output.h"
#include "reports/metafile_diff.h"

namespace {

// The switches that show what the comparison leaves out by default.
constexpr struct {
    const char* text;
    unsigned shown;
} kSwitches[] = {
    {"--all", kShowAll},     {"--header", kShowHeader},     {"--bounds", kShowBounds},
    {"--scale", kShowScale}, {"--trailing", kShowTrailing}, {"--numbering", kShowNumbering},
};

std::u16string Number(int32_t value) {
    std::u16string text;
    AppendJsonNumber(text, static_cast<uint64_t>(value < 0 ? 0 : value));
    return text;
}

// "13", or "13.2" for an EMF+ record.
std::u16string Place(int32_t record, int32_t place) {
    return place < 0 ? Number(record) : Number(record) + u"." + Number(place);
}

void WriteText(const std::vector<DiffHunk>& hunks, const FileName& first, const FileName& second) {
    Write(Out(), u"--- " + first.shown + u"\n+++ " + second.shown + u"\n");
    std::u16string out;
    for (const DiffHunk& hunk : hunks) {
        out = u"@@ -" + Place(hunk.first_start, hunk.first_place) + u"," +
              Number(hunk.first_count) + u" +" + Place(hunk.second_start, hunk.second_place) +
              u"," + Number(hunk.second_count) + (hunk.emfplus ? u" @@ EMF+\n" : u" @@\n");
        for (const DiffLine& line : hunk.lines) {
            out += line.op;
            if (line.op == '+') {
                out += Place(line.second, line.second_place);
            } else {
                out += Place(line.first, line.first_place);
                if (line.op == ' ' &&
                    (line.first != line.second || line.first_place != line.second_place)) {
                    out += u"/" + Place(line.second, line.second_place);
                }
            }
            out += u"\t" + line.text + u"\n";
            for (const FieldDifference& field : line.fields) {
                out +=
                    u"  field " + field.name + u": " + field.first + u" -> " + field.second + u"\n";
            }
            if (line.more_fields > 0) {
                out += u"  and " + Number(int32_t(line.more_fields)) + u" more fields differ\n";
            }
        }
        Write(Out(), out);
    }
}

void AppendPosition(std::u16string& out, int32_t record, int32_t place) {
    out += u"{\"record\":" + Number(record);
    if (place >= 0) {
        out += u",\"place\":" + Number(place);
    }
}

void WriteJson(const std::vector<DiffHunk>& hunks) {
    std::u16string out;
    for (const DiffHunk& hunk : hunks) {
        out = hunk.emfplus ? u"{\"layer\":\"emfplus\",\"first\":"
                           : u"{\"layer\":\"records\",\"first\":";
        AppendPosition(out, hunk.first_start, hunk.first_place);
        out += u",\"count\":" + Number(hunk.first_count) + u"},\"second\":";
        AppendPosition(out, hunk.second_start, hunk.second_place);
        out += u",\"count\":" + Number(hunk.second_count) + u"},\"lines\":[";
        for (size_t i = 0; i < hunk.lines.size(); ++i) {
            const DiffLine& line = hunk.lines[i];
            out += i == 0 ? u"{\"op\":" : u",{\"op\":";
            out += line.op == ' ' ? u"\"same\"" : line.op == '-' ? u"\"removed\"" : u"\"added\"";
            if (line.op != '+') {
                out += u",\"first\":";
                AppendPosition(out, line.first, line.first_place);
                out += u"}";
            }
            if (line.op != '-') {
                out += u",\"second\":";
                AppendPosition(out, line.second, line.second_place);
                out += u"}";
            }
            out += u",\"text\":";
            AppendJsonString(out, line.text);
            if (line.op == '+' && (!line.fields.empty() || line.more_fields > 0)) {
                out += u",\"fields\":[";
                for (size_t f = 0; f < line.fields.size(); ++f) {
                    out += f == 0 ? u"{\"name\":" : u",{\"name\":";
                    AppendJsonString(out, line.fields[f].name);
                    out += u",\"first\":";
                    AppendJsonString(out, line.fields[f].first);
                    out += u",\"second\":";
                    AppendJsonString(out, line.fields[f].second);
                    out += u"}";
                }
                out += u"],\"moreFields\":" + Number(int32_t(line.more_fields));
            }
            out += u"}";
        }
        out += u"]}\n";
        Write(Out(), out);
    }
}

int Trouble(const std::string& problem) {
    Write(Err(), "orvella-dump: " + problem + "\n");
    Write(Err(), std::string("usage: ") + kDiffUsage);
    return 2;
}

bool ParseContext(const std::string& text, int32_t* context) {
    if (text.empty() || text.size() > 6) {
        return false;
    }
    int32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    *context = value;
    return true;
}

}  // namespace

const char kDiffUsage[] =
    "orvella-dump diff FILE1 FILE2 [-U N] [--all | --header --bounds --scale --trailing "
    "--numbering] [--json]\n";

int RunDiffCommandLine(const std::vector<std::string>& arguments,
                       const std::vector<FileName>& names) {
    SetFailureStatus(2);
    DiffOptions options;
    bool json = false, context_given = false;
    std::vector<size_t> files;
    for (size_t i = 2; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool known = false;
        for (const auto& named : kSwitches) {
            if (argument == named.text) {
                options.shown |= named.shown;
                known = true;
            }
        }
        if (known) {
            continue;
        }
        if (argument == "--json" && !json) {
            json = true;
        } else if (argument.rfind("-U", 0) == 0 && !context_given) {
            const std::string value = argument.size() > 2
                                          ? argument.substr(2)
                                          : (i + 1 < arguments.size() ? arguments[++i] : "");
            if (!ParseContext(value, &options.context)) {
                return Trouble("-U takes the number of context records (0 to 999999)");
            }
            context_given = true;
        } else if (argument == "-" || argument.empty() || argument[0] != '-') {
            files.push_back(i);
        } else {
            return Trouble("diff does not know " + argument);
        }
    }
    if (files.size() != 2) {
        return Trouble("diff takes two files");
    }
    if (arguments[files[0]] == "-" && arguments[files[1]] == "-") {
        return Trouble("only one of the two files can be standard input");
    }
    MetafileDocument documents[2];
    for (int side = 0; side < 2; ++side) {
        const FileName& name = names[files[size_t(side)]];
        if (const std::string failure = LoadNamedFile(name, &documents[side]); !failure.empty()) {
            Write(Err(), u"orvella-dump: cannot load ");
            Write(Err(), name.shown);
            Write(Err(), ": " + failure + "\n");
            return 2;
        }
    }
    std::vector<DiffHunk> hunks;
    if (!CompareMetafiles(documents[0], documents[1], options, &hunks)) {
        return OutOfMemory();
    }
    if (hunks.empty()) {
        return 0;
    }
    if (json) {
        WriteJson(hunks);
    } else {
        WriteText(hunks, names[files[0]], names[files[1]]);
    }
    return 1;
}
