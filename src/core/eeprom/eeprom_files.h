#pragma once

#include <QByteArray>
#include <QString>
#include <bitset>
#include <optional>

namespace velarix {

class EepromImage;

// The three file types of the "Eeprom" page, numbered as in its dialogs.
enum class EepromFormat {
    CommandText = 1,  // "Archivo de Texto Velarix": 128 write commands of 43 characters
    PlainText = 2,    // "Archivo de Texto Zefiro9": 128 lines of 32 hexadecimal digits
    Raw = 3,          // "Archivo Binario": the 2048 bytes
};

// The format a name stands for on the command line ("velarix", "zefiro9", "raw").
std::optional<EepromFormat> EepromFormatNamed(const QString& name);

// The rows of the image a file defined, by row number.
using EepromRows = std::bitset<128>;

// Reads a file's bytes into the image's cells. A refused file changes nothing
// and gives the text of the error box; a plain-text file stops silently at its
// first line that is not 32 characters long. `defined`, when given, receives
// the rows the file set.
std::optional<QString> ReadEepromFile(EepromImage& image, const QByteArray& bytes,
                                      EepromFormat format, EepromRows* defined = nullptr);

// A text file longer than this is refused: far more than any file of 128 rows.
inline constexpr qint64 kEepromTextLimit = 1 << 20;
// How much of a file is worth reading: one byte past the longest file its
// reader takes, so that a longer one is seen and refused.
qint64 EepromFileReadLimit(EepromFormat format);

// The whole image as a file of the given type; cells are copied as they are.
QByteArray WriteEepromFile(const EepromImage& image, EepromFormat format);

// The lines of a text file; CR LF, LF or CR end a line, and the last line
// may have no end.
QStringList TextLines(const QByteArray& bytes);

}  // namespace velarix
