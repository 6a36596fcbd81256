#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace velarix {

class EepromImage;
struct Settings;

// The fields of the "Datos Interpretados" sub-page, in page order.
enum class Field {
    Country,
    Provider,
    SoftwareVersion,
    LastChannel,
    CountryCode,
    SortProvider,
    AudioPrimary,
    AudioSecondary,
    Subtitles,
    Sections,
    SerialNumber,
    Epg,
    Brightness,
    ColourSystem,
    StartupMode,
    Diseqc,
};
inline constexpr int kFieldCount = 16;

enum class FieldKind { Choice, Number };

// A field of a satellite record, in page order.
enum class SatelliteField { Name, Band, Antenna, Frequency, SymbolRate, Fec, Polarity, Tone, Lnb };
inline constexpr int kSatelliteFieldCount = 9;

// What a choice field shows: the entry chosen ("otro" when no entry matches),
// the hexadecimal raw view, and whether that view may be edited.
struct ChoiceView {
    int entry = 0;
    QString raw;
    bool rawEditable = false;
};

// What a number field shows: the number (or digits) and its read-only
// hexadecimal box.
struct NumberView {
    QString value;
    QString display;
};

// The decoder settings held in the EEPROM image, read from its cells and
// written back into them at once, with their check words. Nothing is held
// here: the image is the only store.
class InterpretedFields {
public:
    InterpretedFields(EepromImage& image, const Settings& settings)
        : image_(image), settings_(settings) {}

    static FieldKind KindOf(Field field);
    static QString KeyOf(Field field);                    // "country", "provider", ...
    static QString SatelliteKeyOf(SatelliteField field);  // "name", "band", ...
    static std::optional<Field> FieldNamed(const QString& key);

    // Choice fields.
    QStringList Entries(Field field) const;  // the list, "otro" last
    int RawWidth(Field field) const;
    ChoiceView Choice(Field field) const;
    // Choosing an entry writes its bytes (or, for "otro", the raw view's text
    // as it stands) into the cells, with the check word.
    ChoiceView ChooseEntry(Field field, int entry, const QString& raw);
    // What typing leaves in a raw view: upper-case hexadecimal digits only, at
    // most the view's width; an emptied view takes the field's empty value.
    QString FilterRaw(Field field, const QString& typed) const;
    // Leaving a raw view: padded on the left to its width and written.
    QString LeaveRaw(Field field, const QString& raw);

    // Number fields.
    NumberView Number(Field field) const;
    // The digits a number field holds at most: the width of a field of
    // characters, the digits of the maximum of a number. Typing may be held
    // to it; a longer number is still judged whole by the rules below.
    int MaxLength(Field field) const;
    // Whether the field's digits are characters of a fixed-width field.
    static bool HoldsCharacters(Field field);
    QString FilterNumber(Field field, const QString& typed) const;
    // Leaving a number field writes it; returns what the field then shows.
    NumberView LeaveNumber(Field field, const QString& typed);

    // Satellite records 0 ("Satélite 1") and 1 ("Satélite 2").
    QStringList SatelliteEntries(int record, SatelliteField field) const;
    // The text a satellite field shows (a name, a number, or an entry's text).
    QString Satellite(int record, SatelliteField field) const;
    // The position a list field shows, or -1 for the text fields.
    int SatelliteEntry(int record, SatelliteField field) const;
    void ChooseSatelliteEntry(int record, SatelliteField field, int entry);
    QString FilterSatelliteText(int record, SatelliteField field, const QString& typed) const;
    // Leaving the name, frequency or LNB field writes it; returns what it shows.
    QString LeaveSatelliteText(int record, SatelliteField field, const QString& typed);
    int NameLength(int record) const { return record == 0 ? 21 : 22; }

private:
    QByteArray Bytes(int address, int count) const;
    void Put(int address, const QByteArray& bytes);
    void WriteRaw(Field field, const QString& raw);

    EepromImage& image_;
    const Settings& settings_;
};

}  // namespace velarix
