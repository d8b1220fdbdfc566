// orvella-dump diff: two metafiles compared, as a unified diff of their records or JSON lines.
#pragma once

#include <string>
#include <vector>

#include "cli/input.h"

// Runs `orvella-dump diff FILE1 FILE2 [options]` (`arguments` from argv[0]). The exit code is
// the diff command's: 0 the files draw the same, 1 they differ, 2 trouble (bad arguments, a
// file that cannot be loaded, memory).
int RunDiffCommandLine(const std::vector<std::string>& arguments,
                       const std::vector<FileName>& names);

// The usage lines of the mode, each ending in "\n".
extern const char kDiffUsage[];
