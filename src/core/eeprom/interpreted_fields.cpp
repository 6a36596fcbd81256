#include "eeprom/interpreted_fields.h"

#include <vector>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/settings.h"

namespace velarix {

namespace {

constexpr int kOther = 304;  // "otro"

struct Entry {
    int key;              // message key of the text, or -1
    const char* text;     // the text when it has no key
    const char* pattern;  // the bytes in hexadecimal; null: the text's character codes
};

struct ChoiceSpec {
    Field field;
    int address;
    int size;
    int checkWord;  // address of the check word, or -1
    const char* empty;
    char pad;
    std::vector<Entry> entries;
};

const char* const kSection[] = {"00800080000000000000000002A7", "00800080000000000000000001A4",
                                "00800080000000000000000000A5"};

std::vector<Entry> Texts(std::initializer_list<const char*> texts) {
    std::vector<Entry> entries;
    for (const char* text : texts) entries.push_back({-1, text, nullptr});
    return entries;
}

std::vector<Entry> Providers() {
    std::vector<Entry> entries;
    for (const char* id : {"0003", "0004", "0005", "0009", "000A", "000C", "000D", "000E", "000F",
                           "0010", "0011", "0012", "0013", "0014", "0019", "001A", "001C", "001D",
                           "0025", "0026", "0029", "002A", "002E", "002F", "0037", "FFFF"}) {
        entries.push_back({-1, id, id});
    }
    return entries;
}

const std::vector<ChoiceSpec>& Choices() {
    static const std::vector<Entry> languages = Texts({"esl", "eng", "fra", "dut", "ita", "pol"});
    static const std::vector<ChoiceSpec> specs{
        {Field::Country, 0x002, 3, 0x069, "455350", '0',
         Texts({"ESP", "ITA", "NLD", "POL", "GBR", "FRA"})},
        {Field::Provider, 0x007, 2, 0x06D, "000C", '0', Providers()},
        {Field::SortProvider, 0x055, 2, 0x079, "000C", '0', Providers()},
        {Field::AudioPrimary, 0x05B, 3, 0x07F, "65736C", '0', languages},
        {Field::AudioSecondary, 0x057, 3, 0x07B, "65736C", '0', languages},
        {Field::Subtitles, 0x05E, 3, -1, "65736C", '0', languages},
        {Field::Sections,
         0x08E,
         14,
         -1,
         "00800080000000000000000002A7",
         '0',
         {{305, nullptr, kSection[0]},
          {306, nullptr, kSection[1]},
          {307, nullptr, kSection[2]},
          {347, nullptr, kSection[0]},
          {348, nullptr, kSection[1]},
          {349, nullptr, kSection[2]}}},
        {Field::Epg,
         0x0DE,
         8,
         -1,
         "000000000000",
         '0',
         {{314, nullptr, "3B00060000000000"},
          {315, nullptr, "3F50000000000000"},
          {316, nullptr, "3B00000060000000"},
          {317, nullptr, "3B00000600000000"},
          {318, nullptr, "3B00000000600000"},
          {319, nullptr, "3F00060660060000"},
          {320, nullptr, "3B00000000000000"},
          {321, nullptr, "0000000000000000"}}},
        {Field::Brightness,
         0x403,
         1,
         -1,
         "83",
         '8',
         {{308, nullptr, "80"}, {309, nullptr, "81"}, {310, nullptr, "82"}, {311, nullptr, "83"}}},
        {Field::ColourSystem, 0x406, 1, -1, "00", '0', {{-1, "Pal", "00"}, {-1, "Secam", "FF"}}},
        {Field::StartupMode, 0x418, 1, -1, "00", '0', {{312, nullptr, "00"}, {313, nullptr, "FF"}}},
        {Field::Diseqc, 0x733, 2, -1, "0000", '0', {{-1, "On", "0000"}, {-1, "Off", "FFFF"}}},
    };
    return specs;
}

const ChoiceSpec& ChoiceOf(Field field) {
    for (const auto& def : Choices()) {
        if (def.field == field) return def;
    }
    return Choices().front();
}

QString EntryText(const Entry& entry) {
    return entry.key >= 0 ? Msg(entry.key) : QString::fromUtf8(entry.text);
}

QString EntryPattern(const Entry& entry) {
    if (entry.pattern) return QString::fromLatin1(entry.pattern);
    return QString::fromLatin1(QByteArray(entry.text).toHex().toUpper());
}

// "Secciones activas" names its three patterns by board family: the BCT14xx
// entries while the decoder model is one of the first three, else BCT15xx.
std::pair<int, int> SearchRange(const ChoiceSpec& def, const Settings& settings) {
    const int count = static_cast<int>(def.entries.size());
    if (def.field != Field::Sections) return {0, count};
    const bool bct14 = settings.model >= 1 && settings.model <= 3;
    return bct14 ? std::pair{0, 3} : std::pair{3, 6};
}

struct NumberSpec {
    Field field;
    int address;
    int size;
    bool characters;  // digits held as characters rather than a number
    int maximum;      // numbers above it read as 0
    const char* empty;
    int checkWord;
};

constexpr NumberSpec kNumbers[] = {
    {Field::SoftwareVersion, 0x009, 1, false, 255, "0", -1},
    {Field::LastChannel, 0x065, 2, false, 2002, "0", 0x08B},
    {Field::CountryCode, 0x7D0, 2, true, 0, "00", -1},
    {Field::SerialNumber, 0x7D2, 12, true, 0, "000000000000", -1},
};

const NumberSpec& NumberOf(Field field) {
    for (const auto& def : kNumbers) {
        if (def.field == field) return def;
    }
    return kNumbers[0];
}

QString Digits(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128) digits += c;
    }
    return digits;
}

