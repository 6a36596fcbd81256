#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace velarix {

// The program's own INI reader and writer. The whole file is held as lines;
// a section is found by its first header line "[name]" (letter case aside,
// nothing trimmed) and ends at the next line that, trimmed, is bracketed; a key
// is the trimmed text before a line's first "=" and is matched exactly; its
// value is the trimmed text after it. Every write updates the lines and saves
// the whole file at once, beside the old one and then renamed over it; every
// other line keeps its text and place.
class TIniFile32 {
public:
    // Reads the file when it exists (Windows-1252; CR LF, LF or CR line ends).
    explicit TIniFile32(QString fileName);

    QString FileName() const { return fileName_; }
    const QStringList& Lines() const { return lines_; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // "0x"/"0X" is read as "$"; "$" starts a hexadecimal number; otherwise a
    // signed decimal number. What does not parse, or does not fit 32 bits,
    // gives the default.
    std::int32_t ReadInteger(const QString& section, const QString& key, std::int32_t def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, std::int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // From here on the writes change the lines only, and UpdateFile saves
    // them once: the file then holds exactly the bytes that saving after
    // every write would have left.
    void DeferWrites() { deferred_ = true; }
    // Saves the whole file now, whether anything changed or not.
    void UpdateFile() { Save(); }

    // The system's reason when a save failed, the first one, else empty.
    QString LastError() const { return error_; }

private:
    int FindSection(const QString& section) const;
    bool IsHeader(int line) const;
    // The line of the key within the section that starts after `header`, or
    // where the section ends (negated minus one) when the key is not there.
    int FindKey(int header, const QString& key) const;
    void Save();

    QString fileName_;
    QStringList lines_;
    QString error_;
    bool deferred_ = false;
};

// A whole number from a settings text by the reader's rules; nothing when the
// text does not parse.
std::optional<std::int32_t> ParseIniInteger(QString text);

}  // namespace velarix
