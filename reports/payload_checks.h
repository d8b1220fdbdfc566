// Whether the bytes of a payload taken out of a metafile make a whole file of their format, and
// the picture's dimensions where the format says them.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PayloadFormat : uint8_t {
    kBmp,
    kPng,
    kJpeg,
    kGif,
    kTiff,
    kEmf,
    kWmf,
    kEps,
    kPdf,
    kIcc,
    // Pixels without a file form Orvella can make honestly, and data of no format it knows:
    // listed, never written.
    kPixels,
    kUnknown,
};

// "PNG", "JPEG", ..., "pixels", "data".
const char* PayloadFormatName(PayloadFormat format);
// The extension of the format's file without its dot ("png"), or nullptr for the formats that
// are never written.
const char* PayloadExtension(PayloadFormat format);

// The image format a compressed picture's first bytes announce (PNG, JPEG, GIF, BMP or TIFF), or
// kUnknown.
PayloadFormat ImageFormatBySignature(const uint8_t* bytes, size_t size);

struct PayloadCheck {
    // "ok", or a short reason: "IDAT chunk CRC wrong", "ends before IEND".
    char verdict[192] = "ok";
    // -1 where the format or the bytes do not say.
    int32_t width = -1;
    int32_t height = -1;

    bool ok() const;
    // Replaces the verdict with a printf-style text.
    void Say(const char* format, ...);
};

// Checks `size` bytes as a file of `format`: a PNG's signature, every chunk's CRC and IEND; a
// JPEG's start and end markers and its frame's size; a GIF's header and trailer; a TIFF's byte
// order and first directory; a BMP's headers and colour table against its size; an EMF's header
// and a walk of its records to the end-of-file record; a WMF's header and size; a PDF's header
// and %%EOF; an EPS's %!PS; an ICC profile's size field and signature. Up to three zero bytes
// after the end of a file are the padding of the record that holds it, and are no fault.
PayloadCheck CheckPayload(PayloadFormat format, const uint8_t* bytes, size_t size);
