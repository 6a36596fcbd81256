#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "shell/ini_file.h"
#include "shell/settings_file.h"

namespace {

// A settings file with `extra` lines of remarks and keys of other sections
// besides the window's own, as a file kept by hand for years may be.
QString LargeSettingsFolder(QTemporaryDir& dir, int extra) {
    QFile file(dir.filePath("Velarix.ini"));
    file.open(QIODevice::WriteOnly);
    file.write("[TForm1]\r\nTop=10\r\n");
    for (int i = 0; i < extra; ++i)
        file.write(QByteArray("[Notes") + QByteArray::number(i / 50) + "]\r\nline" +
                   QByteArray::number(i) + "=some text of the technician\r\n");
    return dir.path() + QLatin1Char('/');
}

// What closing the window costs: one whole write of the file.
void BM_SaveSettings(benchmark::State& state) {
    QTemporaryDir dir;
    const velarix::Settings settings =
        velarix::LoadSettings(LargeSettingsFolder(dir, static_cast<int>(state.range(0))), {});
    for (auto _ : state) velarix::SaveSettings(settings);
}
BENCHMARK(BM_SaveSettings)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);

// The same keys written one by one, each write saving the whole file, as
// the settings used to be saved: for comparison.
void BM_SaveSettingsKeyByKey(benchmark::State& state) {
    QTemporaryDir dir;
    const QString folder = LargeSettingsFolder(dir, static_cast<int>(state.range(0)));
    const velarix::Settings settings = velarix::LoadSettings(folder, {});
    for (auto _ : state) {
        velarix::TIniFile32 ini(folder + velarix::SettingsFileName());
        velarix::WriteSettingsKeys(settings, ini);
    }
}
BENCHMARK(BM_SaveSettingsKeyByKey)->Arg(0)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
