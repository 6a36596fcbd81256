#include "tuning/text_forms.h"

#include <cmath>
#include <limits>

#include "shell/message_table.h"

namespace velarix {

namespace {

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

std::optional<std::int32_t> DecimalInteger(QStringView text) {
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))) {
        negative = text[0] == QLatin1Char('-');
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> DecimalNumber(QStringView text) {
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'))) ++i;
    bool comma = false;
    int digits = 0;
    QString plain = text.left(i).toString();
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
            plain += text[i];
        } else if (text[i] == QLatin1Char(',') && !comma) {
            comma = true;
            plain += QLatin1Char('.');
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString FrequencyText(double value) {
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

const QStringList& FecTexts() {
    static const QStringList texts{"1/2", "2/3", "3/4", "5/6", "7/8", "8/9"};
    return texts;
}

QString EncryptionSystemName(int code) {
    static const char* const names[] = {nullptr,  "Seca",     "Nagravision", "Betacrypt",
                                        "Irdeto", "Viaccess", "PowerVu",     "Cryptoworks"};
    if (code == 0) return Msg(280);
    return code > 0 && code < 8 ? QString::fromLatin1(names[code]) : QString();
}

ClipboardKind KindOfClipboard(QStringView text) {
    text = text.left(65534);
    int tabs = 0;
    qsizetype seventh = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\t')) continue;
        if (++tabs == 7) seventh = i;
    }
    if (tabs == 0 || tabs % 11 != 0) return ClipboardKind::None;
    if (seventh + 1 < text.size() && text[seventh + 1] == QLatin1Char('O'))
        return ClipboardKind::TransponderRows;
    return ClipboardKind::ChannelRows;
}

}  // namespace velarix
