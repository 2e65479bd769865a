#pragma once

#include <string>

#include "process_runner.h"

// A small real volume that several end-to-end tests convert: 4 MiB of FAT12
// with 2048-byte sectors as mkfs.fat makes it, and the exact output of
// converting it to 512-byte sectors with a new serial number.

inline constexpr const char* kSmallVolumeMkfsOptions =
    "--invariant -i 1234ABCD -F 12 -S 2048 -s 1 -n TESTVOLUME";
inline constexpr unsigned kSmallVolumeKibibytes = 4096;

// Makes the small volume as an image file; the result is mkfs.fat's.
inline ProcessResult makeSmallVolume(const std::string& image) {
    return runShell("mkfs.fat " + std::string(kSmallVolumeMkfsOptions) + " -C " +
                    shellQuote(image) + " " + std::to_string(kSmallVolumeKibibytes));
}

inline constexpr const char* kSmallVolumeReport = "\nBoot block information:\n"
                                                  "  File system ID:        FAT12   \n"
                                                  "  OEM ID:                mkfs.fat\n"
                                                  "  Bytes per sector:      2048\n"
                                                  "  Sectors per cluster:   1\n"
                                                  "  Reserved sectors:      1\n"
                                                  "  Number of FATs:        2\n"
                                                  "  Size of root directory:512\n"
                                                  "  Total sectors (short): 2048\n"
                                                  "  Media byte:            F8\n"
                                                  "  Sectors per FAT:       2\n"
                                                  "  Sectors per track:     16\n"
                                                  "  Heads:                 2\n"
                                                  "  Hidden sectors:        0\n"
                                                  "  Total sectors (long):  0\n"
                                                  "  Serial number:         1234ABCD\n"
                                                  "  Volume name:           TESTVOLUME \n";

inline constexpr const char* kSmallVolumeTo512WithNewSerial = "\nParameters changed:\n"
                                                              "  Bytes per sector:      512\n"
                                                              "  Sectors per cluster:   4\n"
                                                              "  Reserved sectors:      4\n"
                                                              "  Sectors per FAT:       8\n"
                                                              "  Hidden sectors:        0\n"
                                                              "  Total sectors (short): 8192\n"
                                                              "  Total sectors (long):  0\n"
                                                              "  Serial number:         C8130BE\n"
                                                              "\nDevice successfully converted.\n";
