// A 4 MiB flash image with 2002 channels and 199 transponders: the file read
// and loaded, the records parsed, built and the image rebuilt, the file saved.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "sample_tables.h"
#include "shell/null_frame.h"
#include "shell/settings.h"
#include "shell/whole_file.h"
#include "tuning/table_files.h"

namespace {

using velarix::ChannelTables;

velarix::Settings LargeTables() {
    velarix::Settings s;
    s.channelCount = 1;
    s.transponderCount = 1;
    velarix::ApplyChannelCount(s);
    velarix::ApplyTransponderCount(s);
    s.symbolRates = {27500, 22000, 29900, 30000, 28000, 29700, 26000, 23500,
                     27000, 24444, 6111,  5632,  4340,  3255,  2963,  2222};
    s.tcs = 0x1A;
    s.tpt = 0x1C;
    return s;
}

const QByteArray& Image() {
    static const QByteArray image = [] {
        velarix::sim::FlashLayout layout;
        layout.size = 4 * 1024 * 1024;
        layout.channelSection = 0x1A0000;
        layout.transponderSection = 0x1C0020;
        layout.channels = velarix::sim::ManyChannels(2002, 199);
        layout.transponders = velarix::sim::ManyTransponders(199);
        return velarix::sim::FlashImage(layout);
    }();
    return image;
}

struct Loaded {
    velarix::Settings settings = LargeTables();
    ChannelTables tables{settings};
    velarix::NullFrame frame;
    Loaded() { tables.LoadTable(Image(), velarix::TableKind::FlashImage, frame); }
};

// "Leer archivo...": the whole file read, both sections found, both tables parsed.
void BM_LoadFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("flash.bin");
    velarix::WriteWholeFile(path, Image());
    velarix::Settings settings = LargeTables();
    ChannelTables tables(settings);
    velarix::NullFrame frame;
    for (auto _ : state) {
        velarix::FileRead file = velarix::ReadWholeFile(path);
        if (!tables.LoadTable(std::move(file.bytes), velarix::TableKind::FlashImage, frame))
            state.SkipWithError("not loaded");
    }
    state.SetBytesProcessed(state.iterations() * Image().size());
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

// The two section searches over 4 MiB.
void BM_FindSections(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(velarix::FindSection("TCS", 0, Image()));
        benchmark::DoNotOptimize(velarix::FindSection("TPT", 0, Image()));
    }
}
BENCHMARK(BM_FindSections)->Unit(benchmark::kMillisecond);

// Records into rows of texts: 199 transponders, 2002 channels.
void BM_ParseRecords(benchmark::State& state) {
    Loaded loaded;
    for (auto _ : state) {
        loaded.tables.ParseTransponderRecords(Image(), 0x1C0020 + 68, false);
        loaded.tables.ParseChannelRecords(Image(), 0x1A0000 + 68, false, 0);
    }
}
BENCHMARK(BM_ParseRecords)->Unit(benchmark::kMillisecond);

// Rows of texts back into records.
void BM_BuildRecords(benchmark::State& state) {
    Loaded loaded;
    QByteArray buffer(68 + 2002 * 30 + 199 * 12, '\0');
    for (auto _ : state) {
        benchmark::DoNotOptimize(loaded.tables.BuildChannelRecords(buffer, 0));
        benchmark::DoNotOptimize(loaded.tables.BuildTransponderRecords(buffer, 2002 * 30));
    }
}
BENCHMARK(BM_BuildRecords)->Unit(benchmark::kMillisecond);

// The image rebuilt in place: copied, both tables built, stale sections looked for.
void BM_RebuildImage(benchmark::State& state) {
    Loaded loaded;
    for (auto _ : state) {
        if (loaded.tables.RebuildImage()) state.SkipWithError("not rebuilt");
    }
    state.SetBytesProcessed(state.iterations() * Image().size());
}
BENCHMARK(BM_RebuildImage)->Unit(benchmark::kMillisecond);

// "Guardar como...": rebuilt and written whole beside, then renamed.
void BM_SaveFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("saved.bin");
    Loaded loaded;
    for (auto _ : state) {
        if (velarix::SaveTableImage(loaded.tables, path)) state.SkipWithError("not saved");
    }
    state.SetBytesProcessed(state.iterations() * Image().size());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

}  // namespace
