// The Windows build, run under wine against drive letters mapped to volume
// images: in the test's own wine prefix, a symlink dosdevices/x:: that points
// to an image makes \\.\X: open that image as a raw volume.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "boot_block_builder.h"
#include "case_name.h"
#include "process_runner.h"
#include "small_volume.h"

namespace {

const std::string kWindowsProgram = RESEC_WINDOWS_PROGRAM;

// One wine prefix for all tests of this program: making it takes seconds.
class WinePrefix : public testing::Environment {
  public:
    void SetUp() override {
        folder_ = std::make_unique<TemporaryFolder>();
        const ProcessResult booted = runProgram({"wineboot", "-i"}, environment());
        ASSERT_EQ(booted.status, 0) << booted.err;
        runProgram({"wineserver", "-w"}, environment());
    }
    void TearDown() override {
        runProgram({"wineserver", "-k"}, environment());
        folder_.reset();
    }
    static std::vector<std::string> environment() {
        return {"WINEPREFIX=" + instance->folder_->file("prefix"), "WINEDEBUG=-all",
                "WINEDLLOVERRIDES=mscoree,mshtml="};
    }
    static std::string dosDevice(char letter) {
        return instance->folder_->file("prefix/dosdevices/") + letter + "::";
    }
    static WinePrefix* instance;

  private:
    std::unique_ptr<TemporaryFolder> folder_;
};

WinePrefix* WinePrefix::instance = nullptr;

// Maps the drive letter to the image for the lifetime of the object.
class MappedDrive {
  public:
    MappedDrive(char letter, const std::string& image) : link_(WinePrefix::dosDevice(letter)) {
        std::filesystem::remove(link_);
        std::filesystem::create_symlink(std::filesystem::absolute(image), link_);
    }
    ~MappedDrive() {
        std::error_code ignored;
        std::filesystem::remove(link_, ignored);
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

  private:
    std::string link_;
};

ProcessResult runWindowsResec(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"wine", kWindowsProgram};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv, WinePrefix::environment());
}

// Text streams on Windows end every line in CR LF.
std::string crlf(const std::string& text) {
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

TEST(WindowsProgram, NoArgumentPrintsTheUsageText) {
    const ProcessResult result = runWindowsResec({});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "RESEC V 0.9\r\n\r\nusage: RESEC <driveletter>: [options]\r\n\r\n"
                          "options: /s#  change logical sector size to #, default 2048\r\n");
    EXPECT_EQ(result.err, "");
}

// The command line of a Windows user. Drive Q: is never mapped, so a command
// line that parses reaches the open and fails there with status 9.
struct CommandLineCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string error; // without CR
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class WindowsCommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowsCommandLineTest, ParsesBothPrefixesAndEitherCase) {
    const CommandLineCase& c = GetParam();
    const ProcessResult result = runWindowsResec(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, crlf(c.error));
}

const std::string kQOpenFails = "Failed to open device \\\\.\\Q: for writing. - Code 2.\n";

INSTANTIATE_TEST_SUITE_P(
    Arguments, WindowsCommandLineTest,
    testing::Values(
        CommandLineCase{"UnmappedDrive", {"Q:"}, 9, kQOpenFails},
        CommandLineCase{"SlashLowerCase", {"Q:", "/s512"}, 9, kQOpenFails},
        CommandLineCase{"DashUpperCase", {"Q:", "-S1024"}, 9, kQOpenFails},
        CommandLineCase{"NewSerialWithTrailingText", {"Q:", "/Nfoo", "-n"}, 9, kQOpenFails},
        CommandLineCase{"TrailingTextAfterSize", {"Q:", "/s512abc"}, 9, kQOpenFails},
        CommandLineCase{"PlusSign", {"Q:", "/s+512"}, 9, kQOpenFails},
        CommandLineCase{"FrontmostSizeWins", {"Q:", "/s512", "/s1024"}, 9, kQOpenFails},
        CommandLineCase{"NoDigits", {"Q:", "/s"}, 10, "Sectorsize 0 not supported.\n"},
        CommandLineCase{
            "UnsupportedSize", {"Q:", "-S4096"}, 10, "Sectorsize 4096 not supported.\n"},
        CommandLineCase{
            "MinusSign", {"Q:", "/s-512"}, 10, "Sectorsize 4294966784 not supported.\n"},
        CommandLineCase{"UnknownOption", {"Q:", "/x"}, 11, "Unrecognized option /x.\n"},
        CommandLineCase{"UnknownOptionDash", {"Q:", "-X"}, 11, "Unrecognized option -X.\n"},
        CommandLineCase{"LoneSlash", {"Q:", "/"}, 11, "Unrecognized option /.\n"},
        CommandLineCase{"SecondDrive", {"Q:", "F:"}, 11, "Command line syntax error at Q:.\n"},
        CommandLineCase{"EmptyArgument", {"Q:", ""}, 11, "Command line syntax error at Q:.\n"},
        CommandLineCase{"ScanStopsAtTheSecondDrive",
                        {"Q:", "/x", "F:", "G:"},
                        11,
                        "Command line syntax error at F:.\n"},
        CommandLineCase{"OptionFormsTheDevicePath",
                        {"/s512", "E:"},
                        9,
                        "Failed to open device \\\\.\\/s512 for writing. - Code 2.\n"}),
    CaseName{});

