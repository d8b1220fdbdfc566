// The shared corpus of real metafiles, for the tests that sweep it.
#pragma once

#include <string>

// The corpus folder, or "" when there is none: the caller then skips. A run with CI=true must
// sweep the corpus, so there a missing folder also fails the calling test.
std::string CorpusForTest();

// Skips the calling test when the corpus is absent.
#define ORVELLA_CORPUS_OR_SKIP(corpus)                                                      \
    const std::string corpus = CorpusForTest();                                             \
    if (corpus.empty()) {                                                                   \
        GTEST_SKIP() << "no corpus folder beside the checkout (set ORVELLA_CORPUS to one)"; \
    }
