// The lines of the state text as they are made: headings, and items of ASCII pieces and UTF-16
// names, each ending with the record that set it.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calls/symbols.h"
#include "state/state_text.h"

class StateLineMaker {
  public:
    explicit StateLineMaker(std::vector<StateLine>& out) : out_(out) {}

    void Heading(const char* name) { out_.push_back(StateLine{Widen(name), kDefaultState, true}); }
    // One item: its text made of ASCII pieces and UTF-16 names, then who set it.
    StateLineMaker& Begin(int32_t set_by) {
        out_.push_back(StateLine{u"  ", set_by, false});
        return *this;
    }
    StateLineMaker& Put(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        out_.back().text += Widen(text);
        return *this;
    }
    StateLineMaker& Name(const SymbolTable& table, uint32_t value) {
        FixedWideText<96> name;
        LookupSymbol(table, value, u"%u", name);
        out_.back().text += name.view();
        return *this;
    }
    StateLineMaker& Wide(std::u16string_view text) {
        out_.back().text += text;
        return *this;
    }
    // Ends the item with the record that set it.
    void End() {
        StateLine& line = out_.back();
        line.text += line.set_by == kDefaultState
                         ? std::u16string(u"  (default)")
                         : Widen(("  (record " + std::to_string(line.set_by) + ")").c_str());
    }
    // Ends the item with the EMF+ record that set it: its place inside the comment record.
    void End(int32_t place) {
        StateLine& line = out_.back();
        if (line.set_by == kDefaultState) {
            End();
            return;
        }
        line.text +=
            Widen(("  (record " + std::to_string(line.set_by) + "." + std::to_string(place) + ")")
                      .c_str());
    }

  private:
    static std::u16string Widen(const char* text) {
        std::u16string wide;
        for (; *text != 0; ++text) {
            wide += char16_t(static_cast<unsigned char>(*text));
        }
        return wide;
    }
    std::vector<StateLine>& out_;
};

inline void PutTransform(StateLineMaker& l, const Transform& t) {
    // Adding 0 turns a negative zero, which a product of zeros may leave, into 0.
    l.Put("[%g %g %g %g %g %g]", t.m11 + 0.0, t.m12 + 0.0, t.m21 + 0.0, t.m22 + 0.0, t.dx + 0.0,
          t.dy + 0.0);
}