QByteArray CheckWord(const QByteArray& bytes) {
    quint8 x = 0;
    for (char b : bytes) x ^= static_cast<quint8>(b);
    QByteArray word;
    word.append(static_cast<char>(255 - x)).append(static_cast<char>(x));
    return word;
}

// A 16-bit number, high byte first.
QByteArray Word(int value) {
    QByteArray word;
    word.append(static_cast<char>((value >> 8) & 0xFF)).append(static_cast<char>(value & 0xFF));
    return word;
}

int WordAt(const QByteArray& bytes) {
    return (static_cast<quint8>(bytes[0]) << 8) | static_cast<quint8>(bytes[1]);
}

const char* const kFieldKeys[] = {
    "country",      "provider",      "software_version", "last_channel",
    "country_code", "sort_provider", "audio_primary",    "audio_secondary",
    "subtitles",    "sections",      "serial_number",    "epg",
    "brightness",   "colour_system", "startup_mode",     "diseqc"};
const char* const kSatelliteKeys[] = {"name", "band",     "antenna", "frequency", "symbol_rate",
                                      "fec",  "polarity", "tone",    "lnb"};

// Offsets of the satellite fields from the record's base.
constexpr int kSatelliteBase[] = {0x00B, 0x030};
constexpr int kSatelliteOffset[] = {0x00, 0x16, 0x17, 0x1A, 0x1C, 0x1D, 0x1E, 0x1F, 0x23};

bool InRange(int value) {
    return value >= 9000 && value <= 13000;
}

// Decimal digits as a number, whatever their count; -1 above `limit`, so
// that a long number is never taken by its first digits nor overflows.
int NumberUpTo(const QString& digits, int limit) {
    std::int64_t value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit) return -1;
    }
    return static_cast<int>(value);
}

// The frequency boxes hold 16-bit numbers; what lies outside the band is
// replaced whole.
bool InBand(const QString& digits) {
    return InRange(NumberUpTo(digits, 65535));
}

}  // namespace

FieldKind InterpretedFields::KindOf(Field field) {
    for (const auto& def : kNumbers) {
        if (def.field == field) return FieldKind::Number;
    }
    return FieldKind::Choice;
}

QString InterpretedFields::KeyOf(Field field) {
    return QString::fromLatin1(kFieldKeys[static_cast<int>(field)]);
}

QString InterpretedFields::SatelliteKeyOf(SatelliteField field) {
    return QString::fromLatin1(kSatelliteKeys[static_cast<int>(field)]);
}

std::optional<Field> InterpretedFields::FieldNamed(const QString& key) {
    for (int i = 0; i < kFieldCount; ++i) {
        if (key == QLatin1String(kFieldKeys[i])) return static_cast<Field>(i);
    }
    return std::nullopt;
}

// Each cell as GetImageBytes takes it: its number modulo 256.
QByteArray InterpretedFields::Bytes(int address, int count) const {
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(HexToInt(image_.Cell(address + i)) & 0xFF);
    return bytes;
}

void InterpretedFields::Put(int address, const QByteArray& bytes) {
    image_.PutImageBytes(bytes, address, static_cast<int>(bytes.size()));
}

