#include "eeprom/eeprom_files.h"

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "serial/checksum.h"
#include "shell/message_table.h"

namespace velarix {

namespace {

constexpr int kCommandLength = 43;
constexpr int kPlainLength = 32;

// The two lines of an error box are joined by a line feed, then a carriage return.
QString Refusal(const QString& second) {
    return Msg(8) + QStringLiteral("\n\r") + second;
}

// A command-text line's fault, checked in order, or nothing.
std::optional<QString> CommandLineFault(const QString& line, int number) {
    const QString n = QString::number(number);
    if (line.size() != kCommandLength) return Refusal(Msg(9) + n + Msg(10));
    if (line.left(4) != QLatin1String("%EE=") || line.mid(6, 3) != QLatin1String("010")) {
        return Refusal(Msg(11) + n + Msg(12));
    }
    // The row (characters 5-6) must name a row of the image.
    const std::int64_t row = HexToInt(QStringView(line).mid(4, 2));
    if (!IsHexText(QStringView(line).mid(8, 33)) || row < 0 || row >= EepromImage::kRows) {
        return Refusal(Msg(13) + n);
    }
    return std::nullopt;
}

std::optional<QString> ReadCommandText(EepromImage& image, const QByteArray& bytes,
                                       EepromRows& defined) {
    if (bytes.size() > kEepromTextLimit) return Refusal(Msg(14));
    const QStringList lines = TextLines(bytes);
    for (int i = 0; i < lines.size(); ++i) {
        if (auto fault = CommandLineFault(lines[i], i + 1)) return fault;
    }
    for (const QString& line : lines) {
        const int row = static_cast<int>(HexToInt(QStringView(line).mid(4, 2)));
        image.SetRowPairs(row, QStringView(line).mid(9, 32));
        defined.set(row);
    }
    return std::nullopt;
}

std::optional<QString> ReadPlainText(EepromImage& image, const QByteArray& bytes,
                                     EepromRows& defined) {
    if (bytes.size() > kEepromTextLimit) return Refusal(Msg(14));
    const QStringList lines = TextLines(bytes);
    if (lines.isEmpty() || lines[0].size() <= 4 || lines[0].startsWith(QLatin1String("%EE=")))
        return Msg(8);
    for (int row = 0; row < EepromImage::kRows && row < lines.size(); ++row) {
        const QString& line = lines[row];
        if (line.size() != kPlainLength) break;
        QString cells;
        for (int c = 0; c < EepromImage::kColumns; ++c) {
            const QString pair = line.mid(2 * c, 2);
            cells += IsHexText(pair) ? pair : QStringLiteral("FF");
        }
        image.SetRowPairs(row, cells);
        defined.set(row);
    }
    return std::nullopt;
}

std::optional<QString> ReadRaw(EepromImage& image, const QByteArray& bytes, EepromRows& defined) {
    if (bytes.size() != EepromImage::kSize) return Refusal(Msg(14));
    image.PutImageBytes(bytes, 0, EepromImage::kSize);
    defined.set();
    return std::nullopt;
}

}  // namespace

std::optional<EepromFormat> EepromFormatNamed(const QString& name) {
    if (name == QLatin1String("velarix")) return EepromFormat::CommandText;
    if (name == QLatin1String("zefiro9")) return EepromFormat::PlainText;
    if (name == QLatin1String("raw")) return EepromFormat::Raw;
    return std::nullopt;
}

QStringList TextLines(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

std::optional<QString> ReadEepromFile(EepromImage& image, const QByteArray& bytes,
                                      EepromFormat format, EepromRows* defined) {
    EepromRows rows;
    std::optional<QString> refused;
    switch (format) {
        case EepromFormat::CommandText:
            refused = ReadCommandText(image, bytes, rows);
            break;
        case EepromFormat::PlainText:
            refused = ReadPlainText(image, bytes, rows);
            break;
        case EepromFormat::Raw:
            refused = ReadRaw(image, bytes, rows);
            break;
    }
    if (defined) *defined = rows;
    return refused;
}

qint64 EepromFileReadLimit(EepromFormat format) {
    return format == EepromFormat::Raw ? EepromImage::kSize + 1 : kEepromTextLimit + 1;
}

QByteArray WriteEepromFile(const EepromImage& image, EepromFormat format) {
    if (format == EepromFormat::Raw) return image.GetImageBytes();
    QString text;
    for (int row = 0; row < EepromImage::kRows; ++row) {
        if (format == EepromFormat::CommandText) {
            text += AddChecksum(QStringLiteral("%EE=") + HexText(row, 2) + QStringLiteral("010") +
                                image.RowText(row));
            if (row + 1 < EepromImage::kRows) text += QStringLiteral("\r\n");
        } else {
            text += image.RowText(row) + QStringLiteral("\r\n");
        }
    }
    return text.toLatin1();
}

}  // namespace velarix
