// Real volumes made by mkfs.fat and filled by mtools, converted to every
// other sector size and checked by both tools, then converted back.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "boot_block_builder.h"
#include "case_name.h"
#include "end_to_end_support.h"
#include "small_volume.h"

namespace {

const std::string kTools = "MTOOLS_SKIP_CHECK=1 ";

// What converting a volume to one sector size must do.
struct TargetOutcome {
    unsigned size;
    const char* refusal;  // the message of a refused conversion, or nullptr
    bool shortTotalMoves; // the short total outgrows 16 bits and moves to the long total
};

struct VolumeCase {
    const char* name;
    const char* mkfsOptions;
    unsigned kibibytes;
    unsigned sectorSize;
    std::vector<TargetOutcome> targets;
};

void PrintTo(const VolumeCase& c, std::ostream* os) { *os << c.name; }

// Files that exercise the directory tree, long names and cluster chains.
struct VolumeFile {
    std::string path; // on the volume
    std::string bytes;
};

std::vector<VolumeFile> sampleFiles() {
    std::string large;
    std::uint32_t state = 12345;
    for (int i = 0; i < 300 * 1024; ++i) {
        state = state * 1103515245U + 12345U;
        large.push_back(static_cast<char>(state >> 24));
    }
    return {
        {"/README.TXT", "A superfloppy keeps its files.\r\n"},
        {"/DOCS/A file with a rather long name.txt", std::string(5000, 'x') + "end"},
        {"/DOCS/NESTED/DEEP.BIN", std::string(1, '\0') + "deep"},
        {"/LARGE.DAT", large},
    };
}

// Makes the volume with mkfs.fat and copies the files onto it with mtools.
void makeVolume(const TemporaryFolder& folder, const VolumeCase& volume, const std::string& image) {
    ProcessResult made = runShell("mkfs.fat " + std::string(volume.mkfsOptions) + " -C " +
                                  shellQuote(image) + " " + std::to_string(volume.kibibytes));
    ASSERT_EQ(made.status, 0) << made.out;
    made = runShell(kTools + "mmd -i " + shellQuote(image) + " ::/DOCS ::/DOCS/NESTED");
    ASSERT_EQ(made.status, 0) << made.out;
    for (const VolumeFile& file : sampleFiles()) {
        const std::string source = folder.file("source");
        writeFile(source, file.bytes);
        made = runShell(kTools + "mcopy -i " + shellQuote(image) + " " + shellQuote(source) + " " +
                        shellQuote("::" + file.path));
        ASSERT_EQ(made.status, 0) << made.out;
    }
}

// fsck.fat reads sector sizes of 512 bytes and up.
void expectCleanFsck(const std::string& image) {
    const ProcessResult checked = runShell("fsck.fat -n " + shellQuote(image));
    EXPECT_EQ(checked.status, 0) << checked.out;
}

void expectFilesReadBack(const TemporaryFolder& folder, const std::string& image) {
    for (const VolumeFile& file : sampleFiles()) {
        const std::string copy = folder.file("copy");
        const ProcessResult read = runShell(kTools + "mcopy -n -i " + shellQuote(image) + " " +
                                            shellQuote("::" + file.path) + " " + shellQuote(copy));
        ASSERT_EQ(read.status, 0) << file.path << ": " << read.out;
        EXPECT_TRUE(readFile(copy) == file.bytes) << file.path << " differs";
    }
    const ProcessResult listed = runShell(kTools + "mdir -/ -b -i " + shellQuote(image) + " ::");
    EXPECT_EQ(listed.status, 0) << listed.out;
    EXPECT_NE(listed.out.find("A file with a rather long name.txt"), std::string::npos)
        << listed.out;
}

std::string sizeOption(unsigned size) { return "-s" + std::to_string(size); }

class ConvertRealVolumeTest : public testing::TestWithParam<VolumeCase> {};

TEST_P(ConvertRealVolumeTest, ToEveryOtherSizeAndBack) {
    const VolumeCase& volume = GetParam();
    TemporaryFolder folder;
    const std::string original = folder.file("original.img");
    makeVolume(folder, volume, original);
    if (HasFatalFailure()) {
        return;
    }
    expectCleanFsck(original);
    const std::string originalBytes = readFile(original);

    for (const TargetOutcome& target : volume.targets) {
        SCOPED_TRACE("to " + std::to_string(target.size));
        const std::string image = folder.file("converted.img");
        writeFile(image, originalBytes);

        if (target.refusal != nullptr) {
            // -n too: a refused run must not draw or write a serial number.
            const ProcessResult refused = runResec({image, sizeOption(target.size), "-n"});
            EXPECT_EQ(refused.status, 2);
            EXPECT_EQ(refused.err, target.refusal);
            EXPECT_TRUE(refused.out.ends_with("  Volume name:           TESTVOLUME \n"))
                << refused.out;
            EXPECT_TRUE(readFile(image) == originalBytes) << "a refused conversion wrote";
            continue;
        }

        const ProcessResult converted = runResec({image, sizeOption(target.size)});
        EXPECT_EQ(converted.status, 0);
        EXPECT_EQ(converted.err, "");
        const std::string changed =
            "\nParameters changed:\n  Bytes per sector:      " + std::to_string(target.size) + "\n";
        EXPECT_NE(converted.out.find(changed), std::string::npos) << converted.out;
        EXPECT_TRUE(converted.out.ends_with("  Serial number:         1234ABCD\n"
                                            "\nDevice successfully converted.\n"))
            << converted.out;
        const std::string convertedBytes = readFile(image);
        ASSERT_EQ(convertedBytes.size(), originalBytes.size());
        EXPECT_TRUE(convertedBytes.compare(kBootBlockSize, std::string::npos, originalBytes,
                                           kBootBlockSize, std::string::npos) == 0)
            << "bytes beyond the boot block changed";
        if (target.size >= 512) {
            expectCleanFsck(image);
        }
        expectFilesReadBack(folder, image);

        const ProcessResult back = runResec({image, sizeOption(volume.sectorSize)});
        EXPECT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(back.err, "");
        std::string expected = originalBytes;
        if (target.shortTotalMoves) {
            BootBlock block{};
            std::copy_n(expected.begin(), kBootBlockSize, block.begin());
            storeLe32(block, kTotalSectorsLongOffset, loadLe16(block, kTotalSectorsShortOffset));
            storeLe16(block, kTotalSectorsShortOffset, 0);
            std::copy(block.begin(), block.end(), expected.begin());
        }
        EXPECT_TRUE(readFile(image) == expected) << "converting back did not restore the image";
        expectCleanFsck(image);
        expectFilesReadBack(folder, image);
    }
}

const char* const kMultiplesOf2 =
    "Conversion impossible, because not all entries are multiples of 2.\n";
const char* const kMultiplesOf4 =
    "Conversion impossible, because not all entries are multiples of 4.\n";
const char* const kRootMoves =
    "Conversion impossible, because the root directory would change its length.\n";

INSTANTIATE_TEST_SUITE_P(
    Volumes, ConvertRealVolumeTest,
    testing::Values(
        // 4 MiB FAT12 with 2048-byte sectors and one reserved sector, like the
        // bundled sample.
        VolumeCase{"Fat12Sectors2048",
                   kSmallVolumeMkfsOptions,
                   kSmallVolumeKibibytes,
                   2048,
                   {{1024, nullptr, false}, {512, nullptr, false}, {256, nullptr, false}}},
        // 32 MiB FAT16 with 16384 sectors of 2048 bytes: the short total
        // outgrows 16 bits at 512 and 256 bytes per sector.
        VolumeCase{"Fat16Sectors2048ShortTotalOverflows",
                   "--invariant -i 1234ABCD -F 16 -S 2048 -s 1 -n TESTVOLUME",
                   32768,
                   2048,
                   {{1024, nullptr, false}, {512, nullptr, true}, {256, nullptr, true}}},
        // 16 MiB FAT16 with 512-byte sectors whose counts all divide by 4.
        VolumeCase{"Fat16Sectors512",
                   "--invariant -i 1234ABCD -F 16 -S 512 -s 4 -R 4 -r 512 -n TESTVOLUME",
                   16384,
                   512,
                   {{2048, nullptr, false}, {1024, nullptr, false}, {256, nullptr, true}}},
        // 224 root entries fill 7168 bytes: whole sectors of 256, 512 and
        // 1024 bytes, but three and a half of 2048.
        VolumeCase{"Fat12Sectors512With224RootEntries",
                   "--invariant -i 1234ABCD -a -F 12 -S 512 -s 4 -R 4 -r 224 -n TESTVOLUME",
                   5120,
                   512,
                   {{2048, kRootMoves, false}, {1024, nullptr, false}, {256, nullptr, false}}},
        // A 1.44 MB floppy layout: one reserved sector, nine sectors per FAT.
        VolumeCase{
            "FloppySingleReservedSector",
            "--invariant -i 1234ABCD -F 12 -S 512 -n TESTVOLUME",
            1440,
            512,
            {{2048, kMultiplesOf4, false}, {1024, kMultiplesOf2, false}, {256, nullptr, false}}},
        VolumeCase{"Fat12Sectors1024",
                   "--invariant -i 1234ABCD -F 12 -S 1024 -s 2 -R 2 -n TESTVOLUME",
                   4096,
                   1024,
                   {{2048, kMultiplesOf2, false}, {512, nullptr, false}, {256, nullptr, false}}}),
    CaseName{});

TEST(ConvertRealVolume, ExactOutputWithANewSerialNumber) {
    TemporaryFolder folder;
    const std::string image = folder.file("volume.img");
    VolumeCase volume{"", kSmallVolumeMkfsOptions, kSmallVolumeKibibytes, 2048, {}};
    makeVolume(folder, volume, image);
    if (HasFatalFailure()) {
        return;
    }
    const ProcessResult result = runResec({image, "-N", "-s512"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, std::string(kSmallVolumeReport) + kSmallVolumeTo512WithNewSerial);
    const ProcessResult info = runShell(kTools + "minfo -i " + shellQuote(image) + " ::");
    EXPECT_NE(info.out.find("serial number: 0C8130BE"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("sector size: 512 bytes"), std::string::npos) << info.out;
    expectCleanFsck(image);
    expectFilesReadBack(folder, image);
}

} // namespace
