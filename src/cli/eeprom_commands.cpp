#include "eeprom_commands.h"

#include "eeprom/eeprom_image.h"
#include "eeprom/interpreted_fields.h"
#include "eeprom_file_io.h"
#include "shell/message_table.h"

namespace velarix::cli {

namespace {

// Every argument was taken; otherwise the first one left is a usage fault.
std::optional<int> Leftover(CliContext& context, bool assignmentsAllowed = false) {
    for (const QString& arg : context.Rest()) {
        if (!assignmentsAllowed || arg.startsWith(QStringLiteral("--")) ||
            !arg.contains(QLatin1Char('='))) {
            return context.BadUsage(QStringLiteral("unexpected argument: ") + arg);
        }
    }
    return std::nullopt;
}

QString Line(const QString& key, const QString& shown, const QString& raw) {
    return key + QLatin1Char('\t') + shown + QLatin1Char('\t') + raw;
}

void PrintFields(CliContext& context, const InterpretedFields& fields) {
    for (int i = 0; i < kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const QString key = InterpretedFields::KeyOf(field);
        if (InterpretedFields::KindOf(field) == FieldKind::Choice) {
            const ChoiceView view = fields.Choice(field);
            context.out() << Line(key, fields.Entries(field).value(view.entry), view.raw) << '\n';
        } else {
            const NumberView view = fields.Number(field);
            context.out() << Line(key, view.value, view.display) << '\n';
        }
    }
    for (int record = 0; record < 2; ++record) {
        for (int i = 0; i < kSatelliteFieldCount; ++i) {
            const auto field = static_cast<SatelliteField>(i);
            const QString key =
                QStringLiteral("sat%1.").arg(record + 1) + InterpretedFields::SatelliteKeyOf(field);
            context.out() << Line(key, fields.Satellite(record, field), QString()) << '\n';
        }
    }
    context.out().flush();
}

// satN.KEY: the record and the field, or nothing.
std::optional<std::pair<int, SatelliteField>> SatelliteNamed(const QString& key) {
    if (key.size() < 6 || !key.startsWith(QLatin1String("sat")) || key[4] != QLatin1Char('.'))
        return std::nullopt;
    const int record = key[3].digitValue() - 1;
    if (record < 0 || record > 1) return std::nullopt;
    for (int i = 0; i < kSatelliteFieldCount; ++i) {
        const auto field = static_cast<SatelliteField>(i);
        if (key.mid(5) == InterpretedFields::SatelliteKeyOf(field)) return std::pair{record, field};
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> SetField(InterpretedFields& fields, const QString& key,
                                const QString& value) {
    if (const auto field = InterpretedFields::FieldNamed(key)) {
        if (InterpretedFields::KindOf(*field) == FieldKind::Number) {
            // A field of characters has room for so many digits; more would be cut.
            const int room = fields.MaxLength(*field);
            if (InterpretedFields::HoldsCharacters(*field) && value.size() > room)
                return key + QStringLiteral(" takes at most %1 digits").arg(room);
            fields.LeaveNumber(*field, value);
            return std::nullopt;
        }
        const QStringList entries = fields.Entries(*field);
        if (value.startsWith(QLatin1String("raw:"))) {
            fields.ChooseEntry(*field, static_cast<int>(entries.size()) - 1,
                               fields.Choice(*field).raw);
            fields.LeaveRaw(*field, fields.FilterRaw(*field, value.mid(4)));
            return std::nullopt;
        }
        const qsizetype entry = entries.indexOf(value);
        if (entry < 0) {
            return key + QStringLiteral(" takes one of: ") + entries.join(", ") +
                   QStringLiteral(", or raw:HEX");
        }
        // "otro" keeps the raw view's text, as choosing it on the page does.
        fields.ChooseEntry(*field, static_cast<int>(entry), fields.Choice(*field).raw);
        return std::nullopt;
    }
    const auto satellite = SatelliteNamed(key);
    if (!satellite) return QStringLiteral("no field named ") + key;
    const auto [record, field] = *satellite;
    const QStringList entries = fields.SatelliteEntries(record, field);
    if (field == SatelliteField::Name && value.size() > fields.NameLength(record))
        return key + QStringLiteral(" takes at most %1 characters").arg(fields.NameLength(record));
    if (field == SatelliteField::Name || entries.isEmpty()) {
        fields.LeaveSatelliteText(record, field, value);
        return std::nullopt;
    }
    const qsizetype entry = entries.indexOf(value);
    if (entry < 0) return key + QStringLiteral(" takes one of: ") + entries.join(", ");
    fields.ChooseSatelliteEntry(record, field, static_cast<int>(entry));
    return std::nullopt;
}

int EepromConvert(CliContext& context) {
    const auto in = context.TakeOption("-i");
    const auto out = context.TakeOption("-o");
    QString error;
    const auto from = TakeFormat(context, "--from", error);
    const auto to = TakeFormat(context, "--to", error);
    if (!from || !to) return context.BadUsage(error);
    if (!in || !out) return context.BadUsage(QStringLiteral("convert needs -i FILE and -o FILE"));
    if (const auto usage = Leftover(context)) return *usage;
    EepromImage image;
    if (const auto refused = LoadEepromFile(context, *in, *from, image)) return *refused;
    return SaveEepromFile(context, *out, *to, image);
}

int EepromFields(CliContext& context) {
    const auto in = context.TakeOption("-i");
    QString error;
    const auto format = TakeFormat(context, "--format", error);
    if (!format) return context.BadUsage(error);
    if (const auto model = context.TakeOption("--model")) {
        bool ok = false;
        context.settings.model = model->toInt(&ok);
        if (!ok)
            return context.BadUsage(
                QStringLiteral("--model takes the position of a model in the list"));
    }
    if (!in) return context.BadUsage(QStringLiteral("fields needs -i FILE"));
    if (const auto usage = Leftover(context)) return *usage;
    EepromImage image;
    if (const auto refused = LoadEepromFile(context, *in, *format, image)) return *refused;
    PrintFields(context, InterpretedFields(image, context.settings));
    return kDone;
}

int EepromSetField(CliContext& context) {
    const auto in = context.TakeOption("-i");
    const auto out = context.TakeOption("-o");
    QString error;
    const auto format = TakeFormat(context, "--format", error);
    if (!format) return context.BadUsage(error);
    const bool toGiven = context.Rest().contains(QStringLiteral("--to"));
    const auto to = TakeFormat(context, "--to", error);
    if (!to) return context.BadUsage(error);
    if (!in || !out) return context.BadUsage(QStringLiteral("set-field needs -i FILE and -o FILE"));
    if (const auto usage = Leftover(context, true)) return *usage;
    if (context.Rest().isEmpty())
        return context.BadUsage(QStringLiteral("set-field needs KEY=VALUE"));
    EepromImage image;
    if (const auto refused = LoadEepromFile(context, *in, *format, image)) return *refused;
    InterpretedFields fields(image, context.settings);
    for (const QString& assignment : context.Rest()) {
        const qsizetype eq = assignment.indexOf(QLatin1Char('='));
        if (const auto fault = SetField(fields, assignment.left(eq), assignment.mid(eq + 1))) {
            return context.BadUsage(*fault);
        }
    }
    return SaveEepromFile(context, *out, toGiven ? *to : *format, image);
}

}  // namespace velarix::cli
