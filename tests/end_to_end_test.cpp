#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "boot_block_builder.h"
#include "case_name.h"
#include "end_to_end_support.h"
#include "small_volume.h"

namespace {

const char* const kUsage = "RESEC V 0.9\n\nusage: RESEC <device> [options]\n\n"
                           "options: -s#  change logical sector size to #, default 2048\n";

BootSectorFields moFields() {
    BootSectorFields fields;
    fields.oemId = "MSWIN4.1";
    fields.bytesPerSector = 2048;
    fields.sectorsPerCluster = 4;
    fields.reservedSectors = 1;
    fields.rootDirectorySize = 512;
    fields.totalSectorsShort = 1024;
    fields.mediaByte = 0xF8;
    fields.sectorsPerFat = 2;
    fields.sectorsPerTrack = 32;
    fields.heads = 64;
    fields.serialNumber = 0x0BADF00D;
    fields.volumeName = "MO DISK    ";
    fields.fileSystemId = "FAT12   ";
    return fields;
}

const char* const kMoReport = "\nBoot block information:\n"
                              "  File system ID:        FAT12   \n"
                              "  OEM ID:                MSWIN4.1\n"
                              "  Bytes per sector:      2048\n"
                              "  Sectors per cluster:   4\n"
                              "  Reserved sectors:      1\n"
                              "  Number of FATs:        2\n"
                              "  Size of root directory:512\n"
                              "  Total sectors (short): 1024\n"
                              "  Media byte:            F8\n"
                              "  Sectors per FAT:       2\n"
                              "  Sectors per track:     32\n"
                              "  Heads:                 64\n"
                              "  Hidden sectors:        0\n"
                              "  Total sectors (long):  0\n"
                              "  Serial number:         BADF00D\n"
                              "  Volume name:           MO DISK    \n";

TEST(EndToEnd, NoArgumentPrintsUsage) {
    const ProcessResult result = runResec({});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, kUsage);
    EXPECT_EQ(result.err, "");
}

// Command-line errors: their message and status, and nothing opened, so the
// image named on the command line is never touched.
struct CommandLineErrorCase {
    const char* name;
    std::vector<std::string> options; // after the image
    int status;
    const char* error;
};

void PrintTo(const CommandLineErrorCase& c, std::ostream* os) { *os << c.name; }

class CommandLineErrorTest : public testing::TestWithParam<CommandLineErrorCase> {};

