// POSIX raw volume access: the drive argument names a block device or an
// image file. Error codes in messages are errno values.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cli/exit_status.h"
#include "volume/raw_volume.h"

struct RawVolume {
    int fd;
};

std::string devicePath(const std::string& driveArgument) { return driveArgument; }

RawVolume* openVolume(const std::string& path) {
    int flags = O_RDWR | O_CLOEXEC;
#ifdef __linux__
    // On a block device, O_EXCL makes the kernel refuse a volume that is
    // mounted or otherwise claimed (EBUSY), so the boot sector is never
    // rewritten under a live file system.
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISBLK(status.st_mode)) {
        flags |= O_EXCL;
    }
#endif
    int fd = -1;
    do {
        fd = open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const long code = errno;
        std::fprintf(stderr, "Failed to open device %s for writing. - Code %li.\n", path.c_str(),
                     code);
        return nullptr;
    }
    return new RawVolume{fd};
}

void readBlock(RawVolume* volume, BootBlock& block) {
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t got = read(volume->fd, block.data() + done, block.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // A volume shorter than the block ends the run here, so that
            // nothing is ever written to it.
            const long code = got < 0 ? errno : EIO;
            std::fprintf(stderr, "Failed to read sector 0. - Code %li.\n", code);
            throw kStatusReadFailed;
        }
        done += static_cast<std::size_t>(got);
    }
}

void rewindVolume(RawVolume* volume) {
    if (lseek(volume->fd, 0, SEEK_SET) == static_cast<off_t>(-1)) {
        const long code = errno;
        std::fprintf(stderr, "Failed to reset file pointer - Code %li.\n", code);
        throw kStatusUsageOrWrite;
    }
}

namespace {

[[noreturn]] void failWrite(long code) {
    std::fprintf(stderr, "Failed to write sector 0. - Code %li.\n", code);
    throw kStatusUsageOrWrite;
}

} // namespace

void writeBlock(RawVolume* volume, const BootBlock& block) {
    std::size_t done = 0;
    while (done < block.size()) {
        const ssize_t put = write(volume->fd, block.data() + done, block.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            failWrite(put < 0 ? errno : EIO);
        }
        done += static_cast<std::size_t>(put);
    }
    // "Successfully converted" must mean the block is on the device.
    int synced = -1;
    do {
        synced = fsync(volume->fd);
    } while (synced != 0 && errno == EINTR);
    if (synced != 0) {
        failWrite(errno);
    }
}

void closeVolume(RawVolume* volume) {
    close(volume->fd);
    delete volume;
}