QStringList InterpretedFields::Entries(Field field) const {
    QStringList texts;
    for (const Entry& entry : ChoiceOf(field).entries) texts << EntryText(entry);
    return texts << Msg(kOther);
}

int InterpretedFields::RawWidth(Field field) const {
    return ChoiceOf(field).size * 2;
}

ChoiceView InterpretedFields::Choice(Field field) const {
    const ChoiceSpec& def = ChoiceOf(field);
    ChoiceView view{static_cast<int>(def.entries.size()),
                    QString::fromLatin1(Bytes(def.address, def.size).toHex().toUpper()), false};
    const auto [first, last] = SearchRange(def, settings_);
    for (int i = first; i < last; ++i) {
        if (EntryPattern(def.entries[i]) == view.raw) {
            view.entry = i;
            return view;
        }
    }
    view.rawEditable = true;
    return view;
}

// The raw view's digits go into the field's cells two by two; the check word
// and the copy of the sections follow.
void InterpretedFields::WriteRaw(Field field, const QString& raw) {
    const ChoiceSpec& def = ChoiceOf(field);
    for (int i = 0; i + 1 < raw.size() && i / 2 < def.size; i += 2) {
        image_.SetCell(def.address + i / 2, raw.mid(i, 2));
    }
    const QByteArray bytes = Bytes(def.address, def.size);
    if (def.checkWord >= 0) Put(def.checkWord, CheckWord(bytes));
    if (field == Field::Sections) {
        for (int i = 0; i < def.size; ++i) image_.SetCell(0x09C + i, image_.Cell(def.address + i));
    }
}

ChoiceView InterpretedFields::ChooseEntry(Field field, int entry, const QString& raw) {
    const ChoiceSpec& def = ChoiceOf(field);
    ChoiceView view{entry, raw, true};
    if (entry >= 0 && entry < static_cast<int>(def.entries.size())) {
        view.raw = EntryPattern(def.entries[entry]);
        view.rawEditable = false;
    }
    WriteRaw(field, view.raw);
    return view;
}

QString InterpretedFields::FilterRaw(Field field, const QString& typed) const {
    QString hex;
    for (QChar c : typed) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            hex += c;
    }
    if (hex.isEmpty()) return QString::fromLatin1(ChoiceOf(field).empty);
    return hex.left(RawWidth(field));
}

QString InterpretedFields::LeaveRaw(Field field, const QString& raw) {
    const QString padded =
        FilterRaw(field, raw).rightJustified(RawWidth(field), QLatin1Char(ChoiceOf(field).pad));
    WriteRaw(field, padded);
    return padded;
}

NumberView InterpretedFields::Number(Field field) const {
    const NumberSpec& def = NumberOf(field);
    const QByteArray bytes = Bytes(def.address, def.size);
    NumberView view{QString(), QString::fromLatin1(bytes.toHex().toUpper())};
    if (def.characters) {
        view.value = FilterNumber(field, QString::fromLatin1(bytes));
    } else {
        view.value = FilterNumber(
            field, QString::number(def.size == 1 ? static_cast<quint8>(bytes[0]) : WordAt(bytes)));
    }
    return view;
}

bool InterpretedFields::HoldsCharacters(Field field) {
    return NumberOf(field).characters;
}

int InterpretedFields::MaxLength(Field field) const {
    const NumberSpec& def = NumberOf(field);
    return def.characters ? def.size : (def.maximum > 255 ? 4 : 3);
}

// The digits held as characters fill a field of fixed width; a number is
// judged whole against its maximum.
QString InterpretedFields::FilterNumber(Field field, const QString& typed) const {
    const NumberSpec& def = NumberOf(field);
    const QString digits = def.characters ? Digits(typed).left(MaxLength(field)) : Digits(typed);
    if (digits.isEmpty()) return QString::fromLatin1(def.empty);
    if (!def.characters && NumberUpTo(digits, def.maximum) < 0) return QStringLiteral("0");
    return digits;
}

NumberView InterpretedFields::LeaveNumber(Field field, const QString& typed) {
    const NumberSpec& def = NumberOf(field);
    const QString value = FilterNumber(field, typed);
    QByteArray bytes;
    if (def.characters) {
        bytes = value.rightJustified(def.size, QLatin1Char('0')).toLatin1();
    } else {
        bytes =
            def.size == 1 ? QByteArray(1, static_cast<char>(value.toInt())) : Word(value.toInt());
    }
    Put(def.address, bytes);
    if (def.checkWord >= 0) Put(def.checkWord, CheckWord(bytes));
    return {def.characters ? value.rightJustified(def.size, QLatin1Char('0')) : value,
            QString::fromLatin1(bytes.toHex().toUpper())};
}