TEST_P(CommandLineErrorTest, EndsBeforeTheOpen) {
    const CommandLineErrorCase& c = GetParam();
    TemporaryFolder folder;
    // The image does not exist: an open would report it.
    std::vector<std::string> arguments{folder.file("missing.img")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ProcessResult result = runResec(arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CommandLineErrorTest,
    testing::Values(
        CommandLineErrorCase{"UnsupportedSize", {"-s4096"}, 10, "Sectorsize 4096 not supported.\n"},
        CommandLineErrorCase{"NoDigits", {"-S"}, 10, "Sectorsize 0 not supported.\n"},
        CommandLineErrorCase{
            "NegativeSize", {"-s-512"}, 10, "Sectorsize 4294966784 not supported.\n"},
        CommandLineErrorCase{"UnknownOption", {"-x"}, 11, "Unrecognized option -x.\n"},
        CommandLineErrorCase{"LonePrefix", {"-"}, 11, "Unrecognized option -.\n"}),
    CaseName{});

TEST(EndToEnd, SecondPathNamesTheFirstInTheSyntaxError) {
    TemporaryFolder folder;
    const std::string image = folder.file("missing.img");
    for (const std::string& second : {std::string("/s512"), std::string("")}) {
        const ProcessResult result = runResec({image, second});
        EXPECT_EQ(result.status, 11);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Command line syntax error at " + image + ".\n");
    }
}

TEST(EndToEnd, SameSectorSizeReportsAndLeavesTheImageAlone) {
    TemporaryFolder folder;
    const std::string image = folder.file("mo.img");
    const std::string original = imageBytes(makeBootBlock(moFields()), 64 * 1024);
    writeFile(image, original);

    const ProcessResult result = runResec({image});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              std::string(kMoReport) + "\nDevice has 2048 bytes per sector. No changes made.\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(image), original);
}

// Volumes that fail before the report: exact message, status, no output on
// standard output, image unchanged.
struct VolumeErrorCase {
    const char* name;
    std::size_t imageSize;
    std::uint16_t signature;
    const char* fileSystemId;
    int status;
    const char* error;
};

void PrintTo(const VolumeErrorCase& c, std::ostream* os) { *os << c.name; }

class VolumeErrorTest : public testing::TestWithParam<VolumeErrorCase> {};

TEST_P(VolumeErrorTest, FailsWithItsMessageAndWritesNothing) {
    const VolumeErrorCase& c = GetParam();
    TemporaryFolder folder;
    const std::string image = folder.file("volume.img");
    BootSectorFields fields = moFields();
    fields.fileSystemId = c.fileSystemId;
    BootBlock block = makeBootBlock(fields);
    storeLe16(block, kBootSignatureOffset, c.signature);
    std::string original = imageBytes(block, 64 * 1024);
    original.resize(c.imageSize);
    writeFile(image, original);

    const ProcessResult result = runResec({image, "-s512"});
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.error);
    EXPECT_EQ(readFile(image), original);
}

INSTANTIATE_TEST_SUITE_P(
    Volumes, VolumeErrorTest,
    testing::Values(
        VolumeErrorCase{"EmptyFile", 0, 0xAA55, "FAT12   ", 6,
                        "Failed to read sector 0. - Code 5.\n"},
        VolumeErrorCase{"OneSectorOnly", 512, 0xAA55, "FAT12   ", 6,
                        "Failed to read sector 0. - Code 5.\n"},
        VolumeErrorCase{"OneByteShort", 2047, 0xAA55, "FAT12   ", 6,
                        "Failed to read sector 0. - Code 5.\n"},
        VolumeErrorCase{
            "ZeroSignature", 2048, 0x0000, "FAT12   ", 5,
            "Error: illagal magic code 0. - Sector 0 seems to contain no valid data.\n"},
        VolumeErrorCase{"SwappedSignature", 4096, 0x55AA, "FAT12   ", 5,
                        "Error: illagal magic code 55aa. - Sector 0 seems to contain no valid "
                        "data.\n"},
        VolumeErrorCase{"NotFat", 4096, 0xAA55, "NTFS    ", 4,
                        "Error: illegal filesystem-ID NTFS    . - This tool is only designed for "
                        "FAT superfloppy volumes.\n"}),
    CaseName{});

TEST(EndToEnd, MissingDeviceCannotBeOpened) {
    TemporaryFolder folder;
    const std::string image = folder.file("missing.img");
    const ProcessResult result = runResec({image});
    EXPECT_EQ(result.status, 9);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Failed to open device " + image + " for writing. - Code 2.\n");
}

TEST(EndToEnd, DirectoryCannotBeOpened) {
    TemporaryFolder folder;
    const ProcessResult result = runResec({folder.path()});
    EXPECT_EQ(result.status, 9);
    EXPECT_EQ(result.err, "Failed to open device " + folder.path() + " for writing. - Code 21.\n");
}

TEST(EndToEnd, OptionAsFirstArgumentIsTheDevice) {
    TemporaryFolder folder;
    const std::string image = folder.file("mo.img");
    writeFile(image, imageBytes(makeBootBlock(moFields()), 4096));
    const ProcessResult result = runResec({"-s512", image});
    EXPECT_EQ(result.status, 9);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Failed to open device -s512 for writing. - Code 2.\n");
}

TEST(EndToEnd, ReportsAVolumeMadeByMkfsFatAndLeavesItAlone) {
    TemporaryFolder folder;
    const std::string image = folder.file("mkfs.img");
    const ProcessResult made =
        runShell("mkfs.fat --invariant -i 2A5C0E71 -n SAMPLE -F 16 -S 2048 -s 1 -C " +
                 shellQuote(image) + " 16384");
    ASSERT_EQ(made.status, 0) << made.out;
    const std::string original = readFile(image);

    const ProcessResult result = runResec({image, "-s2048"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "\nBoot block information:\n"
                          "  File system ID:        FAT16   \n"
                          "  OEM ID:                mkfs.fat\n"
                          "  Bytes per sector:      2048\n"
                          "  Sectors per cluster:   1\n"
                          "  Reserved sectors:      1\n"
                          "  Number of FATs:        2\n"
                          "  Size of root directory:512\n"
                          "  Total sectors (short): 8192\n"
                          "  Media byte:            F8\n"
                          "  Sectors per FAT:       8\n"
                          "  Sectors per track:     32\n"
                          "  Heads:                 2\n"
                          "  Hidden sectors:        0\n"
                          "  Total sectors (long):  0\n"
                          "  Serial number:         2A5C0E71\n"
                          "  Volume name:           SAMPLE     \n"
                          "\nDevice has 2048 bytes per sector. No changes made.\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(readFile(image), original);
}

// A loop device over an image, detached at the end.
class LoopDevice {
  public:
    explicit LoopDevice(const std::string& image) {
        const ProcessResult attached = runShell("losetup -f --show " + shellQuote(image));
        if (attached.status == 0 && attached.out.starts_with("/dev/")) {
            path_ = attached.out.substr(0, attached.out.find('\n'));
        }
    }
    ~LoopDevice() {
        if (!path_.empty()) {
            runShell("losetup -d " + shellQuote(path_));
        }
    }
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A mounted file system claims its block device exclusively; so does an
// O_EXCL open. resec must not rewrite a boot sector under such a claim.
TEST(EndToEnd, BlockDeviceClaimedElsewhereIsRefusedAndConvertedOnceFree) {
    TemporaryFolder folder;
    const std::string image = folder.file("block.img");
    const ProcessResult made = makeSmallVolume(image);
    ASSERT_EQ(made.status, 0) << made.out;
    const std::string original = readFile(image);
    {
        LoopDevice device(image);
        if (device.path().empty()) {
            GTEST_SKIP() << "no loop device can be attached here (needs root and loop support)";
        }
        const int claim = open(device.path().c_str(), O_RDONLY | O_EXCL | O_CLOEXEC);
        ASSERT_GE(claim, 0);
        const ProcessResult refused = runResec({device.path(), "-s512"});
        close(claim);
        EXPECT_EQ(refused.status, 9);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err,
                  "Failed to open device " + device.path() + " for writing. - Code 16.\n");
        EXPECT_TRUE(readFile(image) == original);

        const ProcessResult result = runResec({device.path(), "-s512", "-n"});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, std::string(kSmallVolumeReport) + kSmallVolumeTo512WithNewSerial);
    }
    const std::string converted = readFile(image);
    BootBlock block{};
    std::copy_n(converted.begin(), kBootBlockSize, block.begin());
    EXPECT_EQ(loadLe16(block, kBytesPerSectorOffset), 512);
    EXPECT_EQ(loadLe32(block, kSerialNumberOffset), 0x0C8130BEU);
}

} // namespace
