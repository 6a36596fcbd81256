// Any bytes as an EEPROM file of one type: the reader refuses it or fills
// cells, and never writes outside the image.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "eeprom/eeprom_files.h"
#include "eeprom/eeprom_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velarix::EepromImage image;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto refused = velarix::ReadEepromFile(image, bytes, velarix::EepromFormat::Raw);
    // A refused file changes nothing.
    if (refused && image.GetImageBytes() != QByteArray(velarix::EepromImage::kSize, '\xFF'))
        __builtin_trap();
    // What was read is written back and read again the same.
    if (!refused) {
        velarix::EepromImage copy;
        const QByteArray again = velarix::WriteEepromFile(image, velarix::EepromFormat::Raw);
        if (velarix::ReadEepromFile(copy, again, velarix::EepromFormat::Raw)) __builtin_trap();
        if (copy.GetImageBytes() != image.GetImageBytes()) __builtin_trap();
    }
    return 0;
}