QStringList InterpretedFields::SatelliteEntries(int record, SatelliteField field) const {
    switch (field) {
        case SatelliteField::Name:
            return record == 0 ? QStringList{"ASTRA", "HOTBIRD"}
                               : QStringList{"OVERIGE", "OTROS", "ALTRI", "OTHER", "INNY"};
        case SatelliteField::Band:
            return {"Ku", "C"};
        case SatelliteField::Antenna:
            return {"1", "2"};
        case SatelliteField::SymbolRate:
            return {"22000", "27500"};
        case SatelliteField::Fec:
            return {"1/2", "2/3", "3/4", "5/6", "7/8", "8/9"};
        case SatelliteField::Polarity:
            return {"V", "H"};
        case SatelliteField::Tone:
            return {"Off", "On"};
        default:
            return {};
    }
}

int InterpretedFields::SatelliteEntry(int record, SatelliteField field) const {
    const quint8 byte = static_cast<quint8>(
        Bytes(kSatelliteBase[record] + kSatelliteOffset[static_cast<int>(field)], 1)[0]);
    switch (field) {
        case SatelliteField::Band:
        case SatelliteField::Antenna:
        case SatelliteField::Polarity:
        case SatelliteField::Tone:
            return byte == 0 ? 0 : 1;
        case SatelliteField::Fec:
            return byte < 6 ? byte : 0;
        // The byte picks an entry of the symbol-rate table; a byte past the
        // table's 16 entries reads as the other rate.
        case SatelliteField::SymbolRate:
            return (byte < settings_.symbolRates.size() && settings_.symbolRates[byte] == 22000)
                       ? 0
                       : 1;
        default:
            return -1;
    }
}

// A name that fills its whole field has no 00 byte after it; it reads as all
// its characters.
QString InterpretedFields::Satellite(int record, SatelliteField field) const {
    const int base = kSatelliteBase[record];
    switch (field) {
        case SatelliteField::Name: {
            QByteArray name = Bytes(base, NameLength(record));
            const qsizetype end = name.indexOf('\0');
            if (end >= 0) name.truncate(end);
            return name.isEmpty() ? SatelliteEntries(record, field).value(record)
                                  : QString::fromLatin1(name);
        }
        case SatelliteField::Frequency: {
            const int value = WordAt(Bytes(base + 0x1A, 2));
            return InRange(value) ? QString::number(value) : QStringLiteral("11970");
        }
        case SatelliteField::Lnb:
            return QString::number(WordAt(Bytes(base + 0x23, 2)));
        default:
            return SatelliteEntries(record, field).value(SatelliteEntry(record, field));
    }
}

void InterpretedFields::ChooseSatelliteEntry(int record, SatelliteField field, int entry) {
    if (entry < 0 || entry >= SatelliteEntries(record, field).size()) return;
    Put(kSatelliteBase[record] + kSatelliteOffset[static_cast<int>(field)],
        QByteArray(1, static_cast<char>(entry)));
}

QString InterpretedFields::FilterSatelliteText(int record, SatelliteField field,
                                               const QString& typed) const {
    if (field == SatelliteField::Name) {
        const QString name = typed.toUpper().left(NameLength(record));
        return name.isEmpty() ? SatelliteEntries(record, field).value(record) : name;
    }
    const QString digits = Digits(typed);
    if (!digits.isEmpty()) return digits;
    return field == SatelliteField::Lnb ? QStringLiteral("10600") : QStringLiteral("11970");
}

QString InterpretedFields::LeaveSatelliteText(int record, SatelliteField field,
                                              const QString& typed) {
    const int base = kSatelliteBase[record];
    QString text = FilterSatelliteText(record, field, typed);
    if (field == SatelliteField::Name) {
        QByteArray name = text.toLatin1();
        name.append(QByteArray(NameLength(record) - name.size(), '\0'));
        Put(base, name);
        return text;
    }
    if (!InBand(text))
        text = field == SatelliteField::Lnb ? QStringLiteral("10600") : QStringLiteral("11970");
    Put(base + kSatelliteOffset[static_cast<int>(field)], Word(text.toInt()));
    return text;
}

}  // namespace velarix
