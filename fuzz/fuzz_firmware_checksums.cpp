// Any bytes as a firmware image, the first three of them the checksum
// position: the checksums never read past the image's end, the table goes in
// exactly when it fits, and nothing else of the image changes.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "jtag/firmware_checksums.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::int64_t position = std::int64_t(data[0]) << 16 | data[1] << 8 | data[2];
    const QByteArray original(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));
    QByteArray image = original;
    const velarix::FirmwareChecksums sums = velarix::ComputeFirmwareChecksums(image, nullptr);
    if (sums.table.size() != velarix::kChecksumTableSize) __builtin_trap();
    const bool fits = velarix::ChecksumTableFits(position, image.size());
    if (velarix::InsertFirmwareChecksums(image, position, nullptr) != fits) __builtin_trap();
    if (image.size() != original.size()) __builtin_trap();
    if (fits) {
        if (image.mid(position, velarix::kChecksumTableSize) != sums.table) __builtin_trap();
        if (image.left(position) != original.left(position)) __builtin_trap();
        if (image.mid(position + velarix::kChecksumTableSize) !=
            original.mid(position + velarix::kChecksumTableSize))
            __builtin_trap();
    } else if (image != original) {
        __builtin_trap();
    }
    return 0;
}
