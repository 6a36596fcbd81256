#pragma once

class QObject;

namespace velarix {
class MessageTable;
}

namespace velarix::gui {

// Puts the text of every key of the message table on each control it
// captions under `root`: captions, page tabs, menu items, list entries (the
// list keeps its selected position), grid headers and hints. Controls that are
// not there are passed over.
void ApplyTexts(QObject* root, const MessageTable& table);

}  // namespace velarix::gui
