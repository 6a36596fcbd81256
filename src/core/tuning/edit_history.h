#pragma once

#include <QObject>
#include <deque>
#include <vector>

#include "tuning/channel_tables.h"

namespace velarix {

// Undo and redo of the edits of the two tables. An edit is made inside a
// Step; the step keeps the rows it changed, as they were and as they became,
// texts and colours, so that undoing it gives back exactly the rows before
// and redoing it exactly the rows after.
//
// Whatever changes the tables outside a step (a load, a release, a new row
// count, a satellite renamed on the configuration page) ends the history:
// the steps kept would no longer fit the rows. Headings are not edits.
class EditHistory : public QObject {
    Q_OBJECT
public:
    explicit EditHistory(ChannelTables& tables, int depth = 1000, QObject* parent = nullptr);

    // One edit: what changed between its start and its end becomes one step
    // (none when nothing changed). Steps inside a step make one with it.
    class Step {
    public:
        explicit Step(EditHistory& history);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        EditHistory& history_;
    };

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }
    // False when there is nothing to undo or redo.
    bool Undo();
    bool Redo();
    void Clear();

signals:
    // The steps to undo or redo changed.
    void Changed();

private:
    struct RowChange {
        int row;
        TableRow before, after;
    };
    struct Change {
        std::vector<RowChange> channels, transponders;
    };

    void Begin();
    void End();
    void Apply(const Change& change, bool forward);
    void OutsideChange(int first, int last);

    ChannelTables& tables_;
    std::size_t depth_;
    int open_ = 0;  // steps open
    bool applying_ = false;
    std::vector<TableRow> channelsBefore_, transpondersBefore_;
    std::deque<Change> undo_;
    std::vector<Change> redo_;
};

}  // namespace velarix
