// Builders for the tests: records composed field by field, and whole metafiles with a correct
// header and end-of-file record.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "document/record_view.h"
#include "text/utf16.h"

// One record. Writing a field past the current end grows the record, and its nSize with it,
// unless nSize was set by hand with NSize().
class RecordBuilder {
  public:
    // A record of `type` with `size` bytes (at least 8), zero but for iType and nSize.
    explicit RecordBuilder(uint32_t type, uint32_t size = 8);

    RecordBuilder& U32(uint32_t offset, uint32_t value);
    RecordBuilder& I32(uint32_t offset, int32_t value) {
        return U32(offset, static_cast<uint32_t>(value));
    }
    RecordBuilder& U16(uint32_t offset, uint16_t value);
    RecordBuilder& I16(uint32_t offset, int16_t value) {
        return U16(offset, static_cast<uint16_t>(value));
    }
    RecordBuilder& U8(uint32_t offset, uint8_t value);
    RecordBuilder& F32(uint32_t offset, float value);
    RecordBuilder& Bytes(uint32_t offset, const std::vector<uint8_t>& bytes);
    // UTF-16 units, little-endian, without a terminator.
    RecordBuilder& Utf16(uint32_t offset, std::u16string_view text);
    // 8-bit characters, without a terminator.
    RecordBuilder& Ansi(uint32_t offset, std::string_view text);
    // Sets the byte count of the record, and nSize with it unless nSize was set by hand.
    RecordBuilder& Resize(uint32_t size);
    // Sets the nSize field alone, which may then disagree with the bytes.
    RecordBuilder& NSize(uint32_t size);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    RecordView view() const {
        return RecordView{bytes_.data(), static_cast<uint32_t>(bytes_.size())};
    }

  private:
    void Reach(uint32_t end);
    void Put(uint32_t offset, const void* data, uint32_t length);

    std::vector<uint8_t> bytes_;
    bool size_by_hand_ = false;
};

// A whole metafile: header record, the added records, and an end-of-file record. nBytes and
// nRecords of the header match what Build() returns unless overridden with HeaderU32().
class EmfBuilder {
  public:
    EmfBuilder();

    EmfBuilder& Bounds(int32_t left, int32_t top, int32_t right, int32_t bottom);
    EmfBuilder& Frame(int32_t left, int32_t top, int32_t right, int32_t bottom);
    EmfBuilder& Handles(uint16_t handles);
    EmfBuilder& PalEntries(uint32_t entries);
    EmfBuilder& Description(std::u16string_view description);
    EmfBuilder& Add(const RecordBuilder& record) { return Add(record.bytes()); }
    EmfBuilder& Add(const std::vector<uint8_t>& record_bytes);
    // Leaves the end-of-file record out.
    EmfBuilder& NoEof();
    // Overrides one 32-bit header field after the counts were filled in.
    EmfBuilder& HeaderU32(uint32_t offset, uint32_t value);

    std::vector<uint8_t> Build() const;

  private:
    RecordBuilder header_;
    std::vector<std::vector<uint8_t>> records_;
    std::vector<std::pair<uint32_t, uint32_t>> overrides_;
    bool eof_ = true;
};

// A record of `type` whose 32-bit fields from offset 8 on are `fields`.
RecordBuilder FieldRecord(uint32_t type, std::initializer_list<int32_t> fields = {});

// The end-of-file record: no palette, 20 bytes.
RecordBuilder EofRecord();

// Writes `bytes` to a fresh file in the tests' temporary folder; returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

inline std::u16string ToU16(std::string_view utf8) {
    return FromUtf8(utf8);
}

// The folder of real metafiles to sweep ("" when there is none), and the shipped samples.
std::string CorpusDir();
std::string SamplesDir();
// The .emf files of a folder, sorted by name.
std::vector<std::string> ListEmfFiles(const std::string& folder);
