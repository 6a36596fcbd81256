#include "shell/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "shell/cp1252.h"
#include "shell/whole_file.h"

namespace velarix {

namespace {

QString KeyOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

QString ValueOf(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1).trimmed();
}

// The name a save writes under before renaming; the settings load removes
// what an interrupted save left under it.
QString ScratchTemplate(const QString& fileName) {
    return QFileInfo(fileName).fileName() + QStringLiteral(".velarix-save-XXXXXX");
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(QString text) {
    if (text.size() > 2 &&
        (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        text.replace(0, 2, QLatin1Char('$'));
    }
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const QString digits = text.mid(1);
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,8}$"));
        if (!hex.match(digits).hasMatch()) return std::nullopt;
        return static_cast<std::int32_t>(digits.toUInt(&ok, 16));
    }
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    if (!decimal.match(text).hasMatch()) return std::nullopt;
    const std::int32_t value = text.toInt(&ok, 10);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

TIniFile32::TIniFile32(QString fileName) : fileName_(std::move(fileName)) {
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly)) return;
    QString text = FromCp1252(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines_ = text.split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
}

int TIniFile32::FindSection(const QString& section) const {
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].compare(header, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

bool TIniFile32::IsHeader(int line) const {
    const QString trimmed = lines_[line].trimmed();
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'));
}

int TIniFile32::FindKey(int header, const QString& key) const {
    int i = header + 1;
    for (; i < lines_.size() && !IsHeader(i); ++i) {
        if (!key.isEmpty() && lines_[i].contains(QLatin1Char('=')) && KeyOf(lines_[i]) == key)
            return i;
    }
    return -i - 1;
}

QString TIniFile32::ReadString(const QString& section, const QString& key,
                               const QString& def) const {
    const int header = FindSection(section);
    if (header < 0) return def;
    const int line = FindKey(header, key);
    if (line < 0) return def;
    const QString value = ValueOf(lines_[line]);
    return value.isEmpty() ? def : value;
}

std::int32_t TIniFile32::ReadInteger(const QString& section, const QString& key,
                                     std::int32_t def) const {
    return ParseIniInteger(ReadString(section, key, QString())).value_or(def);
}

bool TIniFile32::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile32::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString line = key + QLatin1Char('=') + value;
    const int header = FindSection(section);
    if (header < 0) {
        lines_ << QString() << QLatin1Char('[') + section + QLatin1Char(']');
        if (!key.isEmpty()) lines_ << line;
    } else if (!key.isEmpty()) {
        const int at = FindKey(header, key);
        if (at >= 0) {
            lines_[at] = line;
        } else {
            lines_.insert(-at - 1, line);
        }
    }
    if (!deferred_) Save();
}

void TIniFile32::WriteInteger(const QString& section, const QString& key, std::int32_t value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile32::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

// The folder is made when it is missing, so that the first save of a new
// settings folder does not fail.
void TIniFile32::Save() {
    QString text;
    for (const QString& line : lines_) text += line + QStringLiteral("\r\n");
    QDir().mkpath(QFileInfo(fileName_).absolutePath());
    const auto error = WriteWholeFile(fileName_, ToCp1252(text), ScratchTemplate(fileName_));
    if (error && error_.isEmpty()) error_ = *error;
}

}  // namespace velarix
