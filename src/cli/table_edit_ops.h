#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>
#include <variant>
#include <vector>

#include "tuning/channel_tables.h"
#include "tuning/table_editing.h"

namespace velarix::cli {

// One OP of `tables edit`: what a person does with the page's buttons, keys,
// status panel and dialogs on a selection of rows.
struct EditOp {
    enum class Verb { Move, Delete, Cut, Copy, Paste, Key, Flag, Encryption, Set, Swap };
    QString text;  // as given, for messages
    Verb verb = Verb::Move;
    bool transponders = false;              // the grid the OP works on
    RowRange rows;                          // S-E, or the row R / S
    int number = 0;                         // T, K, C, or the satellite A
    int second = 0;                         // the satellite B
    int bit = 0;                            // the status box's bit
    QList<std::pair<int, QString>> fields;  // column, text
};

// Reads one OP against the loaded tables (their sizes, headings and satellite
// names): the OP, or what is wrong with it.
std::variant<EditOp, QString> ParseEditOp(const QString& text, const ChannelTables& tables);

// What the OPs share: the tables and the command's own clipboard.
struct EditSession {
    ChannelTables& tables;
    QString clipboard;
};

// Applies one OP through the operations of the page; a message when the page
// would not do it (a paste without rows of that kind). Log lines the page
// would show go to `log`.
std::optional<QString> ApplyEditOp(const EditOp& op, EditSession& session, QTextStream& log);

}  // namespace velarix::cli
