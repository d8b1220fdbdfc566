// The payloads a metafile carries: the integrity checks of their formats, the finder on a
// built file of every kind of carrier, and every payload of the corpus.
#include <gtest/gtest.h>

#include <string>

#include "document/load_failure.h"
#include "document/metafile_document.h"
#include "emfplus/emfplus_names.h"
#include "reports/embedded_payloads.h"
#include "tests/support/corpus.h"
#include "tests/support/payload_builder.h"

namespace {

std::vector<uint8_t> BitmapFile(std::vector<uint8_t> dib, const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> file = {'B', 'M'};
    const uint32_t size = static_cast<uint32_t>(14 + dib.size() + bits.size());
    for (uint32_t value : {size, 0u, static_cast<uint32_t>(14 + dib.size())}) {
        Data word;
        word.U32(value);
        file.insert(file.end(), word.bytes.begin(), word.bytes.end());
    }
    file.insert(file.end(), dib.begin(), dib.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

template <typename T>
std::vector<uint8_t> Join(std::vector<uint8_t> bytes, const T& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

// The bytes without their last `count`.
std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t count) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end() - static_cast<ptrdiff_t>(count));
}

TEST(PayloadChecks, SayWhatIsWrongWithEachFormat) {
    std::vector<uint8_t> bad_crc = Png(3, 2);
    bad_crc[8 + 25 + 9] ^= 1;  // a byte of IDAT's data
    std::vector<uint8_t> bad_type = Png(3, 2);
    bad_type.insert(bad_type.begin() + 8 + 25 + 22, 0);  // one byte too many in IDAT
    const std::vector<uint8_t> rows(24, 7);
    const struct {
        const char* name;
        PayloadFormat format;
        std::vector<uint8_t> bytes;
        const char* verdict;
        int32_t width, height;
    } kCases[] = {
        {"png", PayloadFormat::kPng, Png(3, 2), "ok", 3, 2},
        {"png padded", PayloadFormat::kPng, Join(Png(3, 2), std::vector<uint8_t>(3)), "ok", 3, 2},
        {"png crc", PayloadFormat::kPng, bad_crc, "IDAT chunk CRC wrong (the chunk at byte 33)", 3,
         2},
        {"png cut", PayloadFormat::kPng, Cut(bad_crc, 12),
         "IDAT chunk CRC wrong (the chunk at byte 33)", 3, 2},
        {"png no end", PayloadFormat::kPng, Cut(Png(3, 2), 12), "ends before IEND", 3, 2},
        {"png stray byte", PayloadFormat::kPng, bad_type,
         "a damaged chunk type 0x0049454E at byte 55", 3, 2},
        {"png trailing", PayloadFormat::kPng, Join(Png(3, 2), std::string("junk")),
         "4 bytes after IEND", 3, 2},
        {"jpeg", PayloadFormat::kJpeg, Jpeg(640, 480), "ok", 640, 480},
        {"jpeg cut", PayloadFormat::kJpeg, Cut(Jpeg(640, 480), 2),
         "ends without its end-of-image marker", 640, 480},
        {"jpeg not", PayloadFormat::kJpeg, Png(3, 2), "no JPEG start-of-image marker", -1, -1},
        {"bmp", PayloadFormat::kBmp, BitmapFile(DibHeader(4, 2, 24), rows), "ok", 4, 2},
        {"bmp cut", PayloadFormat::kBmp, BitmapFile(DibHeader(4, -2, 24), std::vector<uint8_t>(12)),
         "its bits are cut short: 12 of 24 bytes", 4, 2},
        {"bmp table", PayloadFormat::kBmp, BitmapFile(DibHeader(4, 2, 8, 0, 2), rows),
         "its colour table needs 1024 bytes, the headers leave 8", 4, 2},
        {"emf", PayloadFormat::kEmf, EmfBuilder().Build(), "ok", -1, -1},
        {"emf cut", PayloadFormat::kEmf, EmfBuilder().NoEof().Build(),
         "its records end without an end-of-file record (1 read)", -1, -1},
        {"emf not", PayloadFormat::kEmf, Png(3, 2),
         "too short for an enhanced metafile header (67 bytes; it needs 88)", -1, -1},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const PayloadCheck check = CheckPayload(c.format, c.bytes.data(), c.bytes.size());
        EXPECT_STREQ(check.verdict, c.verdict);
        EXPECT_EQ(check.width, c.width);
        EXPECT_EQ(check.height, c.height);
    }
}

const std::vector<uint8_t> kRows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};

