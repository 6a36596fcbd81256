#pragma once

#include <QString>

namespace velarix {

class MessageTable;
struct Settings;

// Fills the message table from the language file chosen in the settings: its
// only section is named like the file; each key "traduc" + number replaces
// that key's Spanish text. A missing file, a missing key or an empty value
// leaves the Spanish text; with no language chosen every text is Spanish.
void LoadLanguage(MessageTable& table, const Settings& settings);

// The same for a language named directly (velarix-cli --language NAME).
void LoadLanguageFile(MessageTable& table, const QString& folder, const QString& name);

}  // namespace velarix
