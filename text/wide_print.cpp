// The wide formatted print: the one primitive that builds every text the program shows.
#include "text/wide_print.h"

#include <cstring>

#include "text/codepage.h"
#include "text/utf16.h"

namespace {

constexpr size_t kMaxUnits = kWidePrintLimit - 1;

// Collects output up to the limit; everything after the limit is dropped.
class Output {
  public:
    explicit Output(char16_t* out) : out_(out) {}

    void Put(char16_t unit) {
        if (length_ < kMaxUnits) {
            out_[length_++] = unit;
        }
    }
    // Puts `count` units at once, as many as fit.
    void PutRun(const char16_t* units, size_t count) {
        const size_t room = kMaxUnits - length_;
        const size_t taken = count < room ? count : room;
        std::memcpy(out_ + length_, units, taken * sizeof(char16_t));
        length_ += taken;
    }
    size_t Finish() {
        // A high surrogate in the last place lost its partner to the limit.
        if (length_ == kMaxUnits && IsHighSurrogate(out_[length_ - 1])) {
            --length_;
        }
        out_[length_] = 0;
        return length_;
    }

  private:
    char16_t* out_;
    size_t length_ = 0;
};

// Writes the digits of `magnitude` backwards from `end`; returns how many. The bases are
// constants, so that the compiler turns the divisions into multiplications and shifts.
unsigned DecimalDigits(uint32_t magnitude, char16_t* end) {
    unsigned count = 0;
    do {
        *--end = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return count;
}

unsigned HexadecimalDigits(uint32_t magnitude, char16_t* end) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    unsigned count = 0;
    do {
        *--end = kDigits[magnitude & 0xF];
        magnitude >>= 4;
        ++count;
    } while (magnitude != 0);
    return count;
}

void PutNumber(Output& out, uint32_t magnitude, bool negative, unsigned base, unsigned width) {
    char16_t digits[12];
    char16_t* end = digits + sizeof(digits) / sizeof(digits[0]);
    const unsigned count =
        base == 16 ? HexadecimalDigits(magnitude, end) : DecimalDigits(magnitude, end);
    if (negative) {
        out.Put(u'-');
    }
    for (unsigned pad = count; pad < width; ++pad) {
        out.Put(u'0');
    }
    out.PutRun(end - count, count);
}

void PutArgument(Output& out, char16_t conversion, char length, unsigned width,
                 const PrintArg& arg) {
    if (conversion == u'u') {
        const int32_t value = arg.kind == PrintArg::Kind::kInteger ? arg.integer : 0;
        PutNumber(out, static_cast<uint32_t>(value), false, 10, width);
    } else if (conversion == u'd') {
        const int32_t value = arg.kind == PrintArg::Kind::kInteger ? arg.integer : 0;
        const uint32_t magnitude =
            value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        PutNumber(out, magnitude, value < 0, 10, width);
    } else if (conversion == u'X') {
        const int32_t value = arg.kind == PrintArg::Kind::kInteger ? arg.integer : 0;
        PutNumber(out, static_cast<uint32_t>(value), false, 16, width);
    } else if (conversion == u's') {
        if (length == 'h' && arg.kind == PrintArg::Kind::kNarrow && arg.narrow != nullptr) {
            for (const char* p = arg.narrow; *p != 0; ++p) {
                out.Put(Windows1252ToUtf16(static_cast<uint8_t>(*p)));
            }
        } else if (arg.kind == PrintArg::Kind::kWide && arg.wide != nullptr) {
            out.PutRun(arg.wide, WideLength(arg.wide));
        }
    }
}

}  // namespace

size_t WidePrintArgs(char16_t* out, const char16_t* format, const PrintArg* args, size_t count) {
    Output output(out);
    size_t next = 0;
    const char16_t* p = format;
    while (*p != 0) {
        if (*p != u'%') {
            const char16_t* run = p;
            while (*p != 0 && *p != u'%') {
                ++p;
            }
            output.PutRun(run, static_cast<size_t>(p - run));
            continue;
        }
        const char16_t* start = p++;
        if (*p == u'%') {
            output.Put(u'%');
            ++p;
            continue;
        }
        unsigned width = 0;
        while (*p >= u'0' && *p <= u'9') {
            width = width * 10 + static_cast<unsigned>(*p - u'0');
            ++p;
        }
        char length = 0;
        if (*p == u'l' || *p == u'h') {
            length = static_cast<char>(*p);
            ++p;
        }
        const char16_t conversion = *p;
        if ((conversion == u'd' || conversion == u'u' || conversion == u'X' ||
             conversion == u's') &&
            width <= 16) {
            ++p;
            if (next < count) {
                PutArgument(output, conversion, length, width, args[next]);
            }
            ++next;
            continue;
        }
        // Not a conversion this print knows: the text stands as it is.
        while (start != p) {
            output.Put(*start++);
        }
    }
    return output.Finish();
}

size_t WideLength(const char16_t* text) {
    size_t length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}
