#pragma once

#include <string>
#include <vector>

#include "bootblock/boot_block.h"

// A volume in memory that stands in for the platform layer: it records
// every call and can be told to fail each one.
struct FakeVolumeState {
    BootBlock content{};
    bool openFails = false;
    bool readFails = false;
    bool rewindFails = false;
    bool writeFails = false;
    std::vector<std::string> calls; // "open <path>", "read", "rewind", "write", "close"
    int openHandles = 0;
};

// The state the fake volume functions work on; reset it before each run.
FakeVolumeState& fakeVolume();
