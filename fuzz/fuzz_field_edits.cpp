// Any image and any KEY=VALUE edits through the set-field path of the
// command line (the page's own editing rules), then every field read back.
// The input is the 2048 bytes of the image (what is missing reads as FF),
// then one edit per line.
#include <cstddef>
#include <cstdint>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/interpreted_fields.h"
#include "eeprom_commands.h"
#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray bytes = input.left(velarix::EepromImage::kSize);
    bytes.append(QByteArray(velarix::EepromImage::kSize - bytes.size(), '\xFF'));
    velarix::EepromImage image;
    image.PutImageBytes(bytes, 0, velarix::EepromImage::kSize);
    velarix::Settings settings;
    settings.model = input.isEmpty() ? 0 : static_cast<std::uint8_t>(input[0]) % 6;
    velarix::InterpretedFields fields(image, settings);
    for (const QByteArray& line : input.mid(velarix::EepromImage::kSize).split('\n')) {
        const QString edit = QString::fromLatin1(line);
        const qsizetype eq = edit.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        velarix::cli::SetField(fields, edit.left(eq), edit.mid(eq + 1));
    }
    // The image stays 2048 cells of two upper-case hexadecimal digits.
    for (int address = 0; address < velarix::EepromImage::kSize; ++address) {
        const QString cell = image.Cell(address);
        if (cell.size() != 2 || !velarix::IsHexText(cell)) __builtin_trap();
    }
    for (int i = 0; i < velarix::kFieldCount; ++i) {
        const auto field = static_cast<velarix::Field>(i);
        if (velarix::InterpretedFields::KindOf(field) == velarix::FieldKind::Choice) {
            const velarix::ChoiceView view = fields.Choice(field);
            if (view.raw.size() != fields.RawWidth(field)) __builtin_trap();
        } else {
            fields.Number(field);
        }
    }
    for (int record = 0; record < 2; ++record)
        for (int f = 0; f < velarix::kSatelliteFieldCount; ++f)
            fields.Satellite(record, static_cast<velarix::SatelliteField>(f));
    return 0;
}
