// The call text of a test record as UTF-8, so that test failures read as plain text.
#pragma once

#include <string>

#include "document/record_view.h"
#include "tests/support/emf_builder.h"

// Sets the verbose flag to `verbose`, builds the record's call text and returns it as UTF-8.
std::string CallTextUtf8(RecordView record, int verbose = 0);
std::string CallTextUtf8(const RecordBuilder& record, int verbose = 0);
