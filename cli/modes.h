// orvella-dump's modes, one table that runs them and makes the usage text, and the parsing of
// the command line by that table.
#pragma once

#include <string>
#include <vector>

#include "cli/input.h"

// Runs the command line `arguments` (argv[0] included; `names` the same as file names): the
// usage, the version, or a mode on a file. The exit code: 0, 1 when the file could not be
// loaded or the report not made, 2 on bad arguments.
int RunCommandLine(const std::vector<std::string>& arguments, const std::vector<FileName>& names);
