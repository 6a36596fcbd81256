#include "jtag/firmware_checksums.h"

#include <zlib.h>

#include <algorithm>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"

namespace velarix {

namespace {

// zlib's crc32 is this very CRC, table driven; it takes its length in
// pieces that fit an unsigned int.
std::uint32_t Continue(std::uint32_t crc, const char* data, std::int64_t length) {
    uLong c = crc;
    while (length > 0) {
        const auto piece = uInt(std::min<std::int64_t>(length, 0x40000000));
        c = crc32(c, reinterpret_cast<const Bytef*>(data), piece);
        data += piece;
        length -= piece;
    }
    return std::uint32_t(c);
}

std::int64_t BlockLength(int k) {
    return k == kChecksumBlocks - 1 ? kChecksummedSize - k * kChecksumBlockSize
                                    : kChecksumBlockSize;
}

}  // namespace

std::uint32_t Crc32Block(QByteArrayView bytes) {
    return Continue(0, bytes.data(), bytes.size());
}

FirmwareChecksums ComputeFirmwareChecksums(const QByteArray& image, OperationFrame* frame) {
    static const QByteArray erased(kChecksumBlockSize, '\xFF');
    FirmwareChecksums result;
    result.shortImage = image.size() < kChecksummedSize;
    if (result.shortImage && frame) frame->AddLogLine(LogPane::Eeprom, Msg(421));
    result.table.reserve(kChecksumTableSize);
    for (int k = 0; k < kChecksumBlocks; ++k) {
        const std::int64_t start = k * kChecksumBlockSize;
        const std::int64_t length = BlockLength(k);
        const std::int64_t present = std::clamp<std::int64_t>(image.size() - start, 0, length);
        std::uint32_t crc = Continue(0, image.constData() + start, present);
        crc = Continue(crc, erased.constData(), length - present);
        result.crcs[k] = crc;
        for (int shift = 24; shift >= 0; shift -= 8) result.table.append(char(crc >> shift));
        if (frame) frame->AddLogLine(LogPane::Eeprom, HexText(crc, 8));
    }
    return result;
}

std::optional<std::int64_t> ChecksumPositionOf(const QString& text) {
    const std::int64_t position = HexToInt(text);
    if (position < 0 || text.isEmpty()) return std::nullopt;
    return position;
}

bool ChecksumTableFits(std::int64_t position, std::int64_t size) {
    return position >= 0 && position + kChecksumTableSize - 1 < size;
}

bool InsertFirmwareChecksums(QByteArray& image, std::int64_t position, OperationFrame* frame) {
    if (!ChecksumTableFits(position, image.size())) return false;
    const FirmwareChecksums sums = ComputeFirmwareChecksums(image, frame);
    image.replace(position, kChecksumTableSize, sums.table);
    return true;
}

}  // namespace velarix
