#pragma once

#include <cstdint>
#include <string>

#include "bootblock/boot_block.h"

// The parameter block of a boot sector, field by field. The defaults are
// those of a 1.44 MB floppy formatted by MS-DOS 5.
struct BootSectorFields {
    std::string oemId = "MSDOS5.0";
    std::uint16_t bytesPerSector = 512;
    std::uint8_t sectorsPerCluster = 1;
    std::uint16_t reservedSectors = 1;
    std::uint8_t numberOfFats = 2;
    std::uint16_t rootDirectorySize = 224;
    std::uint16_t totalSectorsShort = 2880;
    std::uint8_t mediaByte = 0xF0;
    std::uint16_t sectorsPerFat = 9;
    std::uint16_t sectorsPerTrack = 18;
    std::uint16_t heads = 2;
    std::uint32_t hiddenSectors = 0;
    std::uint32_t totalSectorsLong = 0;
    std::uint32_t serialNumber = 0x1A2B3C4D;
    std::string volumeName = "NO NAME    ";
    std::string fileSystemId = "FAT12   ";
};

// A boot block with the jump code, the fields, the extended boot signature
// 0x29, the 0xAA55 signature, and a recognisable pattern in every byte that
// the fields do not cover. Text longer than its field is cut; shorter text
// is followed by zero bytes.
BootBlock makeBootBlock(const BootSectorFields& fields);
