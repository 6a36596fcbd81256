#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <optional>

namespace velarix {

class OperationFrame;

// The table of block checksums a firmware image carries for the decoder to
// check itself with: 20 entries of 4 bytes, entry k the CRC-32 of image block
// k stored most significant byte first. Block k starts at k * 10000h; blocks
// 0 to 18 are 64 KiB long and block 19 is 1 KiB short (FC00h bytes), so the
// table covers the first 13FC00h bytes of the image wherever it is put.
inline constexpr int kChecksumBlocks = 20;
inline constexpr int kChecksumTableSize = 4 * kChecksumBlocks;
inline constexpr std::int64_t kChecksumBlockSize = 0x10000;
inline constexpr std::int64_t kChecksummedSize = 0x13FC00;

// The CRC-32 of IEEE 802.3 (reflected, polynomial 04C11DB7h, starting from
// all ones, the result complemented): "123456789" gives CBF43926h.
std::uint32_t Crc32Block(QByteArrayView bytes);

struct FirmwareChecksums {
    std::array<std::uint32_t, kChecksumBlocks> crcs{};
    QByteArray table;  // the 80 bytes, most significant byte of each entry first
    // The image ended before 13FC00h: the missing bytes were counted as an
    // erased flash holds them, FF.
    bool shortImage = false;
};

// The 20 checksums of `image`. Each is logged as 8 upper-case hexadecimal
// digits in the EEPROM log pane, after a line saying so when the image was
// short. Nothing past the end of the image is read.
FirmwareChecksums ComputeFirmwareChecksums(const QByteArray& image, OperationFrame* frame);

// Where a checksum position text puts the table, when it is hexadecimal.
std::optional<std::int64_t> ChecksumPositionOf(const QString& text);

// The table fits inside an image of `size` bytes at `position` (its last byte,
// position + 79, lies before the end).
bool ChecksumTableFits(std::int64_t position, std::int64_t size);

// Computes the checksums of the image as it is and then puts the table at
// `position`, when it fits; returns whether it was put in.
bool InsertFirmwareChecksums(QByteArray& image, std::int64_t position, OperationFrame* frame);

}  // namespace velarix
