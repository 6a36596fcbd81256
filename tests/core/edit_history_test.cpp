// Undo and redo of table edits: one step per edit, and random sequences of
// edits undone and redone give back exactly the tables (and the saved bytes)
// they started from and ended with.
#include <gtest/gtest.h>

#include <random>

#include "recording_frame.h"
#include "sample_tables.h"
#include "shell/settings.h"
#include "tuning/edit_dialogs.h"
#include "tuning/edit_history.h"
#include "tuning/table_editing.h"
#include "tuning/table_files.h"
#include "tuning_settings.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

struct EditHistoryTest : ::testing::Test {
    Settings settings = test::TuningSettings();
    ChannelTables tables{settings};
    EditHistory history{tables};
    test::RecordingFrame frame;

    void Load() { ASSERT_TRUE(tables.LoadTable(sim::FlashImage(), TableKind::FlashImage, frame)); }
    QByteArray SavedBytes() {
        EXPECT_EQ(tables.PrepareImage(), std::nullopt);
        return tables.TableImage();
    }
};

TEST_F(EditHistoryTest, EveryEditIsOneStepAndALoadEndsTheHistory) {
    Load();
    const auto loaded = tables.Channels().Rows();
    EXPECT_FALSE(history.CanUndo());
    {
        const EditHistory::Step step(history);
        EXPECT_FALSE(CopyRows(tables.Channels(), {2, 4}).isEmpty());
        DeleteChannels(tables, {2, 4});  // "Cortar": one step for the copy and the delete
    }
    {
        const EditHistory::Step step(history);
        SetEncryption(tables, {1, 1}, 3);
    }
    {
        const EditHistory::Step step(history);  // an edit that changes nothing
        SetEncryption(tables, {1, 1}, 3);
    }
    EXPECT_EQ(history.UndoCount(), 2);
    const auto edited = tables.Channels().Rows();
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(tables.Channels().Cell(1, cc::kSta), QStringLiteral("07"));
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(tables.Channels().Rows(), loaded);
    EXPECT_FALSE(history.Undo());
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(tables.Channels().Rows(), edited);
    EXPECT_FALSE(history.Redo());

    // A new edit after an undo drops what could be redone.
    ASSERT_TRUE(history.Undo());
    {
        const EditHistory::Step step(history);
        SetStatusBit(tables, {5, 5}, status_bit::kRadio, !tables.ShowChannelStatus(5).radio);
    }
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.UndoCount(), 2);

    // Headings rewritten by a language are no edit; a load ends the history.
    tables.ApplyHeadings();
    EXPECT_EQ(history.UndoCount(), 2);
    Load();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(EditHistoryTest, ChangesMadeOutsideAnEditEndTheHistory) {
    Load();
    const auto edit = [&] {
        const EditHistory::Step step(history);
        DeleteTransponders(tables, {1, 1});
    };
    edit();
    tables.RenameSatellite(QStringLiteral("Astra"), QStringLiteral("Astra 19E"));
    EXPECT_FALSE(history.CanUndo());
    edit();
    settings.channelCount = 1;
    ApplyChannelCount(settings);
    tables.ApplyChannelCount();
    EXPECT_FALSE(history.CanUndo());
    edit();
    tables.ReleaseTableImage();
    EXPECT_FALSE(history.CanUndo());
}

TEST_F(EditHistoryTest, AMergeIsUndoneAsOneStep) {
    Load();
    const auto channels = tables.Channels().Rows();
    const auto transponders = tables.Transponders().Rows();
    sim::FlashLayout added;
    added.channels = sim::ManyChannels(3, 2);
    added.transponders = sim::ManyTransponders(2);
    {
        const EditHistory::Step step(history);
        ASSERT_TRUE(tables.MergeTable(sim::FlashImage(added), frame));
    }
    EXPECT_NE(tables.Channels().Rows(), channels);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(tables.Channels().Rows(), channels);
    EXPECT_EQ(tables.Transponders().Rows(), transponders);
}

// One random edit of the page, made the way the page makes it.
class RandomEditor {
public:
    RandomEditor(ChannelTables& tables, unsigned seed) : tables_(tables), rng_(seed) {}

