#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boot_block_builder.h"
#include "case_name.h"
#include "cli/exit_status.h"
#include "cli/run.h"
#include "fake_volume.h"

namespace {

using Calls = std::vector<std::string>;

struct FrameCase {
    const char* name;
    bool openFails;
    bool readFails;
    std::uint16_t signature;
    const char* fileSystemId;
    SectorSizeCode target;
    bool rewindFails;
    bool writeFails;
    int status;
    Calls calls;
};

void PrintTo(const FrameCase& c, std::ostream* os) { *os << c.name; }

class RunFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(RunFrameTest, ClosesTheVolumeExactlyOnceAfterASuccessfulOpen) {
    const FrameCase& c = GetParam();
    FakeVolumeState& volume = fakeVolume();
    volume = FakeVolumeState{};
    BootSectorFields fields; // 512-byte sectors, one reserved sector
    fields.fileSystemId = c.fileSystemId;
    volume.content = makeBootBlock(fields);
    storeLe16(volume.content, kBootSignatureOffset, c.signature);
    volume.openFails = c.openFails;
    volume.readFails = c.readFails;
    volume.rewindFails = c.rewindFails;
    volume.writeFails = c.writeFails;

    RunSettings settings;
    settings.driveArgument = "E:";
    settings.targetSizeCode = c.target;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = runConversion(settings);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(volume.calls, c.calls);
    EXPECT_EQ(volume.openHandles, 0);
}

const Calls kOpenReadClose{"open fake:E:", "read", "close"};
const Calls kWritten{"open fake:E:", "read", "rewind", "write", "close"};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunFrameTest,
    testing::Values(FrameCase{"OpenFails", true, false, 0xAA55, "FAT12   ", 10, false, false,
                              kStatusOpenFailed, Calls{"open fake:E:"}},
                    FrameCase{"ReadFails", false, true, 0xAA55, "FAT12   ", 10, false, false,
                              kStatusReadFailed, kOpenReadClose},
                    FrameCase{"BadSignature", false, false, 0x0000, "FAT12   ", 10, false, false,
                              kStatusBadSignature, kOpenReadClose},
                    FrameCase{"NotFat", false, false, 0xAA55, "NTFS    ", 10, false, false,
                              kStatusNotFat, kOpenReadClose},
                    FrameCase{"NoChange", false, false, 0xAA55, "FAT12   ", 9, false, false,
                              kStatusSuccess, kOpenReadClose},
                    FrameCase{"NotDivisible", false, false, 0xAA55, "FAT12   ", 11, false, false,
                              kStatusNotConvertible, kOpenReadClose},
                    FrameCase{"RewindFails", false, false, 0xAA55, "FAT12   ", 8, true, false,
                              kStatusUsageOrWrite,
                              Calls{"open fake:E:", "read", "rewind", "close"}},
                    FrameCase{"WriteFails", false, false, 0xAA55, "FAT12   ", 8, false, true,
                              kStatusUsageOrWrite, kWritten},
                    FrameCase{"Converted", false, false, 0xAA55, "FAT12   ", 8, false, false,
                              kStatusSuccess, kWritten}),
    CaseName{});

TEST(RunConversion, WritesTheConvertedBlockWithANewSerialNumber) {
    FakeVolumeState& volume = fakeVolume();
    volume = FakeVolumeState{};
    BootSectorFields fields; // the 1.44 MB floppy: 512-byte sectors
    volume.content = makeBootBlock(fields);
    RunSettings settings;
    settings.driveArgument = "E:";
    settings.targetSizeCode = 8;
    settings.newSerial = true;

    testing::internal::CaptureStdout();
    EXPECT_EQ(runConversion(settings), kStatusSuccess);
    const std::string out = testing::internal::GetCapturedStdout();

    fields.bytesPerSector = 256;
    fields.sectorsPerCluster = 2;
    fields.reservedSectors = 2;
    fields.sectorsPerFat = 18;
    fields.totalSectorsShort = 5760;
    fields.serialNumber = 0x0C8130BE;
    EXPECT_EQ(volume.content, makeBootBlock(fields));
    EXPECT_TRUE(out.ends_with("\nParameters changed:\n"
                              "  Bytes per sector:      256\n"
                              "  Sectors per cluster:   2\n"
                              "  Reserved sectors:      2\n"
                              "  Sectors per FAT:       18\n"
                              "  Hidden sectors:        0\n"
                              "  Total sectors (short): 5760\n"
                              "  Total sectors (long):  0\n"
                              "  Serial number:         C8130BE\n"
                              "\nDevice successfully converted.\n"))
        << out;
}

TEST(RunMain, UsageWithoutArgumentsOpensNothing) {
    fakeVolume() = FakeVolumeState{};
    const char* argv[] = {"resec"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(runMain(1, argv), kStatusUsageOrWrite);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(out.starts_with("RESEC V 0.9\n\nusage: RESEC ")) << out;
    EXPECT_TRUE(out.ends_with("  change logical sector size to #, default 2048\n")) << out;
    EXPECT_TRUE(fakeVolume().calls.empty());
}

TEST(RunMain, ParseErrorOpensNothing) {
    fakeVolume() = FakeVolumeState{};
    const char* argv[] = {"resec", "E:", "-x"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(runMain(3, argv), kStatusSyntaxError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unrecognized option -x.\n");
    EXPECT_TRUE(fakeVolume().calls.empty());
}

} // namespace
