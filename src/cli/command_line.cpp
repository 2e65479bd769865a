#include "cli/command_line.h"

#include <cstdio>

#include "cli/exit_status.h"

void printUsage() {
#ifdef _WIN32
    std::printf("RESEC V 0.9\n\nusage: RESEC <driveletter>: [options]\n\n"
                "options: /s#  change logical sector size to #, default 2048\n");
#else
    std::printf("RESEC V 0.9\n\nusage: RESEC <device> [options]\n\n"
                "options: -s#  change logical sector size to #, default 2048\n");
#endif
}

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

std::uint32_t scanUnsigned(const char* text) {
    while (isCSpace(*text)) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10U + static_cast<std::uint32_t>(*text - '0');
    }
    return negative ? 0U - value : value;
}

int parseCommandLine(int argc, const char* const* argv, RunSettings& settings,
                     std::string_view optionPrefixes) {
    for (int index = argc - 1; index >= 1; --index) {
        const char* argument = argv[index];
        const bool isOption =
            argument[0] != '\0' && optionPrefixes.find(argument[0]) != std::string_view::npos;
        if (!isOption) {
            if (settings.positionalArgument) {
                std::fprintf(stderr, "Command line syntax error at %s.\n", argument);
                return kStatusSyntaxError;
            }
            settings.positionalArgument = argument;
            continue;
        }
        const char letter = toUpperAscii(argument[1]);
        if (letter == 'N') {
            settings.newSerial = true;
        } else if (letter == 'S') {
            const std::uint32_t requestedSize = scanUnsigned(argument + 2);
            const SectorSizeCode code = sectorSizeCode(requestedSize);
            if (code == kUnsupportedSectorSize) {
                std::fprintf(stderr, "Sectorsize %u not supported.\n",
                             static_cast<unsigned int>(requestedSize));
                return kStatusUnsupportedSize;
            }
            settings.targetSizeCode = code;
        } else {
            std::fprintf(stderr, "Unrecognized option %s.\n", argument);
            return kStatusSyntaxError;
        }
    }
    settings.driveArgument = argv[1];
    return kStatusSuccess;
}
