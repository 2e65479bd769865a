#include <gtest/gtest.h>

#include <string>

#include "boot_block_builder.h"
#include "bootblock/conversion.h"
#include "bootblock/serial_number.h"
#include "case_name.h"
#include "cli/exit_status.h"

namespace {

constexpr int kCompleted = -1; // the conversion returned instead of ending the run

// One conversion: the volume's fields, the target, and either the converted
// fields or the status, message and untouched block of a run that ends here.
struct ConversionCase {
    const char* name;
    BootSectorFields before;
    SectorSizeCode target;
    int status;
    const char* out;
    const char* error;
    BootSectorFields after; // used when status is kCompleted
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

BootSectorFields fields(std::uint16_t bytesPerSector, std::uint8_t sectorsPerCluster,
                        std::uint16_t reservedSectors, std::uint16_t sectorsPerFat,
                        std::uint16_t totalSectorsShort, std::uint32_t hiddenSectors,
                        std::uint32_t totalSectorsLong, std::uint16_t rootDirectorySize = 512) {
    BootSectorFields f;
    f.bytesPerSector = bytesPerSector;
    f.sectorsPerCluster = sectorsPerCluster;
    f.reservedSectors = reservedSectors;
    f.sectorsPerFat = sectorsPerFat;
    f.totalSectorsShort = totalSectorsShort;
    f.hiddenSectors = hiddenSectors;
    f.totalSectorsLong = totalSectorsLong;
    f.rootDirectorySize = rootDirectorySize;
    return f;
}

class ConvertSectorSizeTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConvertSectorSizeTest, RescalesOrEndsTheRunWithTheBlockUntouched) {
    const ConversionCase& c = GetParam();
    BootBlock block = makeBootBlock(c.before);
    const BootBlock original = block;

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = kCompleted;
    try {
        convertSectorSize(block, c.target);
    } catch (int thrown) {
        status = thrown;
    }
    const std::string error = testing::internal::GetCapturedStderr();
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(error, c.error);
    // Comparing whole blocks also proves that no other byte changed.
    EXPECT_EQ(block, status == kCompleted ? makeBootBlock(c.after) : original);
}

const char* const kRootMoves =
    "Conversion impossible, because the root directory would change its length.\n";

INSTANTIATE_TEST_SUITE_P(
    Conversions, ConvertSectorSizeTest,
    testing::Values(
        ConversionCase{"SameSizeChangesNothing", fields(2048, 8, 1, 60, 0, 0, 100000), 11, 0,
                       "\nDevice has 2048 bytes per sector. No changes made.\n", ""},
        ConversionCase{"SameSizeEvenWhenNotDivisible", fields(512, 1, 1, 9, 2880, 0, 0, 224), 9, 0,
                       "\nDevice has 512 bytes per sector. No changes made.\n", ""},
        ConversionCase{"UnsupportedVolumeSize", fields(4096, 1, 1, 8, 1000, 0, 0), 9, 3, "",
                       "Sector size 4096 cannot be converted.\n"},
        ConversionCase{"ZeroSectorSize", fields(0, 1, 1, 8, 1000, 0, 0), 11, 3, "",
                       "Sector size 0 cannot be converted.\n"},
        ConversionCase{"From2048To512", fields(2048, 8, 1, 60, 0, 0, 100000), 9, kCompleted, "", "",
                       fields(512, 32, 4, 240, 0, 0, 400000)},
        ConversionCase{"From512To2048", fields(512, 4, 4, 248, 800, 0, 0), 11, kCompleted, "", "",
                       fields(2048, 1, 1, 62, 200, 0, 0)},
        ConversionCase{"From256To2048", fields(256, 8, 8, 16, 4096, 8, 0), 11, kCompleted, "", "",
                       fields(2048, 1, 1, 2, 512, 1, 0)},
        ConversionCase{"From2048To256", fields(2048, 4, 1, 3, 8000, 2, 0), 8, kCompleted, "", "",
                       fields(256, 32, 8, 24, 64000, 16, 0)},
        ConversionCase{"From1024To512WithHiddenSectors", fields(1024, 2, 1, 3, 0, 63, 70000), 9,
                       kCompleted, "", "", fields(512, 4, 2, 6, 0, 126, 140000)},
        ConversionCase{"OneReservedSectorIsNotAMultipleOf4", fields(512, 4, 1, 248, 800, 0, 0), 11,
                       2, "",
                       "Conversion impossible, because not all entries are multiples of 4.\n"},
        ConversionCase{"OddHiddenSectors", fields(512, 4, 4, 248, 800, 63, 0), 10, 2, "",
                       "Conversion impossible, because not all entries are multiples of 2.\n"},
        ConversionCase{"From256NeedsMultiplesOf8", fields(256, 8, 8, 16, 4100, 0, 0), 11, 2, "",
                       "Conversion impossible, because not all entries are multiples of 8.\n"},
        // 224 entries are 7168 bytes: 14 sectors of 512, but 4 of 2048.
        ConversionCase{"RootDirectoryWouldGrow", fields(512, 4, 4, 248, 800, 0, 0, 224), 11, 2, "",
                       kRootMoves},
        ConversionCase{"RootDirectoryWouldShrink", fields(2048, 1, 1, 8, 1000, 0, 0, 16), 9, 2, "",
                       kRootMoves},
        ConversionCase{"DivisibilityIsTestedBeforeTheRootDirectory",
                       fields(512, 4, 1, 248, 800, 0, 0, 224), 11, 2, "",
                       "Conversion impossible, because not all entries are multiples of 4.\n"},
        ConversionCase{"WidthIsTestedBeforeTheRootDirectory",
                       fields(2048, 128, 1, 8, 1000, 0, 0, 16), 9, 2, "",
                       "Conversion impossible, because Sectors per cluster would exceed 255.\n"},
        ConversionCase{"RootDirectoryOfWholeSectorsBothWays", fields(1024, 2, 2, 4, 1000, 0, 0, 64),
                       11, kCompleted, "", "", fields(2048, 1, 1, 2, 500, 0, 0, 64)},
        ConversionCase{"ShortTotalAtItsLimitStays", fields(2048, 1, 1, 8, 16383, 0, 0), 9,
                       kCompleted, "", "", fields(512, 4, 4, 32, 65532, 0, 0)},
        ConversionCase{"ShortTotalMovesToTheLongTotal", fields(2048, 1, 1, 8, 16384, 0, 0), 9,
                       kCompleted, "", "", fields(512, 4, 4, 32, 0, 0, 65536)},
        ConversionCase{"ShortTotalMovesAtAnyRatio", fields(2048, 1, 1, 8, 65535, 0, 0), 8,
                       kCompleted, "", "", fields(256, 8, 8, 64, 0, 0, 524280)},
        ConversionCase{"SectorsPerClusterOverflows", fields(2048, 64, 1, 8, 1000, 0, 0), 9, 2, "",
                       "Conversion impossible, because Sectors per cluster would exceed 255.\n"},
        ConversionCase{"ReservedSectorsOverflow", fields(2048, 1, 16384, 8, 0, 0, 100000), 9, 2, "",
                       "Conversion impossible, because Reserved sectors would exceed 65535.\n"},
        ConversionCase{"SectorsPerFatOverflow", fields(2048, 1, 1, 32768, 0, 0, 100000), 10, 2, "",
                       "Conversion impossible, because Sectors per FAT would exceed 65535.\n"},
        ConversionCase{
            "ShortTotalCannotMoveWhenLongTotalIsUsed", fields(2048, 1, 1, 8, 20000, 0, 20000), 9, 2,
            "", "Conversion impossible, because Total sectors (short) would exceed 65535.\n"},
        ConversionCase{"HiddenSectorsOverflow", fields(2048, 1, 1, 8, 1000, 0x40000000U, 0), 9, 2,
                       "",
                       "Conversion impossible, because Hidden sectors would exceed 4294967295.\n"},
        ConversionCase{"LongTotalOverflows", fields(2048, 1, 1, 8, 0, 0, 0x20000000U), 8, 2, "",
                       "Conversion impossible, because Total sectors (long) would exceed "
                       "4294967295.\n"},
        ConversionCase{"FirstOverflowingFieldIsNamed",
                       fields(2048, 128, 65535, 65535, 0, 0, 0xFFFFFFFFU), 9, 2, "",
                       "Conversion impossible, because Sectors per cluster would exceed 255.\n"},
        ConversionCase{"LaterFieldNamedWhenEarlierOnesFit",
                       fields(2048, 1, 16384, 65535, 0, 0, 1000), 9, 2, "",
                       "Conversion impossible, because Reserved sectors would exceed 65535.\n"}),
    CaseName{});

TEST(ChangedReport, PrintsTheFieldsWithHiddenSectorsBeforeTheTotals) {
    BootSectorFields f = fields(512, 32, 4, 240, 0, 4294967295U, 400000);
    f.serialNumber = 0x00C0FFEE;
    testing::internal::CaptureStdout();
    printChangedReport(makeBootBlock(f));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nParameters changed:\n"
                                                      "  Bytes per sector:      512\n"
                                                      "  Sectors per cluster:   32\n"
                                                      "  Reserved sectors:      4\n"
                                                      "  Sectors per FAT:       240\n"
                                                      "  Hidden sectors:        4294967295\n"
                                                      "  Total sectors (short): 0\n"
                                                      "  Total sectors (long):  400000\n"
                                                      "  Serial number:         C0FFEE\n"
                                                      "\nDevice successfully converted.\n");
}

