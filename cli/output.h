// orvella-dump's standard output and standard error: UTF-8 when redirected, escaped on a
// terminal, the characters themselves on a Windows console.
#pragma once

#include <string_view>

// One output stream: see output.cpp.
class Output;
Output& Out();
Output& Err();
void Write(Output& out, std::u16string_view text);
void Write(Output& out, std::string_view ascii);

// Makes a closed pipe end the program at once, even when the caller ignored the signal.
void EndQuietlyWhenTheReaderGoes();

// The exit code of a report that could not be written whole or ran out of memory: 1 unless
// set, 2 for a mode whose 1 means something else.
void SetFailureStatus(int status);

// Flushes both streams and returns `status`, or the failure status after saying so on
// standard error when the report could not be written whole.
int FinishOutput(int status);

// Says the program ran out of memory; the exit code.
int OutOfMemory();
