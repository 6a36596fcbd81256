#include "window_doubles.h"

#include <QFile>

#include "shell/settings_folder.h"

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

gui::WindowServices TestWindow::Services(const WindowOptions& options) {
    if (options.sampleSettings)
        FillFromSample(settingsFolder.path(), QStringLiteral(VELARIX_SAMPLE_INIS));
    if (!options.settingsFile.isEmpty()) {
        QFile file(settingsFolder.filePath("Velarix.ini"));
        if (file.open(QIODevice::WriteOnly)) file.write(options.settingsFile);
    }
    gui::WindowServices services;
    services.dialogs = &dialogs;
    services.boxes = &boxes;
    services.clock = options.clock ? options.clock : &clock;
    services.settingsFolder = settingsFolder.path();
    services.extraPorts = options.ports;
    services.lptSpec = options.lptSpec;
    services.simPort = options.simPort;
    services.trapRoutine = options.trapRoutine;
    services.language = options.runLanguage;
    if (options.pseudoTerminal.isEmpty()) {
        services.port = &port;
        if (!options.runPort.isEmpty()) {
            services.extraPorts << options.runPort;
            services.selectPort = options.runPort;
        }
    } else {
        services.extraPorts << options.pseudoTerminal;
        services.selectPort = options.pseudoTerminal;
    }
    return services;
}

}  // namespace velarix::test
