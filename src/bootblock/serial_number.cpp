#include "bootblock/serial_number.h"

std::uint32_t nextValue(SerialGenerator& generator) {
    generator.state = generator.state * 214013U + 2531011U;
    return (generator.state >> 16) & 0x7FFFU;
}

std::uint32_t makeSerialNumber(SerialGenerator& generator) {
    const std::uint32_t r1 = nextValue(generator);
    const std::uint32_t r2 = nextValue(generator);
    const std::uint32_t r3 = nextValue(generator);
    return (r1 * 2048U + r2) * 2048U + r3;
}

void storeNewSerialNumber(BootBlock& block) {
    static SerialGenerator processGenerator;
    storeLe32(block, kSerialNumberOffset, makeSerialNumber(processGenerator));
}
