#include "boot_block_builder.h"

namespace {

void storeText(BootBlock& block, std::size_t offset, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) {
        block.at(offset + i) = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
    }
}

} // namespace

BootBlock makeBootBlock(const BootSectorFields& fields) {
    BootBlock block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block.at(i) = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    }
    block.at(0) = 0xEB;
    block.at(1) = 0x3C;
    block.at(2) = 0x90;
    storeText(block, kOemIdOffset, kOemIdWidth, fields.oemId);
    storeLe16(block, kBytesPerSectorOffset, fields.bytesPerSector);
    storeU8(block, kSectorsPerClusterOffset, fields.sectorsPerCluster);
    storeLe16(block, kReservedSectorsOffset, fields.reservedSectors);
    storeU8(block, kNumberOfFatsOffset, fields.numberOfFats);
    storeLe16(block, kRootDirectorySizeOffset, fields.rootDirectorySize);
    storeLe16(block, kTotalSectorsShortOffset, fields.totalSectorsShort);
    storeU8(block, kMediaByteOffset, fields.mediaByte);
    storeLe16(block, kSectorsPerFatOffset, fields.sectorsPerFat);
    storeLe16(block, kSectorsPerTrackOffset, fields.sectorsPerTrack);
    storeLe16(block, kHeadsOffset, fields.heads);
    storeLe32(block, kHiddenSectorsOffset, fields.hiddenSectors);
    storeLe32(block, kTotalSectorsLongOffset, fields.totalSectorsLong);
    block.at(36) = 0x00; // drive number
    block.at(37) = 0x00;
    block.at(38) = 0x29; // extended boot signature
    storeLe32(block, kSerialNumberOffset, fields.serialNumber);
    storeText(block, kVolumeNameOffset, kVolumeNameWidth, fields.volumeName);
    storeText(block, kFileSystemIdOffset, kFileSystemIdWidth, fields.fileSystemId);
    storeLe16(block, kBootSignatureOffset, kBootSignature);
    return block;
}
