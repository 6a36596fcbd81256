#pragma once

#include <deque>

#include "box_presenter.h"
#include "scripted_port.h"
#include "shell/clock.h"
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

// A main window with its dialogs, clock and serial port replaced by doubles,
// or, given a pseudo-terminal, with a real serial port on it.
struct TestWindow {
    ScriptedFileDialogs dialogs;
    RecordingBoxes boxes;
    VirtualClock clock;
    ScriptedPort port;
    gui::TForm1 form;

    // `sharedClock`, when given, stands in for the window's own virtual clock.
    explicit TestWindow(const QString& pseudoTerminal = QString(),
                        VirtualClock* sharedClock = nullptr)
        : form(Services(pseudoTerminal, sharedClock)) {
        dialogs.SetFolders(&form.Folders());
    }

private:
    gui::WindowServices Services(const QString& pseudoTerminal, VirtualClock* sharedClock) {
        gui::WindowServices services;
        services.dialogs = &dialogs;
        services.boxes = &boxes;
        services.clock = sharedClock ? sharedClock : &clock;
        if (pseudoTerminal.isEmpty()) {
            services.port = &port;
        } else {
            services.extraPorts << pseudoTerminal;
            services.selectPort = pseudoTerminal;
        }
        return services;
    }
};

}  // namespace velarix::test
