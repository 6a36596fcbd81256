// Editing the largest tables (2002 channels, 199 transponders): one edit each
// time, kept as an undo step and undone again so that every round starts from
// the same tables. The cost of keeping a step on its own, and of a search.
#include <benchmark/benchmark.h>

#include "sample_tables.h"
#include "shell/null_frame.h"
#include "shell/settings.h"
#include "tuning/edit_history.h"
#include "tuning/table_editing.h"
#include "tuning/table_files.h"

namespace {

using velarix::EditHistory;

struct Large {
    velarix::Settings settings;
    velarix::ChannelTables tables{settings};
    EditHistory history{tables};
    velarix::NullFrame frame;

    Large() {
        settings.channelCount = 1;
        settings.transponderCount = 1;
        velarix::ApplyChannelCount(settings);
        velarix::ApplyTransponderCount(settings);
        settings.symbolRates = {27500, 22000, 29900, 30000, 28000, 29700, 26000, 23500,
                                27000, 24444, 6111,  5632,  4340,  3255,  2963,  2222};
        tables.ApplyChannelCount();
        tables.ApplyTransponderCount();
        velarix::sim::FlashLayout layout;
        layout.size = 0x100000;
        layout.channels = velarix::sim::ManyChannels(2002, 199);
        layout.transponders = velarix::sim::ManyTransponders(199);
        tables.LoadTable(velarix::sim::FlashImage(layout), velarix::TableKind::FlashImage, frame);
    }
    // One edit as the page makes it, then undone.
    template <typename Edit>
    void EditAndUndo(benchmark::State& state, Edit edit) {
        for (auto _ : state) {
            {
                const EditHistory::Step step(history);
                edit();
            }
            if (!history.Undo()) state.SkipWithError("nothing to undo");
        }
    }
};

// "Mover a": 100 channels from the top to the end of the table.
void BM_MoveChannels(benchmark::State& state) {
    Large large;
    large.EditAndUndo(state, [&] { velarix::MoveChannels(large.tables, {1, 100}, 1902); });
}
BENCHMARK(BM_MoveChannels)->Unit(benchmark::kMicrosecond);

// "Borrar" on transponder 1: its channels go, every other channel follows.
void BM_DeleteTransponder(benchmark::State& state) {
    Large large;
    large.EditAndUndo(state, [&] { velarix::DeleteTransponders(large.tables, {1, 1}); });
}
BENCHMARK(BM_DeleteTransponder)->Unit(benchmark::kMicrosecond);

// "Pegar" of ten transponder rows at row 1: every used row moves down.
void BM_PasteTransponders(benchmark::State& state) {
    Large large;
    const QString rows = velarix::CopyRows(large.tables.Transponders(), {1, 10});
    large.EditAndUndo(state, [&] { velarix::PasteTransponders(large.tables, 1, rows); });
}
BENCHMARK(BM_PasteTransponders)->Unit(benchmark::kMicrosecond);

// A key "3" on one channel: what keeping the step costs beside a tiny edit.
void BM_OneChannelEdit(benchmark::State& state) {
    Large large;
    large.EditAndUndo(state, [&] { velarix::SetEncryption(large.tables, {7, 7}, 3); });
}
BENCHMARK(BM_OneChannelEdit)->Unit(benchmark::kMicrosecond);

// "Buscar" through the whole channel table without a match.
void BM_SearchAll(benchmark::State& state) {
    Large large;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            velarix::FindChannel(large.tables.Channels(), 0, QStringLiteral("nowhere")));
    }
}
BENCHMARK(BM_SearchAll)->Unit(benchmark::kMicrosecond);

// "Duplicados": no channels share SID and transponder, so the names are
// grouped as well (names cut to 16 letters repeat in this table).
void BM_NextDuplicates(benchmark::State& state) {
    Large large;
    for (auto _ : state) benchmark::DoNotOptimize(velarix::NextDuplicates(large.tables, 1));
}
BENCHMARK(BM_NextDuplicates)->Unit(benchmark::kMicrosecond);

}  // namespace
