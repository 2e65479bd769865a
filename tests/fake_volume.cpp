#include "fake_volume.h"

#include <cstdio>

#include "cli/exit_status.h"
#include "volume/raw_volume.h"

struct RawVolume {
    FakeVolumeState* state;
};

FakeVolumeState& fakeVolume() {
    static FakeVolumeState state;
    return state;
}

std::string devicePath(const std::string& driveArgument) { return "fake:" + driveArgument; }

RawVolume* openVolume(const std::string& path) {
    FakeVolumeState& state = fakeVolume();
    state.calls.push_back("open " + path);
    if (state.openFails) {
        std::fprintf(stderr, "Failed to open device %s for writing. - Code %li.\n", path.c_str(),
                     2L);
        return nullptr;
    }
    ++state.openHandles;
    return new RawVolume{&state};
}

void readBlock(RawVolume* volume, BootBlock& block) {
    volume->state->calls.emplace_back("read");
    if (volume->state->readFails) {
        std::fprintf(stderr, "Failed to read sector 0. - Code %li.\n", 5L);
        throw kStatusReadFailed;
    }
    block = volume->state->content;
}

void rewindVolume(RawVolume* volume) {
    volume->state->calls.emplace_back("rewind");
    if (volume->state->rewindFails) {
        std::fprintf(stderr, "Failed to reset file pointer - Code %li.\n", 29L);
        throw kStatusUsageOrWrite;
    }
}

void writeBlock(RawVolume* volume, const BootBlock& block) {
    volume->state->calls.emplace_back("write");
    if (volume->state->writeFails) {
        std::fprintf(stderr, "Failed to write sector 0. - Code %li.\n", 28L);
        throw kStatusUsageOrWrite;
    }
    volume->state->content = block;
}

void closeVolume(RawVolume* volume) {
    volume->state->calls.emplace_back("close");
    --volume->state->openHandles;
    delete volume;
}
