#include "jtag/memory_readout.h"

#include <algorithm>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "jtag/jtag_operation.h"
#include "shell/config_rules.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"
#include "shell/whole_file.h"

namespace velarix {

namespace {

constexpr std::int64_t kRamStart = 0x40000000;
constexpr std::int64_t kRamEnd = 0x40200000;
constexpr std::int64_t kRamTableLength = 0x7600;
constexpr std::int64_t kFlashTableLength = 0x50000;
constexpr std::int64_t kPictureStart = 0xC0000000;
constexpr std::int64_t kPictureLength = 0x98000;
constexpr std::int64_t kEepromSize = 0x800;

std::uint32_t HexAddress(const QString& text) {
    return std::uint32_t(std::max<std::int64_t>(HexToInt(text), 0) & 0xFFFFFFFF);
}

// The chip of the channel list: its start, and the end of its last block.
std::pair<std::int64_t, std::int64_t> ChannelListChip(const Settings& settings) {
    const FlashChip& chip = settings.chips[1];
    const std::int64_t start = HexToInt(chip.start);
    const int last = std::clamp(chip.numBlocks, 0, FlashChip::kBoundaries - 1);
    return {start, start + chip.boundaries[last]};
}

// The EEPROM comes through the trap routine: it copies the bytes to its
// staging area, from where they are read as memory.
std::int64_t ReadEepromViaTrap(TargetAccess& access, QByteArray& buffer, std::uint32_t address,
                               std::int64_t requested, std::uint32_t trapAddress) {
    const std::uint32_t staging = trapAddress + kTrapStagingOffset;
    if (!access.TrapReadEeprom(address, std::uint32_t(requested), staging)) return 0;
    return access.ReadMemory(buffer, requested, staging);
}

}  // namespace

const QStringList& JtagAddressEntries() {
    static const QStringList entries{"401289A0", "401F1B70", "60000000", "707FFC60", "7F1FFC50",
                                     "7FE00000", "7FF80000", "7FFFFFC0", "C00D0000", "C0168000"};
    return entries;
}

const QStringList& JtagLengthEntries() {
    static const QStringList entries{"4",      "C",      "7600",   "EC00",   "50000",
                                     "70000",  "98000",  "100000", "120000", "140000",
                                     "200000", "280000", "300000", "380000", "400000"};
    return entries;
}

QString TypedHex(const QString& text) {
    return HexFilter(text).value_or(QString());
}

QString AddressOnLeaving(const QString& text) {
    QString hex = TypedHex(text);
    if (hex.size() > 8) hex = JtagAddressEntries().first();
    return HexText(std::uint64_t(HexToInt(hex)) & ~std::uint64_t(3), 8);
}

// A length of 1 to 3 would round down to 0 and a read of nothing would be
// reported as success: it becomes the first item, as 0 does.
QString LengthOnLeaving(const QString& text) {
    QString hex = TypedHex(text);
    // 0 becomes the first item, and so do 1 to 3, which would read nothing.
    // Judged on the whole value: 1000000h is no zero, it is too long.
    const std::int64_t value = HexToInt(hex);
    if (value >= 0 && value < 4) hex = JtagLengthEntries().first();
    if (hex.size() > 6) hex = JtagLengthEntries().at(4);
    return HexText(std::uint64_t(HexToInt(hex)) & 0xFFFFFC, 6);
}

std::optional<ReadRange> PresetRange(ReadDestination destination, const Settings& settings) {
    switch (destination) {
        case ReadDestination::RamTable:
            return ReadRange{QStringLiteral("401289A0"), settings.channelCount == 1
                                                             ? QStringLiteral("EC00")
                                                             : QStringLiteral("7600")};
        case ReadDestination::FlashTable:
            return ReadRange{settings.chips[1].start, QStringLiteral("50000")};
        case ReadDestination::Picture:
            return ReadRange{QStringLiteral("C00D0000"), QStringLiteral("98000")};
        case ReadDestination::Eeprom:
            return ReadRange{QStringLiteral("00000000"), QStringLiteral("00800")};
        case ReadDestination::File:
            return std::nullopt;
    }
    return std::nullopt;
}

bool RangeAccepted(ReadDestination destination, std::int64_t address, std::int64_t length,
                   const Settings& settings) {
    switch (destination) {
        case ReadDestination::RamTable:
            return address >= kRamStart && address < kRamEnd && length >= kRamTableLength;
        case ReadDestination::FlashTable: {
            const auto [start, end] = ChannelListChip(settings);
            return start >= 0 && address >= start && address < end && length >= kFlashTableLength;
        }
        case ReadDestination::Picture:
            return address >= kPictureStart && length >= kPictureLength;
        case ReadDestination::Eeprom:
            return address >= 0 && address < kEepromSize && address + length <= kEepromSize;
        case ReadDestination::File:
            return true;
    }
    return false;
}

std::int64_t RequestedLength(std::int64_t length) {
    return (length & 0xFF) == 0 ? length : (length | 0xFF);
}

std::int64_t ReadBufferSize(ReadDestination destination, std::int64_t requested) {
    if (destination == ReadDestination::Eeprom) return requested + 1 < 257 ? 257 : 2049;
    return std::max<std::int64_t>(requested + 1, 257);
}

ReadResult ReceiveFromTarget(JtagEnvironment& env, ReadDestination destination,
                             const QString& addressText, const QString& lengthText,
                             const ReadOutDelivery& delivery) {
    OperationFrame& frame = env.frame;
    constexpr StatusPage kPage = StatusPage::FirmwareJtag;
    ReadResult result;
    std::optional<QString> file;
    if (destination == ReadDestination::File) {
        file = delivery.chooseFile ? delivery.chooseFile() : std::nullopt;
        if (!file) return result;
    }
    frame.BeginBusy();
    JtagOperation operation(env);
    if (!operation.Open()) {
        frame.EndBusy();
        result.outcome = ReadOutcome::NoPort;
        return result;
    }
    // The texts are taken as the boxes leave them, so that a text the boxes
    // never saw (a settings file, a script) cannot ask for more than 24 bits.
    const std::uint32_t address = HexAddress(AddressOnLeaving(addressText));
    const std::int64_t length = HexToInt(LengthOnLeaving(lengthText));
    if (!RangeAccepted(destination, address, length, env.settings)) {
        frame.ShowMessage(BoxKind::Error, Msg(341));
        result.outcome = ReadOutcome::Refused;
    } else {
        frame.SetStatusField(kPage, StatusField::Task, Msg(4));
        frame.SetStatusField(kPage, StatusField::Address, HexText(address, 8));
        frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
        frame.SetProgressMaximum(kPage, int(length));
        frame.SetProgress(kPage, 0);
        frame.Repaint();

        const std::int64_t requested = RequestedLength(length);
        QByteArray buffer(ReadBufferSize(destination, requested), '\0');
        TargetAccess& access = operation.Access();
        std::int64_t total = 0;
        access.DcuResetOn();
        if (destination == ReadDestination::Eeprom) {
            const std::uint32_t trapAddress = HexAddress(env.settings.trapAddress);
            std::uint32_t status = 0;
            if (access.ReadWord(TargetAccess::kDcuStatus, status) &&
                access.LoadTrapHandler(trapAddress)) {
                total = ReadEepromViaTrap(access, buffer, address, requested, trapAddress);
                access.ReadWord(TargetAccess::kDcuStatus, status);
            }
        } else {
            frame.AddLogLine(LogPane::Jtag, Msg(118));
            total = access.ReadMemory(buffer, requested, address);
        }
        access.DcuResetOff();
        result.received = total;

        frame.SetStatusField(kPage, StatusField::Address, HexText(address + total - 1, 8));
        frame.SetProgress(kPage, int(total));
        if (total < requested) {
            frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("1"));
            frame.SetStatusField(kPage, StatusField::Address, HexText(address + total, 8));
            frame.Repaint();
            frame.ShowMessage(BoxKind::Error,
                              Msg(119) + QLatin1Char(' ') + HexText(address + total, 8));
            result.outcome = ReadOutcome::ShortRead;
        } else {
            const QByteArray bytes = buffer.left(length);
            std::optional<QString> notWritten;
            if (file) notWritten = WriteWholeFile(*file, bytes);
            if (notWritten) {
                frame.ShowMessage(BoxKind::Error, *notWritten);
                result.outcome = ReadOutcome::NotWritten;
            } else {
                const QString done = Msg(destination == ReadDestination::Eeprom ? 21 : 120);
                frame.AddLogLine(LogPane::Jtag, done);
                frame.ShowMessage(BoxKind::Information, done);
                result.outcome = ReadOutcome::Done;
                switch (destination) {
                    case ReadDestination::RamTable:
                        if (delivery.ramTable) delivery.ramTable(bytes);
                        break;
                    case ReadDestination::FlashTable:
                        if (delivery.flashTable) delivery.flashTable(bytes);
                        break;
                    case ReadDestination::Picture:
                        if (delivery.picture) delivery.picture(bytes);
                        break;
                    case ReadDestination::Eeprom:
                        if (delivery.eeprom) {
                            delivery.eeprom->PutImageBytes(bytes, int(address), int(length));
                        }
                        if (delivery.eepromChanged) delivery.eepromChanged();
                        break;
                    case ReadDestination::File:
                        break;
                }
            }
        }
    }
    frame.ClearStatus(kPage);
    operation.Close();
    frame.EndBusy();
    return result;
}

}  // namespace velarix
