#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velarix {

// A file the person chose in a dialog, with the file type (filter entry,
// counted from 1) that was chosen with it.
struct FileChoice {
    QString path;
    int filterIndex = 1;
};

// The two file dialogs that every page shares. Filters are written as
// alternating description and pattern separated by "|", as in the message table.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<FileChoice> AskOpen(const QString& filter, int preselect = 1) = 0;
    virtual std::optional<FileChoice> AskSave(const QString& filter, int preselect = 1) = 0;
};

// The starting folders of the two shared dialogs, and the save dialog's default
// extension. A file chosen in either dialog moves both dialogs to its folder.
class DialogFolders {
public:
    // The folder of a file: the path before its last "/" ("/" for a file at the root).
    static QString FolderOf(const QString& path);

    QString OpenFolder() const { return open_; }
    QString SaveFolder() const { return save_; }
    void SetOpenFolder(const QString& folder) { open_ = folder; }
    void SetSaveFolder(const QString& folder) { save_ = folder; }
    void NoteChosen(const QString& path);

    // "txt" at start; the picture save sets "jpg", which then stays for the run.
    QString DefaultExtension() const { return extension_; }
    void SetDefaultExtension(const QString& extension) { extension_ = extension; }

private:
    QString open_;
    QString save_;
    QString extension_ = QStringLiteral("txt");
};

// The (description, pattern) pairs of a "|"-separated filter text. A pattern
// may hold several globs separated by ";". A trailing description without a
// pattern is dropped.
struct FilterEntry {
    QString description;
    QStringList globs;
};
QList<FilterEntry> ParseFilter(const QString& filter);

}  // namespace velarix
