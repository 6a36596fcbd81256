#pragma once

#include <QHash>
#include <QString>

namespace velarix {

// The texts the program shows, one per key, starting from the Spanish defaults.
// A language file replaces entries; every task looks its text up here each time
// it shows one, so a language change reaches every later message.
class MessageTable {
public:
    MessageTable();

    // The current text of key `key`; an unknown key gives an empty text.
    QString Text(int key) const;
    // Replaces the text of a known key; unknown keys are ignored.
    void SetText(int key, const QString& text);
    void ResetToDefaults();

    static bool IsKey(int key);
    static QString Spanish(int key);

private:
    QHash<int, QString> texts_;
};

// The process-wide table that the window, the command line and the tasks share.
MessageTable& Messages();

// Shorthand for the current text of a key.
inline QString Msg(int key) {
    return Messages().Text(key);
}

}  // namespace velarix
