#pragma once

#include <deque>

#include "box_presenter.h"
#include "shell/file_dialogs.h"
#include "tform1.h"

namespace velarix::test {

// File dialogs that hand out the files a test lined up, noting each filter
// asked with; cancelled once the line runs dry. Chosen files move the shared
// folders as the real dialogs do.
class ScriptedFileDialogs : public FileDialogs {
public:
    explicit ScriptedFileDialogs(DialogFolders* folders = nullptr) : folders_(folders) {}
    void SetFolders(DialogFolders* folders) { folders_ = folders; }

    std::optional<FileChoice> AskOpen(const QString& filter, int preselect) override;
    std::optional<FileChoice> AskSave(const QString& filter, int preselect) override;

    std::deque<FileChoice> answers;
    QStringList filtersAsked;
    QList<int> preselectsAsked;
    QStringList foldersOffered;

private:
    std::optional<FileChoice> Next(const QString& folder, const QString& filter, int preselect);
    DialogFolders* folders_;
};

// Message boxes that are remembered instead of shown.
class RecordingBoxes : public gui::BoxPresenter {
public:
    struct Box {
        BoxKind kind;
        QString text;
    };
    void Show(BoxKind kind, const QString& text) override { shown.append({kind, text}); }
    bool AskOkCancel(BoxKind kind, const QString& text) override {
        shown.append({kind, text});
        return okAnswer;
    }
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override {
        shown.append({BoxKind::Error, text});
        return AbortRetryIgnore::Abort;
    }
    int ChooseFromList(const QString&, const QString& prompt, const QStringList&) override {
        shown.append({BoxKind::Information, prompt});
        return -1;
    }

    QList<Box> shown;
    bool okAnswer = false;
};

// A main window with both doubles in place.
struct TestWindow {
    ScriptedFileDialogs dialogs;
    RecordingBoxes boxes;
    gui::TForm1 form{gui::WindowServices{&dialogs, &boxes}};

    TestWindow() { dialogs.SetFolders(&form.Folders()); }
};

}  // namespace velarix::test
