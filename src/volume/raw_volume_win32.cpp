// Win32 raw volume access: the drive argument, such as E:, names a volume
// that is opened as \\.\E: through the kernel32 file calls. Error codes in
// messages are GetLastError values, read right after the failing call.
#include <windows.h>

#include <cstdio>

#include "cli/exit_status.h"
#include "volume/raw_volume.h"

struct RawVolume {
    HANDLE handle;
};

std::string devicePath(const std::string& driveArgument) { return "\\\\.\\" + driveArgument; }

RawVolume* openVolume(const std::string& path) {
    // Others may read the volume while it is open, but nobody may write it.
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const long code = static_cast<long>(GetLastError());
        std::fprintf(stderr, "Failed to open device %s for writing. - Code %li.\n", path.c_str(),
                     code);
        return nullptr;
    }
    return new RawVolume{handle};
}

void readBlock(RawVolume* volume, BootBlock& block) {
    DWORD bytesRead = 0;
    if (!ReadFile(volume->handle, block.data(), static_cast<DWORD>(block.size()), &bytesRead,
                  nullptr)) {
        const long code = static_cast<long>(GetLastError());
        std::fprintf(stderr, "Failed to read sector 0. - Code %li.\n", code);
        throw kStatusReadFailed;
    }
    if (bytesRead != block.size()) {
        // A volume shorter than the block ends the run here, so that nothing
        // is ever written to it.
        std::fprintf(stderr, "Failed to read sector 0. - Code %li.\n",
                     static_cast<long>(ERROR_HANDLE_EOF));
        throw kStatusReadFailed;
    }
}

void rewindVolume(RawVolume* volume) {
    if (SetFilePointer(volume->handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        const long code = static_cast<long>(GetLastError());
        std::fprintf(stderr, "Failed to reset file pointer - Code %li.\n", code);
        throw kStatusUsageOrWrite;
    }
}

void writeBlock(RawVolume* volume, const BootBlock& block) {
    DWORD bytesWritten = 0;
    if (!WriteFile(volume->handle, block.data(), static_cast<DWORD>(block.size()), &bytesWritten,
                   nullptr)) {
        const long code = static_cast<long>(GetLastError());
        std::fprintf(stderr, "Failed to write sector 0. - Code %li.\n", code);
        throw kStatusUsageOrWrite;
    }
    if (bytesWritten != block.size()) {
        std::fprintf(stderr, "Failed to write sector 0. - Code %li.\n",
                     static_cast<long>(ERROR_HANDLE_EOF));
        throw kStatusUsageOrWrite;
    }
}

void closeVolume(RawVolume* volume) {
    CloseHandle(volume->handle);
    delete volume;
}
