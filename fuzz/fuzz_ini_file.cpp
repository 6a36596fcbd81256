// Any bytes as a settings file: read every key the window reads, then write one.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "shell/ini_file.h"
#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    {
        QFile file(folder + velarix::SettingsFileName());
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const velarix::Settings settings = velarix::LoadSettings(folder, {});
    if (settings.chips[0].numBlocks > 1024 || settings.windowWidth < 736) __builtin_trap();
    velarix::TIniFile32 ini(folder + velarix::SettingsFileName());
    const int lines = static_cast<int>(ini.Lines().size());
    ini.WriteString(QStringLiteral("TForm1"), QStringLiteral("Top"), QStringLiteral("1"));
    if (ini.Lines().size() > lines + 3) __builtin_trap();
    return 0;
}
