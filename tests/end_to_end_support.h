#pragma once

#include <string>
#include <vector>

#include "bootblock/boot_block.h"
#include "process_runner.h"

// The program under test, as built.
inline const std::string kProgram = RESEC_PROGRAM;

inline ProcessResult runResec(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{kProgram};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv);
}

// A volume image: the boot block followed by zero bytes up to the size.
inline std::string imageBytes(const BootBlock& block, std::size_t size) {
    std::string bytes(block.begin(), block.end());
    bytes.resize(size, '\0');
    return bytes;
}
