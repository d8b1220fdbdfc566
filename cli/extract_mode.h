// orvella-dump extract: the pictures, documents and profiles a metafile carries, listed with
// a verdict on each, or written into a folder as files of their own.
#pragma once

#include <string>
#include <vector>

#include "cli/input.h"

// The mode's usage line, after "orvella-dump ".
inline constexpr char kExtractUsage[] = "extract FILE [--list] [--out DIR]";

// Runs `orvella-dump extract ...` (`arguments` from argv[0], `names` the same as file names).
// 0 when done; 1 when the file cannot be loaded or a file to be written exists or cannot be
// written (each said on standard error); 2 on bad arguments.
int RunExtractCommandLine(const std::vector<std::string>& arguments,
                          const std::vector<FileName>& names);
