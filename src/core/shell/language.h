#pragma once

#include <QString>

namespace velarix {

class MessageTable;
struct Settings;

// Fills the message table from the language file chosen in the settings: its
// only section is named like the file; each key "traduc" + number replaces
// that key's Spanish text, with the blanks the Spanish text begins or ends
// with (a value of the file has lost its own). A missing file, a missing key
// or an empty value leaves the Spanish text; with no language chosen every
// text is Spanish.
void LoadLanguage(MessageTable& table, const Settings& settings);

// The same for a language named directly (--language NAME).
void LoadLanguageFile(MessageTable& table, const QString& folder, const QString& name);

// The file of a language in a settings folder (with its trailing "/").
QString LanguageFilePath(const QString& folder, const QString& name);

}  // namespace velarix
