#pragma once

#include <string>

#include "bootblock/boot_block.h"

// Raw access to the first 2048 bytes of a volume, below any file system.
// The platform's handle stays behind this incomplete type; exactly one
// implementation file is built for the target platform.
struct RawVolume;

// The path that openVolume opens for the drive argument as typed.
std::string devicePath(const std::string& driveArgument);

// Opens the volume for reading and writing. On failure writes
// "Failed to open device ... for writing." to standard error and returns
// nullptr; there is then nothing to close.
RawVolume* openVolume(const std::string& path);

// Reads exactly 2048 bytes from the current position (offset 0 after the
// open). A failure or a volume shorter than the block writes its message
// and throws status 6.
void readBlock(RawVolume* volume, BootBlock& block);

// Moves back to offset 0; a failure writes its message and throws status 1.
void rewindVolume(RawVolume* volume);

// Writes all 2048 bytes and makes sure they reached the device; a failure
// writes its message and throws status 1.
void writeBlock(RawVolume* volume, const BootBlock& block);

// Releases the handle; its result is not examined.
void closeVolume(RawVolume* volume);
