#include "shell/language.h"

#include "shell/ini_file.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"
#include "shell/settings.h"

namespace velarix {

void LoadLanguageFile(MessageTable& table, const QString& folder, const QString& name) {
    table.ResetToDefaults();
    if (name.isEmpty()) return;
    const TIniFile32 ini(folder + name + QStringLiteral(".ini"));
    for (const auto& d : MessageDefaults()) {
        const QString key = QStringLiteral("traduc") + QString::number(d.key);
        table.SetText(d.key, ini.ReadString(name, key, QString::fromUtf8(d.spanish)));
    }
}

void LoadLanguage(MessageTable& table, const Settings& settings) {
    LoadLanguageFile(table, settings.folder, settings.languages.value(settings.language));
}

}  // namespace velarix