TEST(ChangedReport, WidensWithoutSign) {
    BootSectorFields f = fields(2048, 255, 65535, 40000, 50000, 0, 0);
    testing::internal::CaptureStdout();
    printChangedReport(makeBootBlock(f));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("  Sectors per cluster:   255\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  Reserved sectors:      65535\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  Sectors per FAT:       40000\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  Total sectors (short): 50000\n"), std::string::npos) << out;
}

TEST(SerialGenerator, FirstValuesOfAFreshGenerator) {
    SerialGenerator generator;
    EXPECT_EQ(nextValue(generator), 41U);
    EXPECT_EQ(nextValue(generator), 18467U);
    EXPECT_EQ(nextValue(generator), 6334U);
    EXPECT_EQ(nextValue(generator), 26500U);
    EXPECT_EQ(nextValue(generator), 19169U);
    EXPECT_EQ(nextValue(generator), 15724U);
}

TEST(SerialGenerator, SerialNumbersAddOverlappingTermsModulo2To32) {
    SerialGenerator generator;
    EXPECT_EQ(makeSerialNumber(generator), 0x0C8130BEU);
    // 26500 << 22 no longer fits 32 bits; the high bits are dropped.
    EXPECT_EQ(makeSerialNumber(generator), 0xE357456CU);
}

} // namespace
