#include "eeprom_file_io.h"

#include "eeprom/eeprom_image.h"
#include "output_file.h"
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
                                  EepromImage& image, EepromRows* defined) {
    const FileRead file = ReadFileHead(path, EepromFileReadLimit(format));
    if (!file.ok()) {
        context.err() << file.error << Qt::endl;
        return kBadUsage;
    }
    if (const auto refused = ReadEepromFile(image, file.bytes, format, defined)) {
        context.err() << path << ": " << DisplayedText(*refused) << Qt::endl;
        return kBadUsage;
    }
    return std::nullopt;
}

int SaveEepromFile(CliContext& context, const QString& path, EepromFormat format,
                   const EepromImage& image) {
    return WriteOutput(context, path, WriteEepromFile(image, format));
}

}  // namespace velarix::cli