    void Edit(const QByteArray& merged) {
        switch (Pick(0, 15)) {
            case 0:
                MoveChannels(tables_, ChannelRange(), Pick(-2, 1002));
                break;
            case 1:
                MoveTransponders(tables_, TransponderRange(), Pick(-2, 102));
                break;
            case 2:
                DeleteChannels(tables_, ChannelRange());
                break;
            case 3:
                DeleteTransponders(tables_, TransponderRange());
                break;
            case 4:
                clipboard_ = CopyRows(tables_.Channels(), ChannelRange());
                PasteChannels(tables_, ChannelRow(), clipboard_);
                break;
            case 5:
                clipboard_ = CopyRows(tables_.Transponders(), TransponderRange());
                PasteTransponders(tables_, TransponderRow(), clipboard_);
                break;
            case 6: {
                const RowRange rows = TransponderRange();
                clipboard_ = CopyRows(tables_.Transponders(), rows);
                DeleteTransponders(tables_, rows);
                break;
            }
            case 7:
                DragChannelRow(tables_, ChannelRow(), ChannelRow());
                break;
            case 8:
                DragTransponderRow(tables_, TransponderRow(), TransponderRow());
                break;
            case 9:
                SetStatusBit(tables_, ChannelRange(), 1 << Pick(0, 4), Pick(0, 1) == 1);
                break;
            case 10:
                SetEncryption(tables_, ChannelRange(), Pick(0, 7));
                break;
            case 11: {
                const QStringList names = DialogSatellites(tables_);
                SwapSatellites(tables_, names[Pick(0, 3)], names[Pick(0, 3)]);
                break;
            }
            case 12:
                ChannelDialog();
                break;
            case 13:
                TransponderDialog();
                break;
            case 14:
                if (const auto group = NextDuplicates(tables_, ChannelRow()))
                    GatherChannels(tables_, *group);
                break;
            default:
                tables_.MergeTable(merged, frame_);
                break;
        }
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    // Mostly rows that hold something, now and then any row.
    int Row(int used, int last) { return Pick(0, 3) == 0 ? Pick(1, last) : Pick(1, used); }
    int ChannelRow() { return Row(330, tables_.ChannelRows() - 1); }
    int TransponderRow() { return Row(32, tables_.TransponderRows() - 1); }
    RowRange Range(int first, int last, int span) {
        return {first, std::min(first + Pick(0, span), last)};
    }
    RowRange ChannelRange() { return Range(ChannelRow(), tables_.ChannelRows() - 1, 12); }
    RowRange TransponderRange() {
        return Range(TransponderRow(), tables_.TransponderRows() - 1, 3);
    }
    QString Digits(int count) {
        QString text;
        for (int i = 0; i < count; ++i) text += QChar(u'0' + Pick(0, 9));
        return text;
    }
    void ChannelDialog() {
        const int row = ChannelRow();
        ChannelDialogValues values = ChannelDialogOf(tables_, row);
        values.fields[0] = QStringLiteral("Edit %1").arg(Pick(0, 99));
        for (int i = 1; i < 8; ++i) {
            if (Pick(0, 2) != 0) continue;
            const FieldRule rule = ChannelFieldRule(cc::kName + i, tables_.TransponderRows());
            values.fields[i] = LeftText(rule, TypedText(rule, Digits(Pick(0, 6))));
        }
        values.status.active = Pick(0, 1);
        values.status.encryption = Pick(0, 7);
        ApplyChannelDialog(tables_, row, values);
    }
    void TransponderDialog() {
        const int row = TransponderRow();
        TransponderDialogValues values = TransponderDialogOf(tables_, row);
        const FieldRule frec = TransponderFieldRule(tc::kFrec);
        values.frequency =
            ClampedTunerFrequency(TypedText(frec, Digits(Pick(1, 8))), tables_.LnbOf(row));
        values.polarity = Pick(0, 1) ? QStringLiteral("H") : QStringLiteral("V");
        values.tone = Pick(0, 1) ? QStringLiteral("On") : QStringLiteral("Off");
        values.band = Pick(0, 1) ? QStringLiteral("Ku") : QStringLiteral("C");
        values.symbolRate = DialogSymbolRates(tables_)[Pick(0, 14)];
        values.satellite = Pick(-1, 3);
        ApplyTransponderDialog(tables_, row, values);
    }

    ChannelTables& tables_;
    std::mt19937 rng_;
    QString clipboard_;
    test::RecordingFrame frame_;
};

TEST_F(EditHistoryTest, RandomEditsUndoneGiveBackTheLoadedTablesAndRedoneTheEdited) {
    const QByteArray image = sim::FlashImage();
    sim::FlashLayout added;
    added.channels = sim::ManyChannels(5, 3);
    added.transponders = sim::ManyTransponders(3);
    const QByteArray merged = sim::FlashImage(added);
    int steps = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
        const auto channels = tables.Channels().Rows();
        const auto transponders = tables.Transponders().Rows();
        RandomEditor editor(tables, seed);
        const int edits = 1 + static_cast<int>(seed % 15);
        for (int i = 0; i < edits; ++i) {
            const EditHistory::Step step(history);
            editor.Edit(merged);
        }
        ASSERT_LE(history.UndoCount(), edits);
        steps += history.UndoCount();
        const auto editedChannels = tables.Channels().Rows();
        const auto editedTransponders = tables.Transponders().Rows();
        const QByteArray editedBytes = SavedBytes();

        while (history.Undo()) {
        }
        ASSERT_EQ(tables.Channels().Rows(), channels);
        ASSERT_EQ(tables.Transponders().Rows(), transponders);
        ASSERT_EQ(SavedBytes(), image);

        while (history.Redo()) {
        }
        ASSERT_EQ(tables.Channels().Rows(), editedChannels);
        ASSERT_EQ(tables.Transponders().Rows(), editedTransponders);
        ASSERT_EQ(SavedBytes(), editedBytes);
    }
    EXPECT_GT(steps, 2000);  // nearly every random edit changed something
}

}  // namespace
}  // namespace velarix
