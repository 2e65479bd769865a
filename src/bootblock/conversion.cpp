#include "bootblock/conversion.h"

#include <array>
#include <cstdio>

#include "cli/exit_status.h"

namespace {

// The six sector counts that scale with the sector size, in the order in
// which they are tested. The label is the one of the reports.
struct SectorCountField {
    const char* label;
    std::size_t offset;
    std::size_t width; // bytes
    std::uint32_t maximum;
};

constexpr std::size_t kSectorCountFieldCount = 6;
constexpr std::array<SectorCountField, kSectorCountFieldCount> kSectorCountFields{{
    {"Sectors per cluster", kSectorsPerClusterOffset, 1, 0xFFU},
    {"Reserved sectors", kReservedSectorsOffset, 2, 0xFFFFU},
    {"Sectors per FAT", kSectorsPerFatOffset, 2, 0xFFFFU},
    {"Total sectors (short)", kTotalSectorsShortOffset, 2, 0xFFFFU},
    {"Hidden sectors", kHiddenSectorsOffset, 4, 0xFFFFFFFFU},
    {"Total sectors (long)", kTotalSectorsLongOffset, 4, 0xFFFFFFFFU},
}};
constexpr std::size_t kTotalShortIndex = 3;
constexpr std::size_t kTotalLongIndex = 5;

using SectorCounts = std::array<std::uint64_t, kSectorCountFieldCount>;

SectorCounts loadSectorCounts(const BootBlock& block) {
    SectorCounts counts{};
    for (std::size_t i = 0; i < kSectorCountFieldCount; ++i) {
        const SectorCountField& field = kSectorCountFields[i];
        counts[i] = field.width == 1   ? loadU8(block, field.offset)
                    : field.width == 2 ? loadLe16(block, field.offset)
                                       : loadLe32(block, field.offset);
    }
    return counts;
}

void storeSectorCounts(BootBlock& block, const SectorCounts& counts) {
    for (std::size_t i = 0; i < kSectorCountFieldCount; ++i) {
        const SectorCountField& field = kSectorCountFields[i];
        if (field.width == 1) {
            storeU8(block, field.offset, static_cast<std::uint8_t>(counts[i]));
        } else if (field.width == 2) {
            storeLe16(block, field.offset, static_cast<std::uint16_t>(counts[i]));
        } else {
            storeLe32(block, field.offset, static_cast<std::uint32_t>(counts[i]));
        }
    }
}

[[noreturn]] void refuse() { throw kStatusNotConvertible; }

// Readers place the data area after the root directory rounded up to whole
// sectors. If that rounded length changed, every cluster would be read from
// the wrong place.
void requireRootDirectoryLength(const BootBlock& block, std::uint32_t oldBytesPerSector,
                                std::uint32_t newBytesPerSector) {
    const std::uint32_t rootBytes =
        static_cast<std::uint32_t>(loadLe16(block, kRootDirectorySizeOffset)) * 32U;
    const auto roundedUp = [rootBytes](std::uint32_t sectorBytes) {
        return (rootBytes + sectorBytes - 1) / sectorBytes * sectorBytes;
    };
    if (roundedUp(oldBytesPerSector) != roundedUp(newBytesPerSector)) {
        std::fprintf(
            stderr, "Conversion impossible, because the root directory would change its length.\n");
        refuse();
    }
}

// Larger sectors: every count must divide exactly.
SectorCounts divideCounts(const SectorCounts& counts, int shift) {
    const std::uint64_t ratio = std::uint64_t{1} << shift;
    SectorCounts divided{};
    for (std::size_t i = 0; i < kSectorCountFieldCount; ++i) {
        if (counts[i] % ratio != 0) {
            std::fprintf(stderr,
                         "Conversion impossible, because not all entries are multiples of %u.\n",
                         static_cast<unsigned int>(ratio));
            refuse();
        }
        divided[i] = counts[i] >> shift;
    }
    return divided;
}

// Smaller sectors: no count may be cut to its field's width. A short total
// that outgrows 16 bits moves into the long total when that is unused, as
// the FAT format itself records totals from 65536 up.
SectorCounts multiplyCounts(const SectorCounts& counts, int shift) {
    SectorCounts multiplied{};
    bool moveShortTotal = false;
    for (std::size_t i = 0; i < kSectorCountFieldCount; ++i) {
        multiplied[i] = counts[i] << shift;
        if (multiplied[i] <= kSectorCountFields[i].maximum) {
            continue;
        }
        if (i == kTotalShortIndex && counts[kTotalLongIndex] == 0) {
            moveShortTotal = true;
            continue;
        }
        std::fprintf(stderr, "Conversion impossible, because %s would exceed %lu.\n",
                     kSectorCountFields[i].label,
                     static_cast<unsigned long>(kSectorCountFields[i].maximum));
        refuse();
    }
    if (moveShortTotal) {
        multiplied[kTotalLongIndex] = multiplied[kTotalShortIndex];
        multiplied[kTotalShortIndex] = 0;
    }
    return multiplied;
}

} // namespace

void convertSectorSize(BootBlock& block, SectorSizeCode targetSizeCode) {
    const std::uint16_t bytesPerSector = loadLe16(block, kBytesPerSectorOffset);
    const SectorSizeCode volumeSizeCode = sectorSizeCode(bytesPerSector);
    if (volumeSizeCode == kUnsupportedSectorSize) {
        std::fprintf(stderr, "Sector size %u cannot be converted.\n",
                     static_cast<unsigned int>(bytesPerSector));
        throw kStatusUnsupportedVolume;
    }
    if (volumeSizeCode == targetSizeCode) {
        std::printf("\nDevice has %u bytes per sector. No changes made.\n",
                    static_cast<unsigned int>(bytesPerSector));
        std::fflush(stdout);
        throw kStatusSuccess;
    }

    // Every test comes before the first field changes, so a refused
    // conversion leaves the block as it was read.
    const std::uint32_t newBytesPerSector = std::uint32_t{1} << targetSizeCode;
    const int shift = volumeSizeCode - targetSizeCode;
    const SectorCounts counts = loadSectorCounts(block);
    const SectorCounts converted =
        shift > 0 ? multiplyCounts(counts, shift) : divideCounts(counts, -shift);
    requireRootDirectoryLength(block, bytesPerSector, newBytesPerSector);

    storeLe16(block, kBytesPerSectorOffset, static_cast<std::uint16_t>(newBytesPerSector));
    storeSectorCounts(block, converted);
}

void printChangedReport(const BootBlock& block) {
    std::printf("\nParameters changed:\n"
                "  Bytes per sector:      %i\n"
                "  Sectors per cluster:   %i\n"
                "  Reserved sectors:      %i\n"
                "  Sectors per FAT:       %i\n"
                "  Hidden sectors:        %lu\n"
                "  Total sectors (short): %i\n"
                "  Total sectors (long):  %lu\n"
                "  Serial number:         %lX\n"
                "\nDevice successfully converted.\n",
                static_cast<int>(loadLe16(block, kBytesPerSectorOffset)),
                static_cast<int>(loadU8(block, kSectorsPerClusterOffset)),
                static_cast<int>(loadLe16(block, kReservedSectorsOffset)),
                static_cast<int>(loadLe16(block, kSectorsPerFatOffset)),
                static_cast<unsigned long>(loadLe32(block, kHiddenSectorsOffset)),
                static_cast<int>(loadLe16(block, kTotalSectorsShortOffset)),
                static_cast<unsigned long>(loadLe32(block, kTotalSectorsLongOffset)),
                static_cast<unsigned long>(loadLe32(block, kSerialNumberOffset)));
    std::fflush(stdout);
}
