#pragma once

#include "cli/command_line.h"

// Opens the volume and runs every stage up to the end inside the run frame;
// returns the exit status.
int runConversion(const RunSettings& settings);

// The whole program: usage text, parsing, run.
int runMain(int argc, const char* const* argv);
