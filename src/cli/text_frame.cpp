#include "text_frame.h"

namespace velarix::cli {

void TextFrame::Write(const QString& text) {
    ClearProgress();
    err_ << DisplayedText(text) << Qt::endl;
    DrawProgress();
}

void TextFrame::EndBusy() {
    ClearProgress();
}

void TextFrame::SetStatusField(StatusPage page, StatusField field, const QString& text) {
    fields_[{page, field}] = text;
}

QString TextFrame::StatusFieldText(StatusPage page, StatusField field) const {
    const auto it = fields_.find({page, field});
    return it == fields_.end() ? QString() : it->second;
}

void TextFrame::SetProgress(StatusPage page, int position) {
    progress_[page].first = position;
    lastPage_ = page;
    DrawProgress();
}

// The fields a task sets after its progress show on the next repaint.
void TextFrame::Repaint() {
    if (progressShown_) DrawProgress();
}

void TextFrame::SetProgressMaximum(StatusPage page, int maximum) {
    progress_[page].second = maximum;
}

void TextFrame::AddLogLine(LogPane pane, const QString& line) {
    if (!panes_.contains(pane)) return;
    QString shown = line;
    if (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
    Write(shown);
}

void TextFrame::ShowMessage(BoxKind, const QString& text) {
    Write(text);
}

bool TextFrame::AskOkCancel(BoxKind, const QString& text) {
    Write(text);
    return okAnswer;
}

AbortRetryIgnore TextFrame::AskAbortRetryIgnore(const QString& text) {
    Write(text);
    return abortRetryIgnoreAnswer;
}

int TextFrame::ChooseFromList(const QString&, const QString& prompt, const QStringList& choices) {
    Write(prompt + QLatin1Char(' ') + choices.join(QStringLiteral(", ")));
    return listAnswer;
}

// One line, redrawn in place: task, address and how far the bar has come.
void TextFrame::DrawProgress() {
    if (!showProgress_ || !progress_.count(lastPage_)) return;
    const auto [position, maximum] = progress_[lastPage_];
    if (position == 0 && StatusFieldText(lastPage_, StatusField::Task).isEmpty()) return;
    err_ << '\r' << StatusFieldText(lastPage_, StatusField::Task) << ' '
         << StatusFieldText(lastPage_, StatusField::Address) << ' ' << position << '/' << maximum
         << ' ' << StatusFieldText(lastPage_, StatusField::Speed) << ' '
         << StatusFieldText(lastPage_, StatusField::TimeLeft) << "\x1b[K";
    err_.flush();
    progressShown_ = true;
}

void TextFrame::ClearProgress() {
    if (!progressShown_) return;
    err_ << "\r\x1b[K";
    err_.flush();
    progressShown_ = false;
}

}  // namespace velarix::cli
