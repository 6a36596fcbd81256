#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace velarix {

class EepromImage;
struct JtagEnvironment;
struct Settings;

// The destinations of "Recibir" on the "Firmware (JTag)" page, in the order
// the settings keep the group " Usar ".
enum class ReadDestination { RamTable, FlashTable, Picture, Eeprom, File };

// The entries of the address box (kept sorted) and of the length box.
const QStringList& JtagAddressEntries();
const QStringList& JtagLengthEntries();

// While typing in either box: upper case, and nothing but 0-9 and A-F.
QString TypedHex(const QString& text);
// On leaving the address box: a text of more than 8 characters becomes the
// first entry; the value is rounded down to a multiple of 4 and shown as 8
// digits.
QString AddressOnLeaving(const QString& text);
// On leaving the length box: 0 becomes the first entry ("4"), a text of more
// than 6 characters the fifth ("50000"); the value is rounded down to a
// multiple of 4, kept to 24 bits and shown as 6 digits.
QString LengthOnLeaving(const QString& text);

// The range choosing a destination puts in the boxes; none for "Archivo".
struct ReadRange {
    QString address;
    QString length;
};
std::optional<ReadRange> PresetRange(ReadDestination destination, const Settings& settings);
// Whether "Recibir" takes this range for the destination (the length as typed).
bool RangeAccepted(ReadDestination destination, std::int64_t address, std::int64_t length,
                   const Settings& settings);
// The bytes asked of the target: the length when its low byte is 0, else the
// length with its low 8 bits set.
std::int64_t RequestedLength(std::int64_t length);
// The read buffer: room for the bytes asked and one more, at least 257 (for
// "Eeprom" 257 or 2049), so that whole blocks of up to 256 bytes fit.
std::int64_t ReadBufferSize(ReadDestination destination, std::int64_t requested);

// Where the bytes of a complete read go. The window and the command line
// fill in what they have; a destination left empty takes the bytes and
// does nothing with them.
struct ReadOutDelivery {
    // "Archivo": the file to write, asked before anything else; none cancels.
    std::function<std::optional<QString>()> chooseFile;
    // "Tabla canales RAM" and "Tabla canales FLASH": the bytes read, `length`
    // of them, to become the loaded table.
    std::function<void(const QByteArray&)> ramTable;
    std::function<void(const QByteArray&)> flashTable;
    // "Imagen capturada": the frame memory read, to be decoded and shown.
    std::function<void(const QByteArray&)> picture;
    // "Eeprom": the image the bytes are put into, then told.
    EepromImage* eeprom = nullptr;
    std::function<void()> eepromChanged;
};

enum class ReadOutcome { Cancelled, NoPort, Refused, ShortRead, NotWritten, Done };

struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Cancelled;
    std::int64_t received = 0;
};

// "Recibir": reads the range in the two texts (cleaned up as the boxes do on
// leaving) and hands the bytes to the destination.
ReadResult ReceiveFromTarget(JtagEnvironment& environment, ReadDestination destination,
                             const QString& addressText, const QString& lengthText,
                             const ReadOutDelivery& delivery);

}  // namespace velarix
