// Any bytes as an EEPROM file of one type (VELARIX_EEPROM_FORMAT, one target
// per reader): the reader refuses it or fills cells, never writes outside the
// image, and what it read is written back and read again the same.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "eeprom/eeprom_files.h"
#include "eeprom/eeprom_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr auto kFormat = velarix::EepromFormat::VELARIX_EEPROM_FORMAT;
    velarix::EepromImage image;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto refused = velarix::ReadEepromFile(image, bytes, kFormat);
    if (refused && image.GetImageBytes() != QByteArray(velarix::EepromImage::kSize, '\xFF'))
        __builtin_trap();
    if (!refused) {
        velarix::EepromImage copy;
        const QByteArray again = velarix::WriteEepromFile(image, kFormat);
        if (velarix::ReadEepromFile(copy, again, kFormat)) __builtin_trap();
        if (copy.GetImageBytes() != image.GetImageBytes()) __builtin_trap();
    }
    return 0;
}
