#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bootblock/boot_block.h"

// The parsed command line, one record for the run.
struct RunSettings {
    std::string driveArgument;                     // always argv[1]
    SectorSizeCode targetSizeCode = 11;            // 2048 bytes per sector
    bool newSerial = false;                        // the N option
    std::optional<std::string> positionalArgument; // the non-option argument met so far
};

// Characters that introduce an option. Windows takes "/" and "-"; elsewhere
// only "-", because "/" starts every absolute path.
#ifdef _WIN32
inline constexpr std::string_view kOptionPrefixes = "/-";
#else
inline constexpr std::string_view kOptionPrefixes = "-";
#endif

// Writes the usage text to standard output.
void printUsage();

// The C library's "%u" conversion: skips leading white space, takes one
// optional sign, then decimal digits up to the first other character,
// modulo 2 to the power 32; "-" negates. Without a digit the result is 0.
std::uint32_t scanUnsigned(const char* text);

// Parses argv[1] .. argv[argc-1], last to first, into settings. Returns 0
// when the run may go on, or the status (10 or 11) after writing the
// message to standard error. Requires argc >= 2.
int parseCommandLine(int argc, const char* const* argv, RunSettings& settings,
                     std::string_view optionPrefixes = kOptionPrefixes);
