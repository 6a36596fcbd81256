#include "tuning/edit_history.h"

namespace velarix {

namespace {

// The rows that differ between two states of one table of the same size.
template <typename RowChange>
std::vector<RowChange> Differences(const std::vector<TableRow>& before,
                                   const std::vector<TableRow>& after) {
    std::vector<RowChange> changes;
    for (std::size_t r = 1; r < after.size(); ++r) {
        if (!(before[r] == after[r])) changes.push_back({static_cast<int>(r), before[r], after[r]});
    }
    return changes;
}

}  // namespace

EditHistory::EditHistory(ChannelTables& tables, int depth, QObject* parent)
    : QObject(parent), tables_(tables), depth_(static_cast<std::size_t>(std::max(depth, 1))) {
    connect(&tables_, &ChannelTables::TableLoaded, this, [this] { Clear(); });
    connect(&tables_, &ChannelTables::TableReleased, this, [this] { Clear(); });
    for (TableRows* table : {&tables_.Channels(), &tables_.Transponders()}) {
        connect(table, &TableRows::RowsChanged, this,
                [this](int first, int last) { OutsideChange(first, last); });
        connect(table, &TableRows::RowCountChanged, this, [this] {
            if (open_ == 0) Clear();
        });
    }
}

void EditHistory::OutsideChange(int, int last) {
    if (open_ > 0 || applying_ || last == 0) return;  // an edit, or the headings
    Clear();
}

EditHistory::Step::Step(EditHistory& history) : history_(history) {
    if (history_.open_++ == 0) history_.Begin();
}

EditHistory::Step::~Step() {
    if (--history_.open_ == 0) history_.End();
}

void EditHistory::Begin() {
    channelsBefore_ = tables_.Channels().Rows();
    transpondersBefore_ = tables_.Transponders().Rows();
}

void EditHistory::End() {
    const auto& channels = tables_.Channels().Rows();
    const auto& transponders = tables_.Transponders().Rows();
    std::vector<TableRow> channelsBefore = std::move(channelsBefore_);
    std::vector<TableRow> transpondersBefore = std::move(transpondersBefore_);
    if (channels.size() != channelsBefore.size() ||
        transponders.size() != transpondersBefore.size()) {
        Clear();  // the edit changed the table sizes: nothing before it fits
        return;
    }
    Change change{Differences<RowChange>(channelsBefore, channels),
                  Differences<RowChange>(transpondersBefore, transponders)};
    if (change.channels.empty() && change.transponders.empty()) return;
    undo_.push_back(std::move(change));
    if (undo_.size() > depth_) undo_.pop_front();
    redo_.clear();
    emit Changed();
}

void EditHistory::Apply(const Change& change, bool forward) {
    applying_ = true;
    const auto put = [forward](TableRows& table, const std::vector<RowChange>& rows) {
        const TableRows::Batch batch(table);
        for (const RowChange& c : rows) {
            if (c.row < table.RowCount()) table.SetRow(c.row, forward ? c.after : c.before);
        }
    };
    put(tables_.Channels(), change.channels);
    put(tables_.Transponders(), change.transponders);
    applying_ = false;
}

bool EditHistory::Undo() {
    if (undo_.empty() || open_ > 0) return false;
    Change change = std::move(undo_.back());
    undo_.pop_back();
    Apply(change, false);
    redo_.push_back(std::move(change));
    emit Changed();
    return true;
}

bool EditHistory::Redo() {
    if (redo_.empty() || open_ > 0) return false;
    Change change = std::move(redo_.back());
    redo_.pop_back();
    Apply(change, true);
    undo_.push_back(std::move(change));
    emit Changed();
    return true;
}

void EditHistory::Clear() {
    if (undo_.empty() && redo_.empty()) return;
    undo_.clear();
    redo_.clear();
    emit Changed();
}

}  // namespace velarix