TEST(WindowsProgram, ConvertsBothWays) {
    TemporaryFolder folder;
    const std::string image = folder.file("small.img");
    const ProcessResult made = makeSmallVolume(image);
    ASSERT_EQ(made.status, 0) << made.out;
    const std::string original = readFile(image);
    MappedDrive drive('x', image);

    const ProcessResult forward = runWindowsResec({"x:", "/S512", "/n"});
    EXPECT_EQ(forward.status, 0);
    EXPECT_EQ(forward.err, "");
    EXPECT_EQ(forward.out, crlf(std::string(kSmallVolumeReport) + kSmallVolumeTo512WithNewSerial));
    const std::string converted = readFile(image);
    ASSERT_EQ(converted.size(), original.size());
    BootBlock block{};
    std::copy_n(converted.begin(), kBootBlockSize, block.begin());
    EXPECT_EQ(loadLe16(block, kBytesPerSectorOffset), 512);
    EXPECT_EQ(loadU8(block, kSectorsPerClusterOffset), 4);
    EXPECT_EQ(loadLe16(block, kReservedSectorsOffset), 4);
    EXPECT_EQ(loadLe16(block, kSectorsPerFatOffset), 8);
    EXPECT_EQ(loadLe16(block, kTotalSectorsShortOffset), 8192);
    EXPECT_EQ(loadLe32(block, kSerialNumberOffset), 0x0C8130BEU);
    EXPECT_TRUE(converted.compare(kBootBlockSize, std::string::npos, original, kBootBlockSize,
                                  std::string::npos) == 0);
    const ProcessResult checked = runShell("fsck.fat -n " + shellQuote(image));
    EXPECT_EQ(checked.status, 0) << checked.out;

    const ProcessResult back = runWindowsResec({"X:", "-s2048"});
    EXPECT_EQ(back.status, 0);
    EXPECT_EQ(back.err, "");
    EXPECT_TRUE(back.out.ends_with("  Serial number:         C8130BE\r\n"
                                   "\r\nDevice successfully converted.\r\n"))
        << back.out;
    // Everything is as mkfs.fat made it, but the new serial number.
    std::string expected = original;
    std::copy_n(converted.begin() + kSerialNumberOffset, 4, expected.begin() + kSerialNumberOffset);
    EXPECT_TRUE(readFile(image) == expected);

    const ProcessResult again = runWindowsResec({"X:"});
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(
        again.out.ends_with("\r\n\r\nDevice has 2048 bytes per sector. No changes made.\r\n"))
        << again.out;
    EXPECT_TRUE(readFile(image) == expected);
}

// Runs that end before the write leave the image byte for byte as it was.
struct UnchangedCase {
    const char* name;
    BootSectorFields fields;
    std::size_t imageSize;
    std::vector<std::string> options;
    int status;
    std::string out;   // without CR; the report is checked separately
    std::string error; // without CR
};

void PrintTo(const UnchangedCase& c, std::ostream* os) { *os << c.name; }

class WindowsUnchangedTest : public testing::TestWithParam<UnchangedCase> {};

TEST_P(WindowsUnchangedTest, LeavesTheImageAlone) {
    const UnchangedCase& c = GetParam();
    TemporaryFolder folder;
    const std::string image = folder.file("volume.img");
    std::string bytes(kBootBlockSize, '\0');
    const BootBlock block = makeBootBlock(c.fields);
    std::copy(block.begin(), block.end(), bytes.begin());
    bytes.resize(c.imageSize, '\0');
    writeFile(image, bytes);
    MappedDrive drive('y', image);

    std::vector<std::string> arguments{"Y:"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ProcessResult result = runWindowsResec(arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_TRUE(result.out.ends_with(crlf(c.out))) << result.out;
    EXPECT_EQ(result.err, crlf(c.error));
    EXPECT_TRUE(readFile(image) == bytes) << "the image changed";
}

BootSectorFields floppy() { return BootSectorFields{}; } // 512-byte sectors, 1 reserved

INSTANTIATE_TEST_SUITE_P(
    Volumes, WindowsUnchangedTest,
    testing::Values(
        UnchangedCase{"RefusedNotDivisible",
                      floppy(),
                      1474560,
                      {"/s2048", "/n"},
                      2,
                      "  Volume name:           NO NAME    \n",
                      "Conversion impossible, because not all entries are multiples of 4.\n"},
        UnchangedCase{"NoChange",
                      floppy(),
                      1474560,
                      {"-s512", "-N"},
                      0,
                      "\nDevice has 512 bytes per sector. No changes made.\n",
                      ""},
        UnchangedCase{"ShortImage",
                      floppy(),
                      1000,
                      {"/s256"},
                      6,
                      "",
                      "Failed to read sector 0. - Code 38.\n"},
        UnchangedCase{"OneByteShort",
                      floppy(),
                      2047,
                      {"/s256"},
                      6,
                      "",
                      "Failed to read sector 0. - Code 38.\n"}),
    CaseName{});

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    WinePrefix::instance = new WinePrefix;
    testing::AddGlobalTestEnvironment(WinePrefix::instance);
    return RUN_ALL_TESTS();
}
