#pragma once

#include <QString>
#include <optional>

#include "shell/settings.h"

namespace velarix {

class TIniFile32;

// The settings file's name and section.
inline QString SettingsFileName() {
    return QStringLiteral("Velarix.ini");
}
inline QString SettingsSection() {
    return QStringLiteral("TForm1");
}

// Reads "Velarix.ini" of `folder` (with its trailing "/") as the window does
// when it is created: the lists of companion files that exist, every key with
// its default, clamp and held width, the option groups (the last button
// turned on wins), the model and its flash types, the symbol-rate table.
// Leftovers of an interrupted save, older than a minute (a younger one may
// belong to a save still running), are removed first.
// `ports` are the serial ports of the machine, for the port position.
Settings LoadSettings(const QString& folder, const QStringList& ports);

// Writes every key in the order the window writes them when it closes; the
// four flash keys only while the model is "Personalizado". The file is
// written once, whole, with the bytes that writing it key by key would
// leave. Gives the system's reason when the file could not be written.
std::optional<QString> SaveSettings(const Settings& settings);

// The keys SaveSettings writes, in its order, into `ini` as it stands.
void WriteSettingsKeys(const Settings& settings, TIniFile32& ini);

// What an interrupted save of the settings file leaves beside it: the
// file's name, ".velarix-save-" and six letters or digits (never a name a
// person gives a copy, such as "Velarix.ini.backup").
bool IsLeftoverOfASave(const QString& fileName);

// The model's flash starts and types, then both chips' flash types.
void LoadModelFile(Settings& settings);
// A named model fixes the four flash fields: its file is read. Returns whether
// the fields may be edited (no model, or "Personalizado").
bool ApplyModel(Settings& settings);
// The flash-type file of the type chosen for chip 0 or 1.
void LoadFlashTypeFile(Settings& settings, int chip);
void LoadSymbolRateFile(Settings& settings);

// A block boundary of a flash-type file: upper-case hexadecimal, 0 when
// empty, FFFFFFFF when any other character stands in it.
std::uint32_t ParseBlockBoundary(const QString& text);

// The names listed under key + first..last whose files exist in `folder`.
QStringList ExistingEntries(const TIniFile32& ini, const QString& folder, const QString& key,
                            int first, int last);

}  // namespace velarix
