#include <gtest/gtest.h>

#include <string>

#include "boot_block_builder.h"
#include "bootblock/boot_block.h"
#include "case_name.h"
#include "cli/exit_status.h"

namespace {

TEST(LittleEndianFields, ReadAndWriteAtOddOffsetsWithoutTouchingNeighbours) {
    BootBlock block{};
    block.fill(0xEE);
    storeLe32(block, kSerialNumberOffset, 0x12345678U);
    EXPECT_EQ(block[38], 0xEE);
    EXPECT_EQ(block[39], 0x78);
    EXPECT_EQ(block[40], 0x56);
    EXPECT_EQ(block[41], 0x34);
    EXPECT_EQ(block[42], 0x12);
    EXPECT_EQ(block[43], 0xEE);
    EXPECT_EQ(loadLe32(block, kSerialNumberOffset), 0x12345678U);

    storeLe16(block, kRootDirectorySizeOffset, 0xFFFE);
    EXPECT_EQ(block[16], 0xEE);
    EXPECT_EQ(block[17], 0xFE);
    EXPECT_EQ(block[18], 0xFF);
    EXPECT_EQ(block[19], 0xEE);
    EXPECT_EQ(loadLe16(block, kRootDirectorySizeOffset), 0xFFFE);
}

struct SizeCodeCase {
    std::uint32_t bytes;
    SectorSizeCode code;
};

void PrintTo(const SizeCodeCase& c, std::ostream* os) { *os << c.bytes; }

class SectorSizeCodeTest : public testing::TestWithParam<SizeCodeCase> {};

TEST_P(SectorSizeCodeTest, MapsOnlyTheFourSupportedSizes) {
    EXPECT_EQ(sectorSizeCode(GetParam().bytes), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SectorSizeCodeTest,
    testing::Values(SizeCodeCase{256, 8}, SizeCodeCase{512, 9}, SizeCodeCase{1024, 10},
                    SizeCodeCase{2048, 11}, SizeCodeCase{0, -1}, SizeCodeCase{1, -1},
                    SizeCodeCase{128, -1}, SizeCodeCase{511, -1}, SizeCodeCase{513, -1},
                    SizeCodeCase{4096, -1}, SizeCodeCase{65536 + 512, -1},
                    SizeCodeCase{4294966784U, -1}, SizeCodeCase{4294967295U, -1}));

// Runs checkBootBlock and returns the status it threw (or -1 when it
// passed) and what it wrote to standard error.
struct CheckOutcome {
    int status;
    std::string error;
};

CheckOutcome runCheck(const BootBlock& block) {
    testing::internal::CaptureStderr();
    int status = -1;
    try {
        checkBootBlock(block);
    } catch (int thrown) {
        status = thrown;
    }
    return {status, testing::internal::GetCapturedStderr()};
}

struct CheckCase {
    const char* name;
    std::uint8_t signatureLow;
    std::uint8_t signatureHigh;
    const char* fileSystemId;
    int status;
    const char* error;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

class CheckBootBlockTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckBootBlockTest, SignatureFirstThenFileSystemId) {
    const CheckCase& c = GetParam();
    BootSectorFields fields;
    fields.fileSystemId = c.fileSystemId;
    BootBlock block = makeBootBlock(fields);
    block[510] = c.signatureLow;
    block[511] = c.signatureHigh;
    const BootBlock before = block;

    const CheckOutcome outcome = runCheck(block);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.error, c.error);
    EXPECT_EQ(block, before);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, CheckBootBlockTest,
    testing::Values(
        CheckCase{"Fat12", 0x55, 0xAA, "FAT12   ", -1, ""},
        CheckCase{"Fat32OnlyThreeCharactersCompared", 0x55, 0xAA, "FAT32   ", -1, ""},
        CheckCase{"FatFollowedByAnything", 0x55, 0xAA, "FATxyz12", -1, ""},
        CheckCase{"SignatureZero", 0x00, 0x00, "FAT12   ", kStatusBadSignature,
                  "Error: illagal magic code 0. - Sector 0 seems to contain no valid data.\n"},
        CheckCase{"SignatureSwapped", 0xAA, 0x55, "FAT12   ", kStatusBadSignature,
                  "Error: illagal magic code 55aa. - Sector 0 seems to contain no valid data.\n"},
        CheckCase{"SignatureCheckedBeforeId", 0x55, 0x00, "NTFS    ", kStatusBadSignature,
                  "Error: illagal magic code 55. - Sector 0 seems to contain no valid data.\n"},
        CheckCase{"LowerCaseId", 0x55, 0xAA, "fat16   ", kStatusNotFat,
                  "Error: illegal filesystem-ID fat16   . - This tool is only designed for FAT "
                  "superfloppy volumes.\n"},
        CheckCase{"NtfsIdCutAtEightCharacters", 0x55, 0xAA, "NTFS    ", kStatusNotFat,
                  "Error: illegal filesystem-ID NTFS    . - This tool is only designed for FAT "
                  "superfloppy volumes.\n"},
        CheckCase{"IdCutAtZeroByte", 0x55, 0xAA, "FA", kStatusNotFat,
                  "Error: illegal filesystem-ID FA. - This tool is only designed for FAT "
                  "superfloppy volumes.\n"},
        CheckCase{"EmptyId", 0x55, 0xAA, "", kStatusNotFat,
                  "Error: illegal filesystem-ID . - This tool is only designed for FAT "
                  "superfloppy volumes.\n"}),
    CaseName{});

std::string captureReport(const BootBlock& block) {
    testing::internal::CaptureStdout();
    printBootBlockReport(block);
    return testing::internal::GetCapturedStdout();
}

TEST(BootBlockReport, DosFloppy) {
    const BootBlock block = makeBootBlock(BootSectorFields{});
    EXPECT_EQ(captureReport(block), "\nBoot block information:\n"
                                    "  File system ID:        FAT12   \n"
                                    "  OEM ID:                MSDOS5.0\n"
                                    "  Bytes per sector:      512\n"
                                    "  Sectors per cluster:   1\n"
                                    "  Reserved sectors:      1\n"
                                    "  Number of FATs:        2\n"
                                    "  Size of root directory:224\n"
                                    "  Total sectors (short): 2880\n"
                                    "  Media byte:            F0\n"
                                    "  Sectors per FAT:       9\n"
                                    "  Sectors per track:     18\n"
                                    "  Heads:                 2\n"
                                    "  Hidden sectors:        0\n"
                                    "  Total sectors (long):  0\n"
                                    "  Serial number:         1A2B3C4D\n"
                                    "  Volume name:           NO NAME    \n");
}

TEST(BootBlockReport, MagnetoOpticalDiskWith2048ByteSectors) {
    // A 640 MB MO disk as mkfs.fat lays it out: FAT16, 2048-byte sectors,
    // the long total in use.
    BootSectorFields fields;
    fields.oemId = "mkfs.fat";
    fields.bytesPerSector = 2048;
    fields.sectorsPerCluster = 8;
    fields.reservedSectors = 1;
    fields.rootDirectorySize = 512;
    fields.totalSectorsShort = 0;
    fields.mediaByte = 0xF8;
    fields.sectorsPerFat = 19;
    fields.sectorsPerTrack = 32;
    fields.heads = 64;
    fields.totalSectorsLong = 310352;
    fields.serialNumber = 0x0000ABCD;
    fields.volumeName = "MO640";
    fields.fileSystemId = "FAT16   ";
    EXPECT_EQ(captureReport(makeBootBlock(fields)), "\nBoot block information:\n"
                                                    "  File system ID:        FAT16   \n"
                                                    "  OEM ID:                mkfs.fat\n"
                                                    "  Bytes per sector:      2048\n"
                                                    "  Sectors per cluster:   8\n"
                                                    "  Reserved sectors:      1\n"
                                                    "  Number of FATs:        2\n"
                                                    "  Size of root directory:512\n"
                                                    "  Total sectors (short): 0\n"
                                                    "  Media byte:            F8\n"
                                                    "  Sectors per FAT:       19\n"
                                                    "  Sectors per track:     32\n"
                                                    "  Heads:                 64\n"
                                                    "  Hidden sectors:        0\n"
                                                    "  Total sectors (long):  310352\n"
                                                    "  Serial number:         ABCD\n"
                                                    "  Volume name:           MO640\n");
}

TEST(BootBlockReport, WidensWithoutSignAndCutsTextAtItsWidth) {
    BootSectorFields fields;
    fields.oemId = "ABCDEFGHIJ"; // cut to 8, the volume name follows directly in memory
    fields.bytesPerSector = 0xFFFF;
    fields.sectorsPerCluster = 0x80;
    fields.reservedSectors = 0x8000;
    fields.numberOfFats = 0xFF;
    fields.rootDirectorySize = 0xFFFF;
    fields.totalSectorsShort = 40000;
    fields.mediaByte = 0x0F;
    fields.sectorsPerFat = 0x8001;
    fields.sectorsPerTrack = 0xFFFF;
    fields.heads = 0x8000;
    fields.hiddenSectors = 0xFFFFFFFFU;
    fields.totalSectorsLong = 0x80000000U;
    fields.serialNumber = 0;
    fields.volumeName = "LONGVOLNAME";
    fields.fileSystemId = "FAT16ABC";
    BootBlock block = makeBootBlock(fields);
    // Bytes right after the text fields are not zero, so only the width stops
    // the text.
    ASSERT_NE(block[62], 0);
    ASSERT_NE(block[kOemIdOffset + kOemIdWidth], 0);
    EXPECT_EQ(captureReport(block), "\nBoot block information:\n"
                                    "  File system ID:        FAT16ABC\n"
                                    "  OEM ID:                ABCDEFGH\n"
                                    "  Bytes per sector:      65535\n"
                                    "  Sectors per cluster:   128\n"
                                    "  Reserved sectors:      32768\n"
                                    "  Number of FATs:        255\n"
                                    "  Size of root directory:65535\n"
                                    "  Total sectors (short): 40000\n"
                                    "  Media byte:            F\n"
                                    "  Sectors per FAT:       32769\n"
                                    "  Sectors per track:     65535\n"
                                    "  Heads:                 32768\n"
                                    "  Hidden sectors:        4294967295\n"
                                    "  Total sectors (long):  2147483648\n"
                                    "  Serial number:         0\n"
                                    "  Volume name:           LONGVOLNAME\n");
}

TEST(BootBlockReport, TextStopsAtAnEarlierZeroByte) {
    BootSectorFields fields;
    fields.oemId = std::string("AB\0CDEFG", 8);
    fields.volumeName = "";
    fields.fileSystemId = std::string("FAT\0X", 5);
    const std::string report = captureReport(makeBootBlock(fields));
    EXPECT_NE(report.find("  OEM ID:                AB\n"), std::string::npos) << report;
    EXPECT_NE(report.find("  Volume name:           \n"), std::string::npos) << report;
    EXPECT_NE(report.find("  File system ID:        FAT\n"), std::string::npos) << report;
}

} // namespace
