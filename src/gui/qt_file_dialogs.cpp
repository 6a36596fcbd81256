#include "qt_file_dialogs.h"

#include <QFileDialog>

namespace velarix::gui {

QStringList QtNameFilters(const QString& filter) {
    QStringList filters;
    for (const auto& entry : ParseFilter(filter)) {
        filters << entry.description + QStringLiteral(" (") + entry.globs.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

std::optional<FileChoice> QtFileDialogs::AskOpen(const QString& filter, int preselect) {
    return Ask(false, filter, preselect);
}

std::optional<FileChoice> QtFileDialogs::AskSave(const QString& filter, int preselect) {
    return Ask(true, filter, preselect);
}

std::optional<FileChoice> QtFileDialogs::Ask(bool save, const QString& filter, int preselect) {
    QFileDialog dialog(owner_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(save ? folders_.SaveFolder() : folders_.OpenFolder());
    if (save) dialog.setDefaultSuffix(folders_.DefaultExtension());
    const QStringList filters = QtNameFilters(filter);
    dialog.setNameFilters(filters);
    if (preselect >= 1 && preselect <= filters.size())
        dialog.selectNameFilter(filters[preselect - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileChoice choice{dialog.selectedFiles().first(),
                      static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1};
    folders_.NoteChosen(choice.path);
    return choice;
}

}  // namespace velarix::gui
