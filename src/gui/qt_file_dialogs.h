#pragma once

#include "shell/file_dialogs.h"

class QWidget;

namespace velarix::gui {

// The shared open and save dialogs of the window, starting in the folders that
// `folders` holds and moving them to the folder of every file chosen.
class QtFileDialogs : public FileDialogs {
public:
    QtFileDialogs(DialogFolders& folders, QWidget* owner) : folders_(folders), owner_(owner) {}

    std::optional<FileChoice> AskOpen(const QString& filter, int preselect) override;
    std::optional<FileChoice> AskSave(const QString& filter, int preselect) override;

private:
    std::optional<FileChoice> Ask(bool save, const QString& filter, int preselect);

    DialogFolders& folders_;
    QWidget* owner_;
};

// A "|"-separated filter as the name filters of a Qt file dialog.
QStringList QtNameFilters(const QString& filter);

}  // namespace velarix::gui
