#pragma once

#include <QString>
#include <QStringList>

namespace velarix {

// The three pages that carry an "Estado" panel and a progress bar.
enum class StatusPage { Eeprom, FirmwareParallel, FirmwareJtag };

// The five value fields of an "Estado" panel.
enum class StatusField { Task, Address, Errors, Speed, TimeLeft };

// The four log panes.
enum class LogPane { Eeprom, Firmware, Terminal, Jtag };

enum class BoxKind { Information, Warning, Error };

enum class AbortRetryIgnore { Abort, Retry, Ignore };

// How a running operation talks to the person: status fields, progress, log
// lines, message boxes and questions, and the busy state that keeps a second
// operation from starting. The window implements it with widgets, the command
// line with text on standard error, the tests with a recorder.
class OperationFrame {
public:
    virtual ~OperationFrame() = default;

    // Disables every page but "Imagen" and "Tabla de Transpondedores".
    virtual void BeginBusy() = 0;
    // Enables the same pages again; harmless when nothing was disabled.
    virtual void EndBusy() = 0;

    virtual void SetStatusField(StatusPage page, StatusField field, const QString& text) = 0;
    virtual QString StatusFieldText(StatusPage page, StatusField field) const = 0;
    virtual void SetProgress(StatusPage page, int position) = 0;
    virtual void SetProgressMaximum(StatusPage page, int maximum) = 0;

    // At the end of a task: progress 0 and the five value fields emptied.
    virtual void ClearStatus(StatusPage page);

    virtual void AddLogLine(LogPane pane, const QString& line) = 0;

    // A message box with one OK button.
    virtual void ShowMessage(BoxKind kind, const QString& text) = 0;
    // A box with OK and Cancel; true for OK.
    virtual bool AskOkCancel(BoxKind kind, const QString& text) = 0;
    virtual AbortRetryIgnore AskAbortRetryIgnore(const QString& text) = 0;
    // Lets the person pick one of `choices`; -1 when nothing is chosen.
    virtual int ChooseFromList(const QString& caption, const QString& prompt,
                               const QStringList& choices) = 0;

    // Redraws the status fields and progress bars while a synchronous loop runs,
    // without letting any user input through.
    virtual void Repaint() = 0;
};

// A message as it is shown: the two lines of a box are joined by a line feed
// and a carriage return in either order, and a line of the log may hold
// carriage returns; on screen each of these is one line break.
QString DisplayedText(QString text);

}  // namespace velarix
