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
    const char *name;
    bool openFails;
    bool readFails;
    std::uint16_t signature;
    const char *fileSystemId;
    int status;
    Calls calls;
};

void PrintTo(const FrameCase &c, std::ostream *os) { *os << c.name; }

class RunFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(RunFrameTest, ClosesTheVolumeExactlyOnceAfterASuccessfulOpen) {
    const FrameCase &c = GetParam();
    FakeVolumeState &volume = fakeVolume();
    volume = FakeVolumeState{};
    BootSectorFields fields;
    fields.fileSystemId = c.fileSystemId;
    volume.content = makeBootBlock(fields);
    storeLe16(volume.content, kBootSignatureOffset, c.signature);
    volume.openFails = c.openFails;
    volume.readFails = c.readFails;

    RunSettings settings;
    settings.driveArgument = "E:";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = runConversion(settings);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(volume.calls, c.calls);
    EXPECT_EQ(volume.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunFrameTest,
    testing::Values(FrameCase{"OpenFails", true, false, 0xAA55, "FAT12   ", kStatusOpenFailed,
                              Calls{"open fake:E:"}},
                    FrameCase{"ReadFails", false, true, 0xAA55, "FAT12   ", kStatusReadFailed,
                              Calls{"open fake:E:", "read", "close"}},
                    FrameCase{"BadSignature", false, false, 0x0000, "FAT12   ", kStatusBadSignature,
                              Calls{"open fake:E:", "read", "close"}},
                    FrameCase{"NotFat", false, false, 0xAA55, "NTFS    ", kStatusNotFat,
                              Calls{"open fake:E:", "read", "close"}},
                    FrameCase{"ReportPrinted", false, false, 0xAA55, "FAT12   ", kStatusSuccess,
                              Calls{"open fake:E:", "read", "close"}}),
    CaseName{});

TEST(RunMain, UsageWithoutArgumentsOpensNothing) {
    fakeVolume() = FakeVolumeState{};
    const char *argv[] = {"resec"};
    testing::internal::CaptureStdout();
    EXPECT_EQ(runMain(1, argv), kStatusUsageOrWrite);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(out.starts_with("RESEC V 0.9\n\nusage: RESEC ")) << out;
    EXPECT_TRUE(out.ends_with("  change logical sector size to #, default 2048\n")) << out;
    EXPECT_TRUE(fakeVolume().calls.empty());
}

TEST(RunMain, ParseErrorOpensNothing) {
    fakeVolume() = FakeVolumeState{};
    const char *argv[] = {"resec", "E:", "-x"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(runMain(3, argv), kStatusSyntaxError);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unrecognized option -x.\n");
    EXPECT_TRUE(fakeVolume().calls.empty());
}

} // namespace
