#include <string>

#include "bootblock/boot_block.h"
#include "bootblock/conversion.h"
#include "bootblock/serial_number.h"
#include "cli/exit_status.h"
#include "cli/run.h"
#include "volume/raw_volume.h"

int runConversion(const RunSettings& settings) {
    const std::string path = devicePath(settings.driveArgument);
    RawVolume* volume = openVolume(path);
    if (volume == nullptr) {
        return kStatusOpenFailed;
    }
    // The run frame: every stage from here on ends the run by throwing its
    // status, the successful end included, and this one handler closes the
    // volume exactly once.
    try {
        BootBlock block{};
        readBlock(volume, block);
        checkBootBlock(block);
        printBootBlockReport(block);
        convertSectorSize(block, settings.targetSizeCode);
        if (settings.newSerial) {
            storeNewSerialNumber(block);
        }
        rewindVolume(volume);
        writeBlock(volume, block);
        printChangedReport(block);
        throw kStatusSuccess;
    } catch (int status) {
        closeVolume(volume);
        return status;
    }
}

int runMain(int argc, const char* const* argv) {
    if (argc < 2) {
        printUsage();
        return kStatusUsageOrWrite;
    }
    RunSettings settings;
    const int parseStatus = parseCommandLine(argc, argv, settings);
    if (parseStatus != kStatusSuccess) {
        return parseStatus;
    }
    return runConversion(settings);
}
