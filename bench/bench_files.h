// The files the benchmarks run on: a generated metafile of 250,000 mixed records, and the
// largest real file of the shared corpus when it is there.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/metafile_document.h"

// The files, as benchmark arguments.
enum BenchFile : int64_t {
    kGeneratedFile = 0,
    kCorpusFile = 1,
};

inline constexpr int32_t kGeneratedRecords = 250000;

// The path of a bench file, made on first use for the generated one; "" when the corpus file
// is not there.
const std::string& BenchFilePath(int64_t file);

// The document of a bench file, loaded once and kept for the whole run; nullptr when the file
// is not there. SkipWithError is called on `state` then.
const MetafileDocument* LoadedBenchFile(int64_t file, benchmark::State& state);

// Families of record types, as the formatters group them.
enum RecordFamily : int64_t {
    kFamilyText,
    kFamilyFont,
    kFamilyPointList,
    kFamilyBitmap,
    kFamilyRegion,
    kFamilyObject,
    kFamilyShape,
    kFamilyState,
    kFamilyUntranslated,
    kFamilyCount,
};

RecordFamily FamilyOfType(uint32_t type);
const char* FamilyName(int64_t family);

// The positions of the records of one family in a document (the header and the end-of-file
// record left out, as the call list leaves them out).
std::vector<int32_t> RecordsOfFamily(const MetafileDocument& document, int64_t family);

// Labels a benchmark with its file's name.
void LabelWithFile(benchmark::State& state, int64_t file, const std::string& extra = "");
