#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "case_name.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"

namespace {

struct ParseCase {
    const char* name;
    std::string_view prefixes;
    std::vector<const char*> arguments; // after the program name
    int status;
    const char* error;
    SectorSizeCode targetSizeCode; // checked when status is 0
    bool newSerial;
    const char* driveArgument;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class ParseCommandLineTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, Parses) {
    const ParseCase& c = GetParam();
    std::vector<const char*> argv{"resec"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    RunSettings settings;

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status =
        parseCommandLine(static_cast<int>(argv.size()), argv.data(), settings, c.prefixes);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(error, c.error);
    if (c.status == kStatusSuccess) {
        EXPECT_EQ(settings.targetSizeCode, c.targetSizeCode);
        EXPECT_EQ(settings.newSerial, c.newSerial);
        EXPECT_EQ(settings.driveArgument, c.driveArgument);
    }
}

constexpr std::string_view kPosix = "-";
constexpr std::string_view kWindows = "/-";

INSTANTIATE_TEST_SUITE_P(
    Arguments, ParseCommandLineTest,
    testing::Values(
        ParseCase{"DriveOnlyTakesDefaults", kPosix, {"/dev/sdb"}, 0, "", 11, false, "/dev/sdb"},
        ParseCase{"SmallSizeOption", kPosix, {"E:", "-s512"}, 0, "", 9, false, "E:"},
        ParseCase{"UpperCaseLetter", kPosix, {"E:", "-S1024"}, 0, "", 10, false, "E:"},
        ParseCase{"Size256", kPosix, {"E:", "-s256"}, 0, "", 8, false, "E:"},
        ParseCase{"OptionBeforeDrive", kPosix, {"-s256", "-n", "E:"}, 0, "", 8, true, "-s256"},
        ParseCase{"FrontmostSizeWins", kPosix, {"E:", "-s512", "-s1024"}, 0, "", 9, false, "E:"},
        ParseCase{"NIgnoresTheRest", kPosix, {"E:", "-Nfoo"}, 0, "", 11, true, "E:"},
        ParseCase{"LowerCaseN", kPosix, {"E:", "-n"}, 0, "", 11, true, "E:"},
        ParseCase{"TrailingTextIgnored", kPosix, {"E:", "-s512abc"}, 0, "", 9, false, "E:"},
        ParseCase{"PlusSign", kPosix, {"E:", "-s+512"}, 0, "", 9, false, "E:"},
        ParseCase{"LeadingWhiteSpace", kPosix, {"E:", "-s \t512"}, 0, "", 9, false, "E:"},
        ParseCase{"LeadingZeros", kPosix, {"E:", "-s000512"}, 0, "", 9, false, "E:"},
        ParseCase{"WrapsModulo2To32", kPosix, {"E:", "-s4294967808"}, 0, "", 9, false, "E:"},
        ParseCase{"NoDigitsIsZero",
                  kPosix,
                  {"E:", "-s"},
                  kStatusUnsupportedSize,
                  "Sectorsize 0 not supported.\n"},
        ParseCase{"SignWithoutDigits",
                  kPosix,
                  {"E:", "-s+x512"},
                  kStatusUnsupportedSize,
                  "Sectorsize 0 not supported.\n"},
        ParseCase{"UnsupportedSize",
                  kPosix,
                  {"E:", "-s4096"},
                  kStatusUnsupportedSize,
                  "Sectorsize 4096 not supported.\n"},
        ParseCase{"MinusSignWraps",
                  kPosix,
                  {"E:", "-s-512"},
                  kStatusUnsupportedSize,
                  "Sectorsize 4294966784 not supported.\n"},
        ParseCase{
            "UnknownLetter", kPosix, {"E:", "-x"}, kStatusSyntaxError, "Unrecognized option -x.\n"},
        ParseCase{
            "LonePrefix", kPosix, {"E:", "-"}, kStatusSyntaxError, "Unrecognized option -.\n"},
        ParseCase{"LonePrefixAlone", kPosix, {"-"}, kStatusSyntaxError, "Unrecognized option -.\n"},
        ParseCase{"SecondDrive",
                  kPosix,
                  {"E:", "F:"},
                  kStatusSyntaxError,
                  "Command line syntax error at E:.\n"},
        ParseCase{"EmptyArgumentCountsAsDrive",
                  kPosix,
                  {"E:", ""},
                  kStatusSyntaxError,
                  "Command line syntax error at E:.\n"},
        ParseCase{"EmptyArgumentNamed",
                  kPosix,
                  {"", "E:"},
                  kStatusSyntaxError,
                  "Command line syntax error at .\n"},
        ParseCase{"StopsAtFirstErrorFromTheEnd",
                  kPosix,
                  {"E:", "-x", "F:", "G:"},
                  kStatusSyntaxError,
                  "Command line syntax error at F:.\n"},
        ParseCase{"LastFaultyOptionReported",
                  kPosix,
                  {"E:", "-s4096", "-q"},
                  kStatusSyntaxError,
                  "Unrecognized option -q.\n"},
        ParseCase{"LastSizeErrorReported",
                  kPosix,
                  {"E:", "-s512", "-s3"},
                  kStatusUnsupportedSize,
                  "Sectorsize 3 not supported.\n"},
        ParseCase{"SlashIsAPathOnPosix",
                  kPosix,
                  {"/dev/sdb", "/s512"},
                  kStatusSyntaxError,
                  "Command line syntax error at /dev/sdb.\n"},
        ParseCase{"SlashOption", kWindows, {"E:", "/s512"}, 0, "", 9, false, "E:"},
        ParseCase{"BothPrefixes", kWindows, {"E:", "/S1024", "-n"}, 0, "", 10, true, "E:"},
        ParseCase{"SlashOptionAsDrive", kWindows, {"/s512", "E:"}, 0, "", 9, false, "/s512"},
        ParseCase{
            "LoneSlash", kWindows, {"E:", "/"}, kStatusSyntaxError, "Unrecognized option /.\n"},
        ParseCase{"SlashUnknownLetter",
                  kWindows,
                  {"E:", "/x"},
                  kStatusSyntaxError,
                  "Unrecognized option /x.\n"}),
    CaseName{});

TEST(ScanUnsigned, BehavesLikeTheCLibraryConversion) {
    EXPECT_EQ(scanUnsigned(""), 0U);
    EXPECT_EQ(scanUnsigned("-"), 0U);
    EXPECT_EQ(scanUnsigned("abc"), 0U);
    EXPECT_EQ(scanUnsigned("4294967295"), 4294967295U);
    EXPECT_EQ(scanUnsigned("4294967296"), 0U);
    EXPECT_EQ(scanUnsigned("-1"), 4294967295U);
    EXPECT_EQ(scanUnsigned("\n\v\f\r 2048 "), 2048U);
    EXPECT_EQ(scanUnsigned("+-2"), 0U);
    EXPECT_EQ(scanUnsigned("12-3"), 12U);
}

} // namespace
