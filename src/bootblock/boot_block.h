#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The first 2048 bytes of the volume, read and written back in one piece.
// Its first 512 bytes hold the FAT boot sector with the BIOS Parameter Block.
inline constexpr std::size_t kBootBlockSize = 2048;
using BootBlock = std::array<std::uint8_t, kBootBlockSize>;

// Field offsets in the boot block, with their widths. Multi-byte numbers are
// little-endian and several start at odd offsets, so they are only ever read
// and written byte by byte through the helpers below.
inline constexpr std::size_t kOemIdOffset = 3;              // 8 bytes, text
inline constexpr std::size_t kBytesPerSectorOffset = 11;    // 2
inline constexpr std::size_t kSectorsPerClusterOffset = 13; // 1
inline constexpr std::size_t kReservedSectorsOffset = 14;   // 2
inline constexpr std::size_t kNumberOfFatsOffset = 16;      // 1
inline constexpr std::size_t kRootDirectorySizeOffset = 17; // 2, in 32-byte entries
inline constexpr std::size_t kTotalSectorsShortOffset = 19; // 2
inline constexpr std::size_t kMediaByteOffset = 21;         // 1
inline constexpr std::size_t kSectorsPerFatOffset = 22;     // 2
inline constexpr std::size_t kSectorsPerTrackOffset = 24;   // 2
inline constexpr std::size_t kHeadsOffset = 26;             // 2
inline constexpr std::size_t kHiddenSectorsOffset = 28;     // 4
inline constexpr std::size_t kTotalSectorsLongOffset = 32;  // 4
inline constexpr std::size_t kSerialNumberOffset = 39;      // 4
inline constexpr std::size_t kVolumeNameOffset = 43;        // 11 bytes, text
inline constexpr std::size_t kFileSystemIdOffset = 54;      // 8 bytes, text
inline constexpr std::size_t kBootSignatureOffset = 510;    // 2

inline constexpr std::size_t kOemIdWidth = 8;
inline constexpr std::size_t kVolumeNameWidth = 11;
inline constexpr std::size_t kFileSystemIdWidth = 8;

inline constexpr std::uint16_t kBootSignature = 0xAA55;

std::uint8_t loadU8(const BootBlock& block, std::size_t offset);
std::uint16_t loadLe16(const BootBlock& block, std::size_t offset);
std::uint32_t loadLe32(const BootBlock& block, std::size_t offset);
void storeU8(BootBlock& block, std::size_t offset, std::uint8_t value);
void storeLe16(BootBlock& block, std::size_t offset, std::uint16_t value);
void storeLe32(BootBlock& block, std::size_t offset, std::uint32_t value);

// Base-2 logarithm of a supported logical sector size: 8 for 256 bytes,
// 9 for 512, 10 for 1024, 11 for 2048, and -1 for every other size.
using SectorSizeCode = int;
inline constexpr SectorSizeCode kUnsupportedSectorSize = -1;
SectorSizeCode sectorSizeCode(std::uint32_t bytesPerSector);

// Passes, or writes its message to standard error and throws status 5
// (signature) or 4 (file system ID).
void checkBootBlock(const BootBlock& block);

// Writes the boot block report to standard output.
void printBootBlockReport(const BootBlock& block);
