#pragma once

#include <QMenu>
#include <QPlainTextEdit>

namespace velarix {
class FileDialogs;
}

namespace velarix::gui {

class BoxPresenter;

// The object names of one log pane and its context menu.
struct LogMemoNames {
    const char* pane;
    const char* menu;
    const char* saveItem;
    const char* clearItem;
    const char* copyItem;
};

// A read-only log pane with its context menu "Guardar como...", "Borrar",
// "Copiar". "Copiar" is enabled, each time the menu opens, exactly when the
// pane has a selection.
class LogMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    LogMemo(const LogMemoNames& names, FileDialogs& dialogs, BoxPresenter& boxes, QWidget* parent);

    void AddLine(const QString& line);
    QStringList Lines() const;
    QMenu* Menu() const { return menu_; }
    // Readies the menu entries as opening the menu does.
    void PrepareMenu();
    // "Guardar como...": asks for a file and writes the lines into it.
    void SaveAs();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    FileDialogs& dialogs_;
    BoxPresenter& boxes_;
    QMenu* menu_;
    QAction* save_;
    QAction* clear_;
    QAction* copy_;
};

}  // namespace velarix::gui
