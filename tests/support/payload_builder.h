// Builders of the files metafiles carry (PNG, JPEG, bitmaps), and of a metafile that carries
// one of each kind the extraction tests look for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"

inline void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// The CRC of a PNG chunk's type and data, bit by bit.
inline uint32_t ChunkCrc(const std::vector<uint8_t>& bytes, size_t from) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = from; i < bytes.size(); ++i) {
        c ^= bytes[i];
        for (int k = 0; k < 8; ++k) {
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
        }
    }
    return ~c;
}

inline void PngChunk(std::vector<uint8_t>& png, const char* type, std::vector<uint8_t> data) {
    PutBe32(png, static_cast<uint32_t>(data.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, ChunkCrc(png, start));
}

// A PNG of the size: its signature, IHDR, an IDAT (its data is not inflated by any check) and
// IEND.
inline std::vector<uint8_t> Png(uint32_t width, uint32_t height) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    PutBe32(header, width);
    PutBe32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PngChunk(png, "IHDR", header);
    PngChunk(png, "IDAT", {0x78, 0x9C, 0x63, 0x60, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01});
    PngChunk(png, "IEND", {});
    return png;
}

// A JPEG: start of image, a baseline frame header of the size, a scan and end of image.
inline std::vector<uint8_t> Jpeg(uint16_t width, uint16_t height) {
    return {0xFF,
            0xD8,
            0xFF,
            0xC0,
            0x00,
            0x0B,
            0x08,
            static_cast<uint8_t>(height >> 8),
            static_cast<uint8_t>(height),
            static_cast<uint8_t>(width >> 8),
            static_cast<uint8_t>(width),
            0x01,
            0x01,
            0x11,
            0x00,
            0xFF,
            0xDA,
            0x00,
            0x08,
            0x01,
            0x01,
            0x00,
            0x00,
            0x3F,
            0x00,
            0x12,
            0x34,
            0xFF,
            0xD9};
}

// A BITMAPINFOHEADER of the size and bit count, with `colours` zero entries of colour table.
inline std::vector<uint8_t> DibHeader(int32_t width, int32_t height, uint16_t bits,
                                      uint32_t compression = 0, uint32_t colours = 0) {
    Data header;
    header.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height));
    header.U16(1).U16(bits).U32(compression).U32(0).U32(0).U32(0).U32(0).U32(0);
    header.bytes.resize(40 + 4 * colours);
    return header.bytes;
}

// An EMR_STRETCHDIBITS record holding `header` and `bits`, whose cbBits may claim more.
inline RecordBuilder StretchDib(const std::vector<uint8_t>& header,
                                const std::vector<uint8_t>& bits, uint32_t claimed_bits = 0) {
    const uint32_t bits_at = 80 + static_cast<uint32_t>(header.size());
    RecordBuilder record(81, 80);
    record.U32(48, 80).U32(52, static_cast<uint32_t>(header.size())).U32(56, bits_at);
    record.U32(60, claimed_bits != 0 ? claimed_bits : static_cast<uint32_t>(bits.size()));
    record.Bytes(80, header).Bytes(bits_at, bits);
    record.Resize((bits_at + static_cast<uint32_t>(bits.size()) + 3) / 4 * 4);
    return record;
}

// An EMF+ image object holding a compressed picture: version, bitmap type, size and `file`.
inline Data CompressedImage(const std::vector<uint8_t>& file, int32_t width, int32_t height) {
    Data image;
    image.U32(0xDBC01002).U32(1).U32(static_cast<uint32_t>(width));
    image.U32(static_cast<uint32_t>(height)).U32(0).U32(0).U32(1);
    image.bytes.insert(image.bytes.end(), file.begin(), file.end());
    return image;
}
