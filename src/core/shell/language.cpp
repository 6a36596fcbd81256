#include "shell/language.h"

#include "shell/ini_file.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"
#include "shell/settings.h"

namespace velarix {

namespace {

// A value read from a file has lost its edge blanks; a translation takes
// those of the Spanish text, which composed messages rely on (" es
// incorrecta." after a line number).
QString WithBlanksOf(const QString& spanish, const QString& translation) {
    qsizetype lead = 0, trail = 0;
    while (lead < spanish.size() && spanish[lead] == QLatin1Char(' ')) ++lead;
    if (lead == spanish.size()) return translation;
    while (spanish[spanish.size() - 1 - trail] == QLatin1Char(' ')) ++trail;
    return QString(lead, QLatin1Char(' ')) + translation + QString(trail, QLatin1Char(' '));
}

}  // namespace

QString LanguageFilePath(const QString& folder, const QString& name) {
    return folder + name + QStringLiteral(".ini");
}

void LoadLanguageFile(MessageTable& table, const QString& folder, const QString& name) {
    table.ResetToDefaults();
    if (name.isEmpty()) return;
    const TIniFile32 ini(LanguageFilePath(folder, name));
    for (const auto& d : MessageDefaults()) {
        const QString key = QStringLiteral("traduc") + QString::number(d.key);
        const QString spanish = QString::fromUtf8(d.spanish);
        const QString text = ini.ReadString(name, key, QString());
        table.SetText(d.key, text.isEmpty() ? spanish : WithBlanksOf(spanish, text));
    }
}

void LoadLanguage(MessageTable& table, const Settings& settings) {
    LoadLanguageFile(table, settings.folder, settings.languages.value(settings.language));
}

}  // namespace velarix
