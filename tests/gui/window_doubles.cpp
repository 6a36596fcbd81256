#include "window_doubles.h"

namespace velarix::test {

std::optional<FileChoice> ScriptedFileDialogs::AskOpen(const QString& filter, int preselect) {
    return Next(folders_ ? folders_->OpenFolder() : QString(), filter, preselect);
}

std::optional<FileChoice> ScriptedFileDialogs::AskSave(const QString& filter, int preselect) {
    return Next(folders_ ? folders_->SaveFolder() : QString(), filter, preselect);
}

std::optional<FileChoice> ScriptedFileDialogs::Next(const QString& folder, const QString& filter,
                                                    int preselect) {
    filtersAsked << filter;
    preselectsAsked << preselect;
    foldersOffered << folder;
    if (answers.empty()) return std::nullopt;
    FileChoice choice = answers.front();
    answers.pop_front();
    if (folders_) folders_->NoteChosen(choice.path);
    return choice;
}

}  // namespace velarix::test
