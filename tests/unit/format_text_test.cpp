// Text output and font records: the quoted text, option flags, spacing and logical font.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/record_types.h"
#include "tests/support/call_text_utf8.h"

namespace {

// An EMR_EXTTEXTOUTA/W at (100, 200) with rectangle (0, 0, 50, 20): the text at 76, the spacing
// array right after it.
RecordBuilder ExtTextOut(uint32_t type, std::u16string_view text, uint32_t options = 0x0004,
                         const std::vector<int32_t>& dx = {}) {
    const uint32_t width = type == kEmrExtTextOutA ? 1 : 2;
    const uint32_t off_dx = 76 + (static_cast<uint32_t>(text.size()) * width + 3) / 4 * 4;
    RecordBuilder r(type, 76);
    r.I32(36, 100).I32(40, 200).U32(44, static_cast<uint32_t>(text.size())).U32(48, 76);
    r.U32(52, options).I32(64, 50).I32(68, 20).U32(72, off_dx);
    for (size_t i = 0; i < text.size(); ++i) {
        if (width == 1) {
            r.U8(76 + static_cast<uint32_t>(i), static_cast<uint8_t>(text[i]));
        } else {
            r.U16(76 + 2 * static_cast<uint32_t>(i), static_cast<uint16_t>(text[i]));
        }
    }
    for (size_t i = 0; i < dx.size(); ++i) {
        r.I32(off_dx + 4 * static_cast<uint32_t>(i), dx[i]);
    }
    return r.Resize(off_dx + 4 * static_cast<uint32_t>(dx.size()));
}

// The quoted text between _T(" and the last "), of a call text.
std::string QuotedText(const std::string& call) {
    const size_t begin = call.find("_T(\"") + 4;
    return call.substr(begin, call.rfind("\"), ") - begin);
}

// An EMR_EXTCREATEFONTINDIRECTW of "Arial", index 2, with pitch and family 0x22.
RecordBuilder Font() {
    RecordBuilder r(kEmrExtCreateFontIndirectW, 332);
    r.U32(8, 2).I32(12, -13).I32(16, 0).I32(20, 900).I32(24, 0).I32(28, 700);
    r.U8(35, 0).U8(36, 4).U8(37, 0).U8(38, 5).U8(39, 0x22).Utf16(40, u"Arial");
    return r;
}

TEST(FormatExtTextOut, PrintsTheCallAndItsSpacingBlock) {
    const RecordBuilder r = ExtTextOut(kEmrExtTextOutW, u"abc", 0x0004, {8, 8, 9});
    const std::string line =
        "ExtTextOutW(hDC, 100, 200, ETO_CLIPPED, RECT(0, 0, 50, 20), _T(\"abc\"), 3, lpDx);";
    EXPECT_EQ(CallTextUtf8(r, 0), line);
    EXPECT_EQ(CallTextUtf8(r, 1), line +
                                      "\r\n\t  // Parameter(s):\r\n\t  int* lpDx:\r\n\t  lpDx[0] = "
                                      "8;\r\n\t  lpDx[1] = 8;\r\n\t  lpDx[2] = 9;");
    // Empty text keeps only the block's head.
    EXPECT_EQ(CallTextUtf8(ExtTextOut(kEmrExtTextOutW, u"", 0), 1),
              "ExtTextOutW(hDC, 100, 200, 0, RECT(0, 0, 50, 20), _T(\"\"), 0, lpDx);\r\n\t  // "
              "Parameter(s):\r\n\t  int* lpDx:");
}

TEST(FormatExtTextOut, NamesOnlyTheKnownOptionFlags) {
    auto flags = [](uint32_t options) {
        const std::string call = CallTextUtf8(ExtTextOut(kEmrExtTextOutW, u"a", options));
        const size_t begin = call.find("200, ") + 5;
        return call.substr(begin, call.find(", RECT") - begin);
    };
    EXPECT_EQ(flags(0), "0");
    EXPECT_EQ(flags(0x0100), "0");
    EXPECT_EQ(flags(0x0006), "ETO_OPAQUE | ETO_CLIPPED");
    EXPECT_EQ(flags(0xFFFFFFFF),
              "ETO_OPAQUE | ETO_CLIPPED | ETO_GLYPH_INDEX | ETO_RTLREADING | ETO_NUMERICSLOCAL | "
              "ETO_NUMERICSLATIN | ETO_IGNORELANGUAGE | ETO_PDY");
}

// Text is printed unescaped up to its first NUL; lone surrogates become replacement
// characters; 8-bit text is read as Windows-1252.
TEST(FormatExtTextOut, QuotesTheTextAsItsWidthReadsIt) {
    const struct {
        uint32_t type;
        std::u16string text;
        const char* quoted;
    } cases[] = {
        {kEmrExtTextOutW, u"say \"hi\"\t\\", "say \"hi\"\t\\"},
        {kEmrExtTextOutW, std::u16string(u"ab\0cd", 5), "ab"},
        {kEmrExtTextOutW, {u'a', 0xD800, u'b', 0xDC00, 0xD83D, 0xDE00}, "a\uFFFDb\uFFFD\U0001F600"},
        {kEmrExtTextOutA, {u'a', 0x80, 0xE9, 0x9D}, "a\u20AC\u00E9\u009D"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuotedText(CallTextUtf8(ExtTextOut(c.type, c.text))), c.quoted);
    }
    EXPECT_NE(CallTextUtf8(ExtTextOut(kEmrExtTextOutW, std::u16string(u"ab\0cd", 5)))
                  .find("\"), 5, lpDx);"),
              std::string::npos);
}

TEST(FormatExtTextOut, LongTextStopsAt1023UnitsWithoutSplittingAPair) {
    const std::string long_text =
        CallTextUtf8(ExtTextOut(kEmrExtTextOutW, std::u16string(2000, u'x')), 1);
    EXPECT_EQ(QuotedText(long_text), std::string(1023, 'x'));
    EXPECT_NE(long_text.find("), 2000, lpDx);"), std::string::npos);
    EXPECT_EQ(long_text.find("character(s)"), std::string::npos);

    // A pair that would straddle the limit is left out whole.
    const std::u16string pair_at_cut = std::u16string(1022, u'x') + u"\U0001F600yz";
    EXPECT_EQ(QuotedText(CallTextUtf8(ExtTextOut(kEmrExtTextOutW, pair_at_cut))),
              std::string(1022, 'x'));
}

TEST(FormatExtTextOut, LongSpacingArrayListsThirtyTwoValues) {
    const std::string verbose = CallTextUtf8(
        ExtTextOut(kEmrExtTextOutW, std::u16string(40, u'x'), 0, std::vector(40, 7)), 1);
    EXPECT_NE(verbose.find("lpDx[31] = 7;\r\n\t  // 8 more lpDx value(s) is(are) bypassed..."),
              std::string::npos);
    EXPECT_EQ(verbose.find("lpDx[32]"), std::string::npos);
    EXPECT_EQ(verbose.find("beyond"), std::string::npos);
}

TEST(FormatExtTextOut, PartsBeyondTheRecordAreNotedNotRead) {
    // Text of 6 units of which 4 lie inside nSize; the bytes after it are held but not the
    // record's.
    RecordBuilder text_cut = ExtTextOut(kEmrExtTextOutW, u"abcdef", 0, {1, 2, 3});
    text_cut.NSize(84);
    const std::string line =
        "ExtTextOutW(hDC, 100, 200, 0, RECT(0, 0, 50, 20), _T(\"abcd\"), 6, lpDx);\r\n\t  // 2 "
        "more character(s) is(are) beyond the record...";
    EXPECT_EQ(CallTextUtf8(text_cut, 0), line);
    EXPECT_EQ(CallTextUtf8(text_cut, 1), line +
                                             "\r\n\t  // Parameter(s):\r\n\t  int* lpDx:\r\n\t  // "
                                             "6 more lpDx value(s) is(are) beyond the record...");

    // Spacing array of 3 with only 2 inside.
    RecordBuilder dx_cut = ExtTextOut(kEmrExtTextOutW, u"abc", 0, {1, 2, 3});
    dx_cut.NSize(static_cast<uint32_t>(dx_cut.bytes().size()) - 4);
    EXPECT_NE(CallTextUtf8(dx_cut, 1).find("lpDx[1] = 2;\r\n\t  // 1 more lpDx value(s) is(are) "
                                           "beyond the record..."),
              std::string::npos);

    // A NUL inside the record ends the text: nothing is missing from it.
    RecordBuilder nul_inside = ExtTextOut(kEmrExtTextOutW, std::u16string(u"ab\0def", 6));
    nul_inside.NSize(84);
    EXPECT_EQ(CallTextUtf8(nul_inside).find("beyond"), std::string::npos);
}

TEST(FormatSmallTextOut, ReadsEachOfItsThreeLayouts) {
    RecordBuilder ansi_no_rect(kEmrSmallTextOut, 36);
    ansi_no_rect.I32(8, 5).I32(12, -6).U32(16, 2).U32(20, 0x0300).Ansi(36, "h\xE9");
    EXPECT_EQ(CallTextUtf8(ansi_no_rect),
              "TextOut(hDC, 5, -6, _T(\"hé\"), 2);    // EMRSMALLTEXTOUT");

    RecordBuilder ansi_rect(kEmrSmallTextOut, 52);
    ansi_rect.U32(16, 2).U32(20, 0x0200).Ansi(36, "no").Ansi(52, "ok");
    EXPECT_EQ(CallTextUtf8(ansi_rect), "TextOut(hDC, 0, 0, _T(\"ok\"), 2);    // EMRSMALLTEXTOUT");

    RecordBuilder wide_no_rect(kEmrSmallTextOut, 36);
    wide_no_rect.U32(16, 2).U32(20, 0x0100).Utf16(36, u"Ωk");
    EXPECT_EQ(CallTextUtf8(wide_no_rect, 1),
              "TextOut(hDC, 0, 0, _T(\"Ωk\"), 2);    // EMRSMALLTEXTOUT");
    EXPECT_EQ(CallTextUtf8(wide_no_rect, 0), CallTextUtf8(wide_no_rect, 1));
}

TEST(FormatSmallTextOut, NotesTextBeyondTheRecord) {
    RecordBuilder cut(kEmrSmallTextOut, 36);
    cut.U32(16, 0x7FFFFFF0).U32(20, 0x0300).Ansi(36, "ab");
    EXPECT_EQ(CallTextUtf8(cut, 1),
              "TextOut(hDC, 0, 0, _T(\"ab\"), 2147483632);    // EMRSMALLTEXTOUT\r\n\t  // "
              "2147483630 more character(s) is(are) beyond the record...");
}

TEST(FormatCreateFont, PrintsTheFaceOnTheFirstLineAndTheFontWhenVerbose) {
    EXPECT_EQ(CallTextUtf8(Font(), 0), "CreateFontIndirect(&lf);    // Arial, ihFont = 2\r\n");
    EXPECT_EQ(
        CallTextUtf8(Font(), 1),
        "CreateFontIndirect(&lf);    // Arial, ihFont = 2\r\n\t  // Parameter(s):\r\n"
        "\t  LOGFONT lf;\r\n\t  lf.lfHeight = -13;\r\n\t  lf.lfWidth = 0;\r\n"
        "\t  lf.lfEscapement = 900;\r\n\t  lf.lfOrientation = 0;\r\n"
        "\t  lf.lfWeight = FW_BOLD;\r\n\t  lf.lfItalic = FALSE;\r\n"
        "\t  lf.lfUnderline = FALSE;\r\n\t  lf.lfStrikeOut = FALSE;\r\n"
        "\t  lf.lfCharSet = ANSI_CHARSET;\r\n\t  lf.lfOutPrecision = OUT_TT_PRECIS;\r\n"
        "\t  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;\r\n\t  lf.lfQuality = CLEARTYPE_QUALITY;\r\n"
        "\t  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;\r\n"
        "\t  lstrcpy(lf.lfFaceName, _T(\"Arial\"));");
}

TEST(FormatCreateFont, NamesFieldsOrPrintsTheirNumbers) {
    auto line = [](RecordBuilder r, const std::string& member) {
        const std::string text = CallTextUtf8(r, 1);
        const size_t begin = text.find("lf." + member + " = ") + member.size() + 6;
        return text.substr(begin, text.find(";\r\n", begin) - begin);
    };
    EXPECT_EQ(line(Font().U8(39, 0x0C), "lfPitchAndFamily"), "__unknown pitch:12__ | FF_DONTCARE");
    EXPECT_EQ(line(Font().U8(39, 0x61), "lfPitchAndFamily"), "FIXED_PITCH | 96");
    EXPECT_EQ(line(Font().I32(28, 400), "lfWeight"), "FW_NORMAL | FW_REGULAR");
    EXPECT_EQ(line(Font().I32(28, 550), "lfWeight"), "550");
    EXPECT_EQ(line(Font().U8(35, 255), "lfCharSet"), "OEM_CHARSET");
    EXPECT_EQ(line(Font().U8(32, 0xFF), "lfItalic"), "TRUE");
    EXPECT_EQ(line(Font().U8(37, 0x12), "lfClipPrecision"), "18");
}

TEST(FormatCreateFont, FaceNameStopsAtThirtyTwoUnitsOfTheLogFont) {
    std::u16string face(31, u'F');
    face += char16_t{0xD800};  // its partner would lie past the face name
    RecordBuilder full = Font().Utf16(40, face).U16(104, u'Z');
    const std::string expected_face = std::string(31, 'F') + "\uFFFD";
    EXPECT_EQ(CallTextUtf8(full),
              "CreateFontIndirect(&lf);    // " + expected_face + ", ihFont = 2\r\n");
    EXPECT_NE(CallTextUtf8(full, 1).find("_T(\"" + expected_face + "\"));"), std::string::npos);

    EXPECT_EQ(CallTextUtf8(Font().NSize(104), 0),
              "CreateFontIndirect(&lf);    // Arial, ihFont = 2\r\n");
}

}  // namespace
