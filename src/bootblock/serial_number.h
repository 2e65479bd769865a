#pragma once

#include <cstdint>

#include "bootblock/boot_block.h"

// The C runtime's classic linear congruential generator, seeded with 1.
struct SerialGenerator {
    std::uint32_t state = 1;
};

// Advances the state and returns bits 16 to 30 of it: 0 to 32767.
std::uint32_t nextValue(SerialGenerator& generator);

// Three successive values r1, r2, r3 combined as (r1 * 2048 + r2) * 2048 + r3,
// modulo 2 to the power 32. The terms overlap, so they are added.
std::uint32_t makeSerialNumber(SerialGenerator& generator);

// Stores a serial number from the process's own generator, which is never
// reseeded: the first one drawn is always C8130BE.
void storeNewSerialNumber(BootBlock& block);
