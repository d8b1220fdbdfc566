// Why a file could not be loaded, in the plain ASCII words that follow "cannot load FILE: ",
// shared by the window's message and orvella-dump.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr char kFailureTooLarge[] = "larger than Orvella reads (4294967295 bytes at most)";
inline constexpr char kFailureOutOfMemory[] = "out of memory";
inline constexpr char kFailureFolder[] = "it is a folder";

struct LoadFailure {
    // Empty when nothing failed.
    char text[192] = {};

    // Replaces the text with `words`, cut to fit.
    void Say(const char* words);
};

// Says `words` in `failure` when there is one to say it in.
inline void SayFailure(LoadFailure* failure, const char* words) {
    if (failure != nullptr) {
        failure->Say(words);
    }
}

// Why `bytes` are no enhanced metafile the direct reader opens, with the values that make them
// none; an empty text when they are one.
void ExplainRefusal(const uint8_t* bytes, size_t size, LoadFailure* out);
