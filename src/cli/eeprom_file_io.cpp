#include "eeprom_file_io.h"

#include "eeprom/eeprom_image.h"
#include "shell/operation_frame.h"
#include "shell/whole_file.h"

namespace velarix::cli {

std::optional<EepromFormat> TakeFormat(CliContext& context, const QString& name, QString& error) {
    const QString value = context.TakeOption(name).value_or(QStringLiteral("velarix"));
    const auto format = EepromFormatNamed(value);
    if (!format) error = name + QStringLiteral(" takes velarix, zefiro9 or raw, not ") + value;
    return format;
}

std::optional<int> LoadEepromFile(CliContext& context, const QString& path, EepromFormat format,
                                  EepromImage& image) {
    const FileRead file = ReadWholeFile(path);
    if (!file.ok()) {
        context.err() << file.error << Qt::endl;
        return kBadUsage;
    }
    if (const auto refused = ReadEepromFile(image, file.bytes, format)) {
        context.err() << path << ": " << DisplayedText(*refused) << Qt::endl;
        return kBadUsage;
    }
    return std::nullopt;
}

int SaveEepromFile(CliContext& context, const QString& path, EepromFormat format,
                   const EepromImage& image) {
    if (const auto error = WriteWholeFile(path, WriteEepromFile(image, format))) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    return kDone;
}

}  // namespace velarix::cli
