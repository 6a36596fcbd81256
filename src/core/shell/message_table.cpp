#include "shell/message_table.h"

#include <algorithm>

#include "shell/message_keys.h"

namespace velarix {

namespace {

const MessageDefault* FindDefault(int key) {
    const auto all = MessageDefaults();
    const auto it = std::lower_bound(all.begin(), all.end(), key,
                                     [](const MessageDefault& d, int k) { return d.key < k; });
    return (it != all.end() && it->key == key) ? &*it : nullptr;
}

}  // namespace

MessageTable::MessageTable() {
    ResetToDefaults();
}

QString MessageTable::Text(int key) const {
    return texts_.value(key);
}

void MessageTable::SetText(int key, const QString& text) {
    if (IsKey(key)) texts_.insert(key, text);
}

void MessageTable::ResetToDefaults() {
    texts_.clear();
    for (const auto& d : MessageDefaults()) texts_.insert(d.key, QString::fromUtf8(d.spanish));
}

bool MessageTable::IsKey(int key) {
    return FindDefault(key) != nullptr;
}

QString MessageTable::Spanish(int key) {
    const auto* d = FindDefault(key);
    return d ? QString::fromUtf8(d->spanish) : QString();
}

MessageTable& Messages() {
    static MessageTable table;
    return table;
}

}  // namespace velarix
