#pragma once

#include <QTemporaryDir>
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
    // Answered from `abortRetryIgnoreAnswers`, then Abort.
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override {
        shown.append({BoxKind::Error, text});
        if (abortRetryIgnoreAnswers.empty()) return AbortRetryIgnore::Abort;
        const AbortRetryIgnore answer = abortRetryIgnoreAnswers.front();
        abortRetryIgnoreAnswers.pop_front();
        return answer;
    }
    int ChooseFromList(const QString&, const QString& prompt, const QStringList& choices) override {
        shown.append({BoxKind::Information, prompt});
        listsOffered.append(choices);
        if (listAnswers.empty()) return -1;
        const int answer = listAnswers.front();
        listAnswers.pop_front();
        return answer;
    }

    QList<Box> shown;
    bool okAnswer = false;
    std::deque<int> listAnswers;  // the rows chosen, in order; none: no answer
    QList<QStringList> listsOffered;
    std::deque<AbortRetryIgnore> abortRetryIgnoreAnswers;
};

// What a test window starts with.
struct WindowOptions {
    QString pseudoTerminal;         // a real serial port on it, instead of the double
    VirtualClock* clock = nullptr;  // stands in for the window's own virtual clock
    bool sampleSettings = false;    // the shipped sample settings folder, copied
    QByteArray settingsFile;        // a "Velarix.ini" to start with
    QStringList ports;              // port names offered besides the machine's
    QString lptSpec;                // the parallel port, as --lpt names it
    SimPortMaker simPort;           // the simulated decoder's parallel port for "sim"
    TrapRoutineReader trapRoutine;  // instead of the user's trap.bin
    QString runPort;                // a port given for this run only (--port, --demo)
    QString runLanguage;            // a language given for this run only (--language)
};

// A main window with its dialogs, clock and serial port replaced by doubles,
// on a settings folder of its own.
struct TestWindow {
    ScriptedFileDialogs dialogs;
    RecordingBoxes boxes;
    VirtualClock clock;
    ScriptedPort port;
    QTemporaryDir settingsFolder;
    gui::TForm1 form;

    explicit TestWindow(const WindowOptions& options = {}) : form(Services(options)) {
        dialogs.SetFolders(&form.Folders());
    }
    // Kept for the tests that only give a pseudo-terminal.
    TestWindow(const QString& pseudoTerminal, VirtualClock* sharedClock)
        : TestWindow(WindowOptions{pseudoTerminal, sharedClock}) {}

private:
    gui::WindowServices Services(const WindowOptions& options);
};

}  // namespace velarix::test
