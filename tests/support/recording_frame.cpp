#include "recording_frame.h"

namespace velarix::test {

void RecordingFrame::BeginBusy() {
    busy = true;
    ++busyCount;
}

void RecordingFrame::EndBusy() {
    busy = false;
    ++endBusyCount;
}

void RecordingFrame::SetStatusField(StatusPage page, StatusField field, const QString& text) {
    fields[{page, field}] = text;
    if (field == StatusField::Errors) errorHistory[page].append(text);
}

QString RecordingFrame::StatusFieldText(StatusPage page, StatusField field) const {
    const auto it = fields.find({page, field});
    return it == fields.end() ? QString() : it->second;
}

void RecordingFrame::SetProgress(StatusPage page, int position) {
    progress[page] = position;
}

void RecordingFrame::SetProgressMaximum(StatusPage page, int maximum) {
    maxima[page] = maximum;
}

void RecordingFrame::AddLogLine(LogPane pane, const QString& line) {
    logs[pane].append(line);
}

void RecordingFrame::ShowMessage(BoxKind kind, const QString& text) {
    boxes.append({kind, text});
    if (whileShown) whileShown(text);
}

bool RecordingFrame::AskOkCancel(BoxKind kind, const QString& text) {
    boxes.append({kind, text});
    if (okCancelAnswers.empty()) return false;
    const bool answer = okCancelAnswers.front();
    okCancelAnswers.pop_front();
    return answer;
}

AbortRetryIgnore RecordingFrame::AskAbortRetryIgnore(const QString& text) {
    boxes.append({BoxKind::Error, text});
    if (abortRetryIgnoreAnswers.empty()) return AbortRetryIgnore::Abort;
    const auto answer = abortRetryIgnoreAnswers.front();
    abortRetryIgnoreAnswers.pop_front();
    return answer;
}

int RecordingFrame::ChooseFromList(const QString&, const QString& prompt,
                                   const QStringList& choices) {
    boxes.append({BoxKind::Information, prompt});
    listsOffered.append(choices);
    if (listAnswers.empty()) return -1;
    const int answer = listAnswers.front();
    listAnswers.pop_front();
    return answer;
}

}  // namespace velarix::test
