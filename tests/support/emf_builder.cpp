// Builders for the tests: records composed field by field, and whole metafiles with a correct
// header and end-of-file record.
#include "tests/support/emf_builder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "document/emf_format.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

RecordBuilder::RecordBuilder(uint32_t type, uint32_t size) : bytes_(size < 8 ? 8 : size, 0) {
    U32(0, type);
    U32(4, static_cast<uint32_t>(bytes_.size()));
}

void RecordBuilder::Reach(uint32_t end) {
    if (end > bytes_.size()) {
        Resize(end);
    }
}

void RecordBuilder::Put(uint32_t offset, const void* data, uint32_t length) {
    Reach(offset + length);
    std::memcpy(bytes_.data() + offset, data, length);
}

RecordBuilder& RecordBuilder::U32(uint32_t offset, uint32_t value) {
    const uint8_t le[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                           static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Put(offset, le, 4);
    return *this;
}

RecordBuilder& RecordBuilder::U16(uint32_t offset, uint16_t value) {
    const uint8_t le[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Put(offset, le, 2);
    return *this;
}

RecordBuilder& RecordBuilder::U8(uint32_t offset, uint8_t value) {
    Put(offset, &value, 1);
    return *this;
}

RecordBuilder& RecordBuilder::F32(uint32_t offset, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return U32(offset, bits);
}

RecordBuilder& RecordBuilder::Bytes(uint32_t offset, const std::vector<uint8_t>& bytes) {
    if (!bytes.empty()) {
        Put(offset, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    return *this;
}

RecordBuilder& RecordBuilder::Utf16(uint32_t offset, std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        U16(offset + static_cast<uint32_t>(2 * i), static_cast<uint16_t>(text[i]));
    }
    return *this;
}

RecordBuilder& RecordBuilder::Ansi(uint32_t offset, std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        U8(offset + static_cast<uint32_t>(i), static_cast<uint8_t>(text[i]));
    }
    return *this;
}

RecordBuilder& RecordBuilder::Resize(uint32_t size) {
    bytes_.resize(size < 8 ? 8 : size, 0);
    if (!size_by_hand_) {
        U32(4, static_cast<uint32_t>(bytes_.size()));
    }
    return *this;
}

RecordBuilder& RecordBuilder::NSize(uint32_t size) {
    U32(4, size);
    size_by_hand_ = true;
    return *this;
}

RecordBuilder EofRecord() {
    RecordBuilder eof(kEmrEof, 20);
    eof.U32(8, 0).U32(12, 16).U32(16, 20);
    return eof;
}

EmfBuilder::EmfBuilder() : header_(kEmrHeader, 108) {
    Bounds(0, 0, 99, 99);
    Frame(0, 0, 2645, 2645);
    header_.U32(kHeaderSignatureOffset, kEnhMetaSignature);
    header_.U32(44, 0x10000);  // nVersion
    Handles(1);
    header_.U32(72, 1024).U32(76, 768);         // szlDevice
    header_.U32(80, 271).U32(84, 203);          // szlMillimeters
    header_.U32(100, 271000).U32(104, 203000);  // szlMicrometers
}

EmfBuilder& EmfBuilder::Bounds(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    header_.I32(8, left).I32(12, top).I32(16, right).I32(20, bottom);
    return *this;
}

EmfBuilder& EmfBuilder::Frame(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    header_.I32(24, left).I32(28, top).I32(32, right).I32(36, bottom);
    return *this;
}

EmfBuilder& EmfBuilder::Handles(uint16_t handles) {
    header_.U16(kHeaderHandlesOffset, handles);
    return *this;
}

EmfBuilder& EmfBuilder::PalEntries(uint32_t entries) {
    header_.U32(68, entries);
    return *this;
}

EmfBuilder& EmfBuilder::Description(std::u16string_view description) {
    const uint32_t units = static_cast<uint32_t>(description.size());
    header_.Resize(108 + ((units * 2 + 3) & ~3u));
    header_.Utf16(108, description);
    header_.U32(60, units).U32(64, 108);
    return *this;
}

EmfBuilder& EmfBuilder::Add(const std::vector<uint8_t>& record_bytes) {
    records_.push_back(record_bytes);
    return *this;
}

EmfBuilder& EmfBuilder::NoEof() {
    eof_ = false;
    return *this;
}

EmfBuilder& EmfBuilder::HeaderU32(uint32_t offset, uint32_t value) {
    overrides_.emplace_back(offset, value);
    return *this;
}

std::vector<uint8_t> EmfBuilder::Build() const {
    std::vector<std::vector<uint8_t>> all;
    all.push_back(header_.bytes());
    all.insert(all.end(), records_.begin(), records_.end());
    if (eof_) {
        all.push_back(EofRecord().bytes());
    }
    size_t total = 0;
    for (const std::vector<uint8_t>& record : all) {
        total += record.size();
    }
    RecordBuilder header = header_;
    header.U32(kHeaderBytesOffset, static_cast<uint32_t>(total));
    header.U32(kHeaderRecordsOffset, static_cast<uint32_t>(all.size()));
    for (const auto& [offset, value] : overrides_) {
        header.U32(offset, value);
    }
    std::vector<uint8_t> file(header.bytes());
    for (size_t i = 1; i < all.size(); ++i) {
        file.insert(file.end(), all[i].begin(), all[i].end());
    }
    return file;
}

namespace {

// A folder of this process's own, removed with everything in it when the process ends.
class TempFolderOfProcess {
  public:
    TempFolderOfProcess()
        : path_(std::filesystem::temp_directory_path() /
                ("orvella-tests-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolderOfProcess() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::filesystem::path TempFolder() {
    static const TempFolderOfProcess folder;
    return folder.path();
}

std::string FromEnvironment(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    std::string folder = value != nullptr && *value != 0 ? value : fallback;
#ifdef _WIN32
    // A Unix path handed to a Windows program under Wine: its root is drive Z.
    if (!folder.empty() && folder[0] == '/') {
        folder = "Z:" + folder;
    }
#endif
    return folder;
}

}  // namespace

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = TempFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

std::string CorpusDir() {
    const std::string folder = FromEnvironment("ORVELLA_CORPUS", ORVELLA_DEFAULT_CORPUS);
    std::error_code error;
    return std::filesystem::is_directory(folder, error) ? folder : std::string();
}

std::string SamplesDir() {
    return FromEnvironment("ORVELLA_SAMPLES", ORVELLA_DEFAULT_SAMPLES);
}

std::vector<std::string> ListEmfFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".emf") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

RecordBuilder FieldRecord(uint32_t type, std::initializer_list<int32_t> fields) {
    RecordBuilder record(type);
    uint32_t at = 8;
    for (const int32_t field : fields) {
        record.I32(at, field);
        at += 4;
    }
    return record;
}