std::vector<uint8_t> PaddedImage(const Data& image) {
    std::vector<uint8_t> bytes = image.bytes;
    bytes.resize((bytes.size() + 3) / 4 * 4);
    return bytes;
}

const std::vector<uint8_t> kPdf = {'%',  'P', 'D', 'F', '-', '1', '.',  '4',
                                   '\n', '%', '%', 'E', 'O', 'F', '\n', 0};

// One carrier of each kind: a bitmap (1), a PNG in a bitmap (2), a source and a mask (3), an EMF+
// PNG split over two comments (4.0) and an EMF+ pixel bitmap after its second part (5.1), and
// a comment holding an EMF and a PDF (6).
std::vector<uint8_t> CarrierFile() {
    EmfBuilder file;
    file.Add(StretchDib(DibHeader(2, 2, 24), kRows));
    file.Add(StretchDib(DibHeader(5, 7, 0, 5), Png(5, 7)));
    RecordBuilder mask_blt(78, 128);
    mask_blt.U32(84, 128).U32(88, 40).U32(92, 168).U32(96, 16);
    mask_blt.Bytes(128, DibHeader(2, 2, 24)).Bytes(168, kRows);
    mask_blt.U32(112, 184).U32(116, 48).U32(120, 232).U32(124, 8);
    mask_blt.Bytes(184, DibHeader(2, 2, 1, 0, 2)).Bytes(232, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    file.Add(mask_blt);
    const std::vector<uint8_t> image = PaddedImage(CompressedImage(Png(3, 2), 3, 2));
    const auto part = [&](size_t from, size_t to) {
        Data data;
        data.U32(static_cast<uint32_t>(image.size()));
        data.bytes.insert(data.bytes.end(), image.begin() + from, image.begin() + to);
        return Plus(kEmfPlusObject, 0x8000 | 0x0500 | 3, data);
    };
    file.Add(PlusComment({part(0, 20)}));
    Data pixels;
    pixels.U32(0xDBC01002).U32(1).U32(2).U32(2).U32(8).U32(0x00021808).U32(0);
    pixels.bytes.insert(pixels.bytes.end(), kRows.begin(), kRows.end());
    file.Add(PlusComment({part(20, image.size()), Plus(kEmfPlusObject, 0x0501, pixels)}));
    const std::vector<uint8_t> nested = EmfBuilder().Build();
    Data body;
    body.U32(0x40000004).U32(0).U32(0).U32(10).U32(10).U32(2);
    const uint32_t first =
        4 + 24 + 32;  // from the identifier: itself, type, bounds, count, formats
    body.U32(0x464D4520).U32(0x10000).U32(static_cast<uint32_t>(nested.size())).U32(first);
    body.U32(0x50444620).U32(1).U32(static_cast<uint32_t>(kPdf.size()));
    body.U32(first + static_cast<uint32_t>(nested.size()));
    body.bytes.insert(body.bytes.end(), nested.begin(), nested.end());
    body.bytes.insert(body.bytes.end(), kPdf.begin(), kPdf.end());
    file.Add(Comment(kPublicCommentIdentifier, body.bytes));
    return file.Build();
}

TEST(EmbeddedPayloads, FindsEachCarrierAndMakesItsFile) {
    MetafileDocument document;
    const std::vector<uint8_t> bytes = CarrierFile();
    ASSERT_EQ(document.LoadBytes(bytes.data(), bytes.size(), u"carriers.emf"), 1);
    const EmbeddedPayloads found(document.Store());
    const std::string kLines[] = {
        "1\tEMR_STRETCHDIBITS source\tBMP 2 x 2\t70 bytes\tok",
        "2\tEMR_STRETCHDIBITS source\tPNG 5 x 7\t67 bytes\tok",
        "3\tEMR_MASKBLT source\tBMP 2 x 2\t70 bytes\tok",
        "3\tEMR_MASKBLT mask\tBMP 2 x 2\t70 bytes\tok",
        "4.0\tEmfPlusObject image\tPNG 3 x 2\t68 bytes\tok",
        "5.1\tEmfPlusObject image\tBMP 2 x 2\t70 bytes\tok",
        "6\tGDICOMMENT_MULTIFORMATS\tEMF\t128 bytes\tok",
        "6\tGDICOMMENT_MULTIFORMATS (format 2)\tPDF\t16 bytes\tok",
    };
    const char16_t* kNames[] = {u"c-1.bmp",   u"c-2.png",   u"c-3.bmp", u"c-3-mask.bmp",
                                u"c-4.0.png", u"c-5.1.bmp", u"c-6.emf", u"c-6-2.pdf"};
    ASSERT_EQ(found.payloads().size(), std::size(kLines));
    for (size_t i = 0; i < std::size(kLines); ++i) {
        EXPECT_EQ(PayloadLine(found.payloads()[i], found.Report(i)), kLines[i]);
        EXPECT_TRUE(PayloadFileName(u"c", found.payloads()[i]) == kNames[i]) << i;
    }
    std::vector<uint8_t> out;
    ASSERT_TRUE(found.Bytes(0, &out));
    EXPECT_EQ(out, BitmapFile(DibHeader(2, 2, 24), kRows));
    ASSERT_TRUE(found.Bytes(4, &out));  // put back together from its two parts
    EXPECT_EQ(out, Join(Png(3, 2), std::vector<uint8_t>(1)));
    ASSERT_TRUE(found.Bytes(5, &out));  // the rows from the top: a negative height
    ASSERT_EQ(out.size(), 70u);
    EXPECT_EQ(static_cast<int32_t>(LoadLe32(out.data() + 22)), -2);
    EXPECT_EQ(std::vector<uint8_t>(out.end() - 16, out.end()), kRows);
    ASSERT_TRUE(found.Bytes(6, &out));
    EXPECT_EQ(out, EmfBuilder().Build());
    ASSERT_TRUE(found.Bytes(7, &out));
    EXPECT_EQ(out, kPdf);
    // One record's payloads alone: a split object is found at its first part.
    EXPECT_EQ(EmbeddedPayloads(document.Store(), 4).payloads().size(), 1u);
    EXPECT_EQ(EmbeddedPayloads(document.Store(), 5).payloads()[0].place, 1);
}

TEST(EmbeddedPayloads, SaysWhereTheRecordCutsAPayloadShort) {
    MetafileDocument document;
    const std::vector<uint8_t> bytes =
        EmfBuilder().Add(StretchDib(DibHeader(2, 2, 24), kRows, 1000)).Build();
    ASSERT_EQ(document.LoadBytes(bytes.data(), bytes.size(), u"cut.emf"), 1);
    const EmbeddedPayloads found(document.Store());
    ASSERT_EQ(found.payloads().size(), 1u);
    EXPECT_EQ(PayloadLine(found.payloads()[0], found.Report(0)),
              "1\tEMR_STRETCHDIBITS source\tBMP 2 x 2\t70 bytes\tcut short: the record holds 70 "
              "of its 1054 bytes");
}

uint32_t U32At(RecordView record, uint32_t at) {
    return at + 4 <= record.size ? LoadLe32(record.data + at) : 0;
}

// The payloads of a record, counted here from its fields alone: each bitmap, profile and format
// whose size is not 0, each Windows metafile comment, and each EMF+ image and texture brush
// object whole or in its first part.
struct SplitState {
    uint32_t key = 0;  // the object's type and id, plus 1; 0 while no split object is read
    uint64_t total = 0;
    uint64_t bytes = 0;
};

int IndependentPayloadCount(RecordView record, SplitState* split) {
    const struct {
        uint32_t type, sizes[2];
    } kSizes[] = {{76, {88}},  {77, {88}},  {78, {88, 116}}, {79, {100, 128}}, {80, {52}},
                  {81, {52}},  {93, {20}},  {94, {20}},      {95, {16}},       {112, {16}},
                  {113, {16}}, {114, {88}}, {116, {88}},     {121, {20}},      {122, {604}}};
    const uint32_t type = U32At(record, 0);
    int count = 0;
    for (const auto& carrier : kSizes) {
        for (uint32_t at : carrier.sizes) {
            count += carrier.type == type && at != 0 && U32At(record, at) != 0;
        }
    }
    if (type != 70 || record.size < 20) {
        return count;
    }
    const uint32_t end = std::min<uint32_t>(12 + U32At(record, 8), record.size);
    if (U32At(record, 12) == kPublicCommentIdentifier) {
        const uint32_t kind = U32At(record, 16);
        const uint32_t inside = end > 40 ? (end - 40) / 16 : 0;
        return kind == 0x80000001   ? end >= 36
               : kind == 0x40000004 ? std::min(U32At(record, 36), inside)
                                    : 0;
    }
    for (uint32_t at = 16; U32At(record, 12) == kEmfPlusIdentifier && at + 12 <= end;) {
        const uint32_t size = U32At(record, at + 4);
        if (size < 12 || size % 4 != 0 || size > end - at) {
            break;
        }
        const uint16_t flags = static_cast<uint16_t>(U32At(record, at) >> 16);
        const uint32_t kind = (flags >> 8) & 0x7F;
        const uint32_t data = at + 12 + ((flags & 0x8000) ? 4 : 0);
        if ((U32At(record, at) & 0xFFFF) == 0x4008) {
            const uint32_t key = (flags & 0x7FFFu) + 1;
            const uint64_t bytes = size - (data - at);
            if (split->key == key) {  // a later part of the object being read
                split->bytes += bytes;
                split->key = (flags & 0x8000) && split->bytes < split->total ? key : 0;
            } else {
                if (flags & 0x8000) {
                    *split = {key, U32At(record, at + 12), bytes};
                    split->key = split->bytes < split->total ? key : 0;
                }
                const uint32_t image = U32At(record, data + 4);
                count += data + 8 <= at + size &&
                         ((kind == 5 && (image == 1 || image == 2)) || (kind == 1 && image == 2));
            }
        }
        at += size;
    }
    return count;
}

// Every payload of the corpus is found, checked and made; each that a good file holds whole
// and sound begins as its format does and has the size its header gives.
TEST(EmbeddedPayloads, CorpusPayloadsAreAllFoundAndTheSoundOnesAreWholeFiles) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    int total = 0;
    int sound = 0;
    for (const char* part : {"/good", "/corrupted"}) {
        for (const std::string& path : ListEmfFiles(corpus + part)) {
            SCOPED_TRACE(path);
            MetafileDocument document;
            if (document.LoadFile(ToU16(path).c_str()) != 1) {
                continue;
            }
            const EmbeddedPayloads found(document.Store());
            int expected = 0;
            SplitState split;
            for (int32_t i = 0; i < document.Store().count(); ++i) {
                expected += IndependentPayloadCount(document.RecordAt(i), &split);
            }
            EXPECT_EQ(static_cast<int>(found.payloads().size()), expected);
            total += expected;
            std::vector<uint8_t> bytes;
            for (size_t i = 0; i < found.payloads().size(); ++i) {
                const PayloadReport report = found.Report(i);
                if (!report.check.ok() || !found.Bytes(i, &bytes)) {
                    continue;
                }
                ++sound;
                ASSERT_EQ(bytes.size(), report.bytes);
                const PayloadFormat format = found.payloads()[i].format;
                if (format == PayloadFormat::kBmp) {
                    EXPECT_EQ(LoadLe32(bytes.data() + 2), bytes.size());
                } else if (format == PayloadFormat::kEmf) {
                    LoadFailure refusal;
                    ExplainRefusal(bytes.data(), bytes.size(), &refusal);
                    EXPECT_STREQ(refusal.text, "");
                } else if (format == PayloadFormat::kPng || format == PayloadFormat::kJpeg) {
                    EXPECT_EQ(ImageFormatBySignature(bytes.data(), bytes.size()), format);
                }
            }
        }
    }
    EXPECT_GT(sound, 1000);
    EXPECT_GT(total, sound);
}

}  // namespace
