// No file crashes the GDI+ players: the corrupted corpus, every generated hostile file, and EMF+
// records mutated at random, each played to its last record, zoomed, and stepped by EMF+
// records, from the start and paused.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "canvas/dib_surface_win.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/paused_gdiplus_player_win.h"
#include "document/record_filter.h"
#include "emfplus/emfplus_steps.h"
#include "emfplus/emfplus_walk.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/support/hostile_metafiles.h"

namespace {

// Plays the loaded document as the canvas would in GDI+ mode: the last record, from the start
// and paused, at its size and zoomed partly off the surface, then EMF+ record by EMF+ record.
void PlayEveryWay() {
    const int32_t count = g_document.Store().count();
    if (count <= 0) {
        return;
    }
    RecordFilter filter;
    filter.Reset(count);
    DibSurface surface(200, 150);
    for (const RECT& picture : {RECT{10, 10, 190, 140}, RECT{-300, -170, 700, 500}}) {
        PlayUpTo(kGdiPlusPlayer, surface.dc(), picture, g_document, &filter, count - 1, -1);
        PlayUpTo(kPausedGdiPlusPlayer, surface.dc(), picture, g_document, &filter, count - 1, -1);
    }
    PlaybackPlace at{0, -1};
    for (int step = 0; step < 12 && StepEmfPlusRecord(g_document, &filter, at, true, &at); ++step) {
        PlayUpTo(kPausedGdiPlusPlayer, surface.dc(), RECT{10, 10, 190, 140}, g_document, &filter,
                 at.record, at.place);
    }
    EndGdiPlusPlayback();
}

void PlayFile(const std::string& path) {
    if (g_document.LoadFile(ToU16(path).c_str()) != 0) {
        PlayEveryWay();
    }
}

TEST(GdiPlusHostileCorpus, PlaysTheCorruptedCorpusAndEveryGeneratedFile) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    for (const std::string& path : ListEmfFiles(corpus + "/corrupted")) {
        SCOPED_TRACE(path);
        PlayFile(path);
    }
    for (const auto& files : {MalformedMetafiles(), HostileMetafiles(), EveryTypeMetafiles()}) {
        for (const HostileMetafile& file : files) {
            SCOPED_TRACE(file.name);
            PlayFile(WriteTempFile("gdiplus-" + file.name + ".emf", file.bytes));
        }
    }
}

// The EMF+ records of the corpus's EMF+ files, their bytes after the head changed at random
// (a few bytes each time, words at the limits among them): the guard keeps what GDI+ must not
// be given from it.
TEST(GdiPlusHostileCorpus, PlaysMutatedEmfPlusRecords) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    std::vector<std::vector<uint8_t>> sources;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        std::vector<uint8_t> bytes = ReadFileBytes(path);
        if (bytes.size() < 200000 &&
            std::string(bytes.begin(), bytes.end()).find("EMF+") != std::string::npos) {
            sources.push_back(std::move(bytes));
        }
    }
    ASSERT_FALSE(sources.empty());
    std::mt19937 random(20261208);
    constexpr uint32_t kLimits[] = {0, 1, 0x7F, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 0x40};
    for (int mutant = 0; mutant < 150; ++mutant) {
        std::vector<uint8_t> bytes = sources[random() % sources.size()];
        // The data of the EMF+ comments: from 16 bytes into each such record to its end.
        std::vector<std::pair<size_t, size_t>> spans;
        for (size_t at = 0; at + 16 <= bytes.size();) {
            uint32_t type, size, identifier;
            std::memcpy(&type, &bytes[at], 4);
            std::memcpy(&size, &bytes[at + 4], 4);
            std::memcpy(&identifier, &bytes[at + 12], 4);
            if (size < 8 || size > bytes.size() - at) {
                break;
            }
            if (type == 70 && identifier == kEmfPlusIdentifier && size > 28) {
                spans.emplace_back(at + 16, at + size);
            }
            at += size;
        }
        if (spans.empty()) {
            continue;
        }
        for (int change = 0; change < 6; ++change) {
            const auto [begin, end] = spans[random() % spans.size()];
            const size_t at = begin + random() % (end - begin);
            if (random() % 2 == 0 && at + 4 <= end) {
                const uint32_t word = kLimits[random() % std::size(kLimits)];
                std::memcpy(&bytes[at], &word, 4);
            } else {
                bytes[at] = static_cast<uint8_t>(random());
            }
        }
        SCOPED_TRACE(mutant);
        PlayFile(WriteTempFile("gdiplus-mutant.emf", bytes));
    }
}

}  // namespace
