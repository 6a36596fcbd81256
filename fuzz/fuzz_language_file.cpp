// Any bytes as a language file: every key is read; a text is never empty and
// keeps the edge blanks of the Spanish text it replaces.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "shell/language.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    {
        QFile file(velarix::LanguageFilePath(folder, QStringLiteral("L")));
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    velarix::MessageTable table;
    velarix::LoadLanguageFile(table, folder, QStringLiteral("L"));
    for (const auto& d : velarix::MessageDefaults()) {
        const QString text = table.Text(d.key);
        const QString spanish = QString::fromUtf8(d.spanish);
        if (text.isEmpty()) __builtin_trap();
        if (spanish.startsWith(QLatin1Char(' ')) != text.startsWith(QLatin1Char(' ')))
            __builtin_trap();
    }
    return 0;
}
