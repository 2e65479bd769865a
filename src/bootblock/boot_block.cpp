#include "bootblock/boot_block.h"

#include <cstdio>
#include <cstring>

#include "cli/exit_status.h"

std::uint8_t loadU8(const BootBlock& block, std::size_t offset) { return block.at(offset); }

std::uint16_t loadLe16(const BootBlock& block, std::size_t offset) {
    return static_cast<std::uint16_t>(block.at(offset) | (block.at(offset + 1) << 8));
}

std::uint32_t loadLe32(const BootBlock& block, std::size_t offset) {
    return static_cast<std::uint32_t>(block.at(offset)) |
           (static_cast<std::uint32_t>(block.at(offset + 1)) << 8) |
           (static_cast<std::uint32_t>(block.at(offset + 2)) << 16) |
           (static_cast<std::uint32_t>(block.at(offset + 3)) << 24);
}

void storeU8(BootBlock& block, std::size_t offset, std::uint8_t value) { block.at(offset) = value; }

void storeLe16(BootBlock& block, std::size_t offset, std::uint16_t value) {
    block.at(offset) = static_cast<std::uint8_t>(value & 0xFFU);
    block.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void storeLe32(BootBlock& block, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        block.at(offset + i) = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFU);
    }
}

SectorSizeCode sectorSizeCode(std::uint32_t bytesPerSector) {
    switch (bytesPerSector) {
    case 256:
        return 8;
    case 512:
        return 9;
    case 1024:
        return 10;
    case 2048:
        return 11;
    default:
        return kUnsupportedSectorSize;
    }
}

namespace {

// A fixed-width text field with a terminator added, so that "%.Ns" never
// reads past the field. Printing still stops at an earlier zero byte.
struct TextField {
    char text[16];
};

TextField textField(const BootBlock& block, std::size_t offset, std::size_t width) {
    TextField field{};
    for (std::size_t i = 0; i < width; ++i) {
        field.text[i] = static_cast<char>(block.at(offset + i));
    }
    return field;
}

} // namespace

void checkBootBlock(const BootBlock& block) {
    const std::uint16_t signature = loadLe16(block, kBootSignatureOffset);
    if (signature != kBootSignature) {
        std::fprintf(stderr,
                     "Error: illagal magic code %x. - Sector 0 seems to contain no valid data.\n",
                     static_cast<unsigned int>(signature));
        throw kStatusBadSignature;
    }
    const TextField fileSystemId = textField(block, kFileSystemIdOffset, kFileSystemIdWidth);
    if (std::strncmp(fileSystemId.text, "FAT", 3) != 0) {
        std::fprintf(stderr,
                     "Error: illegal filesystem-ID %.8s. - This tool is only designed for FAT "
                     "superfloppy volumes.\n",
                     fileSystemId.text);
        throw kStatusNotFat;
    }
}

void printBootBlockReport(const BootBlock& block) {
    const TextField fileSystemId = textField(block, kFileSystemIdOffset, kFileSystemIdWidth);
    const TextField oemId = textField(block, kOemIdOffset, kOemIdWidth);
    const TextField volumeName = textField(block, kVolumeNameOffset, kVolumeNameWidth);
    std::printf("\nBoot block information:\n"
                "  File system ID:        %.8s\n"
                "  OEM ID:                %.8s\n"
                "  Bytes per sector:      %i\n"
                "  Sectors per cluster:   %i\n"
                "  Reserved sectors:      %i\n"
                "  Number of FATs:        %i\n"
                "  Size of root directory:%i\n"
                "  Total sectors (short): %i\n"
                "  Media byte:            %X\n"
                "  Sectors per FAT:       %i\n"
                "  Sectors per track:     %i\n"
                "  Heads:                 %i\n"
                "  Hidden sectors:        %lu\n"
                "  Total sectors (long):  %lu\n"
                "  Serial number:         %lX\n"
                "  Volume name:           %.11s\n",
                fileSystemId.text, oemId.text,
                static_cast<int>(loadLe16(block, kBytesPerSectorOffset)),
                static_cast<int>(loadU8(block, kSectorsPerClusterOffset)),
                static_cast<int>(loadLe16(block, kReservedSectorsOffset)),
                static_cast<int>(loadU8(block, kNumberOfFatsOffset)),
                static_cast<int>(loadLe16(block, kRootDirectorySizeOffset)),
                static_cast<int>(loadLe16(block, kTotalSectorsShortOffset)),
                static_cast<unsigned int>(loadU8(block, kMediaByteOffset)),
                static_cast<int>(loadLe16(block, kSectorsPerFatOffset)),
                static_cast<int>(loadLe16(block, kSectorsPerTrackOffset)),
                static_cast<int>(loadLe16(block, kHeadsOffset)),
                static_cast<unsigned long>(loadLe32(block, kHiddenSectorsOffset)),
                static_cast<unsigned long>(loadLe32(block, kTotalSectorsLongOffset)),
                static_cast<unsigned long>(loadLe32(block, kSerialNumberOffset)), volumeName.text);
    // Keep the order of the calls when standard output and standard error
    // share one destination: an error may follow the report.
    std::fflush(stdout);
}
