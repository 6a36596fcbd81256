#pragma once

#include <QByteArray>
#include <QString>

namespace velarix {

// Windows-1252, the code page of the settings, language and export files.
// Converted only at those files' edges; inside, text is Unicode.
QString FromCp1252(const QByteArray& bytes);
// Characters the code page lacks become "?".
QByteArray ToCp1252(const QString& text);

}  // namespace velarix
