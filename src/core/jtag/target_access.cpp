#include "jtag/target_access.h"

#include <algorithm>
#include <cstring>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/transfer_rate.h"

namespace velarix {

namespace {

constexpr std::uint8_t kReadCommand = 0x01;
constexpr std::uint8_t kWordCommand = 0x04;
constexpr std::uint32_t kStartRequest = 0x20000000;
constexpr std::uint32_t kStarted = 0x60000;
constexpr int kStartRereads = 100;
constexpr std::uint32_t kEepromDevice = 0xA0;
constexpr std::uint64_t kResetWaitMs = 100;

}  // namespace

TargetAccess::TargetAccess(JtagDriver& driver, OperationFrame& frame, TrapState& trap,
                           TrapRoutineReader trapRoutine)
    : driver_(driver), frame_(frame), trap_(trap), trapRoutine_(std::move(trapRoutine)) {}

void TargetAccess::Log(const QString& line) {
    frame_.AddLogLine(LogPane::Jtag, line);
}

void TargetAccess::LogAndShowError(const QString& text) {
    Log(text);
    frame_.ShowMessage(BoxKind::Error, text);
}

std::uint32_t TargetAccess::Tick() {
    return driver_.Port().timing.Tick();
}

// Bytes still on their way from an earlier command are taken and dropped.
// After a block was read, such bytes mean that block was not what its length
// byte said: from then on the link is not trusted.
bool TargetAccess::Drain(int limit) {
    int drained = 0;
    std::uint8_t byte = 0;
    bool stopped = true;
    while (driver_.LinkReceiveByte(byte)) {
        if (++drained >= limit) {
            stopped = false;
            break;
        }
    }
    if (drained > 0 && blockTaken_ && !linkFault_) {
        linkFault_ = true;
        Log(Msg(419));
    }
    blockTaken_ = false;
    return stopped;
}

bool TargetAccess::LinkQuiet() {
    const bool wasFault = linkFault_;
    Drain(1024);
    return linkFault_ == wasFault;
}

int TargetAccess::ReadBlock(std::uint32_t address, Block& block) {
    if (linkFault_) return 0;
    driver_.SelectLink();
    if (!Drain(1024) || linkFault_) return 0;
    const bool ok1 = driver_.LinkSendByte(kReadCommand);
    const bool ok2 = driver_.LinkSendWord(address);
    std::uint8_t length = 0;
    const bool ok3 = driver_.LinkReceiveByte(length);
    const int n = (length & 0xFC) ? (length & 0xFC) : kBlockSize;
    if (!(ok1 && ok2 && ok3)) return 0;
    for (int i = 0; i < n; ++i) {
        if (!driver_.LinkReceiveByte(block[i])) return 0;
    }
    blockTaken_ = true;
    return n;
}

int TargetAccess::WriteBlock(std::uint32_t address, const std::uint8_t* data, int count) {
    if (count < 0 || count > kLargestWrite || count % 4 != 0 || linkFault_) return 0;
    driver_.SelectLink();
    if (!Drain(1023) || linkFault_) return 0;
    for (bool tdi : {false, true, false}) driver_.JtagClock(false, tdi, false);
    const bool ok1 = driver_.LinkSendByte(std::uint8_t(count & 0xFC));
    const bool ok2 = driver_.LinkSendWord(address);
    if (!(ok1 && ok2)) return 0;
    for (int i = 0; i < count; ++i) {
        if (!driver_.LinkSendByte(data[i])) return 0;
    }
    return count;
}

bool TargetAccess::WriteWord(std::uint32_t address, std::uint32_t value) {
    if (linkFault_) return false;
    driver_.SelectLink();
    if (!Drain(1023) || linkFault_) return false;
    for (bool tdi : {false, true, false}) driver_.JtagClock(false, tdi, false);
    const bool ok1 = driver_.LinkSendByte(kWordCommand);
    const bool ok2 = driver_.LinkSendWord(address);
    const bool ok3 = driver_.LinkSendWord(value);
    return ok1 && ok2 && ok3;
}

bool TargetAccess::ReadWord(std::uint32_t address, std::uint32_t& value) {
    Block block{};
    const int n = ReadBlock(address, block);
    if (n != 0) {
        value = std::uint32_t(block[0]) | std::uint32_t(block[1]) << 8 |
                std::uint32_t(block[2]) << 16 | std::uint32_t(block[3]) << 24;
    } else if (address == kDcuStatus) {
        LogAndShowError(Msg(345));
    }
    return n != 0;
}

void TargetAccess::DcuResetOn() {
    Lpt& lpt = driver_.Port();
    driver_.SetDcuResetLine(false);
    WaitMs(lpt, kResetWaitMs);
    driver_.SetDcuResetLine(true);
    Log(Msg(116));
    WaitMs(lpt, kResetWaitMs);
    driver_.ResetTap();
    Log(Msg(117));
    WaitMs(lpt, kResetWaitMs);
}

void TargetAccess::DcuResetOff() {
    driver_.SetDcuResetLine(false);
    Log(Msg(121));
}

bool TargetAccess::InstallTrapVector(std::uint32_t trapAddress) {
    std::uint32_t mailbox = 0, vector = 0;
    const bool okA = ReadWord(kMailboxPointer, mailbox);
    if (okA) trap_.mailbox = mailbox;
    const bool okB = ReadWord(kTrapVector, vector);
    const bool okC = WriteWord(kTrapVector, trapAddress);
    const bool okD = ReadWord(kTrapVector, vector);
    return okA && okB && okC && okD;
}

// A routine shorter than 696 bytes is refused before anything is sent.
bool TargetAccess::LoadTrapHandler(std::uint32_t trapAddress) {
    if (trap_.loaded) {
        Log(Msg(364));
        return true;
    }
    const FileRead file = trapRoutine_ ? trapRoutine_() : FileRead{{}, QStringLiteral("trap.bin")};
    if (!file.ok()) {
        LogAndShowError(Msg(275));
        return false;
    }
    if (file.bytes.size() < kTrapRoutineSize) {
        LogAndShowError(Msg(418));
        return false;
    }
    const auto* routine = reinterpret_cast<const std::uint8_t*>(file.bytes.constData());
    const int sent = WriteBlock(trapAddress, routine, 252) +
                     WriteBlock(trapAddress + 252, routine + 252, 252) +
                     WriteBlock(trapAddress + 504, routine + 504, 192);
    if (sent < kTrapRoutineSize) {
        LogAndShowError(Msg(276));
        return false;
    }
    const bool ok1 = WriteWord(kDcuControl, 0);
    const bool ok2 = InstallTrapVector(trapAddress);
    const bool ok3 = WriteWord(kDcuControl, kStartRequest);
    std::uint32_t value = 0;
    bool ok4 = ReadWord(kDcuControl, value);
    int rereads = 0;
    while (value != kStarted && rereads < kStartRereads && ok1 && ok2 && ok3 && ok4) {
        ok4 = ReadWord(kDcuControl, value);
        ++rereads;
    }
    if (rereads == kStartRereads || !(ok1 && ok2 && ok3 && ok4)) {
        trap_.loaded = false;
        Log(Msg(362));
        return false;
    }
    WriteWord(kDcuControl, 0);
    trap_.loaded = true;
    Log(Msg(363));
    return true;
}

// A status read that fails ends the poll as a failure: the routine's answer
// was not seen, so its work cannot be counted as done.
bool TargetAccess::TrapCommand(TrapCommandWord command,
                               std::initializer_list<TrapParameter> parameters, int pollLimit) {
    const std::uint32_t mailbox = trap_.mailbox;
    for (const TrapParameter& p : parameters) {
        if (!WriteWord(mailbox + std::uint32_t(p.offset), p.value)) return false;
    }
    if (!WriteWord(mailbox, std::uint32_t(command))) return false;
    if (command == TrapCommandWord::WriteEeprom) {
        Log(Msg(343));
        frame_.Repaint();
    }
    int count = 0;
    for (;;) {
        std::uint32_t value = 0;
        if (!ReadWord(mailbox, value)) return false;
        if ((value & 1) || count >= pollLimit) break;
        ++count;
    }
    return count < pollLimit;
}

bool TargetAccess::TrapProgramFlash(std::uint32_t destination, std::uint32_t staging,
                                    std::uint32_t count, std::uint32_t chipStart) {
    Log(Msg(268) + HexText(destination, 8));
    frame_.Repaint();
    return TrapCommand(TrapCommandWord::ProgramFlash,
                       {{4, destination}, {8, staging}, {12, count}, {16, chipStart}},
                       kCommandPolls);
}

bool TargetAccess::TrapEraseBlock(std::uint32_t blockStart, std::uint32_t chipStart,
                                  std::uint8_t erasureMode) {
    Log(Msg(267) + HexText(blockStart, 8));
    frame_.Repaint();
    return TrapCommand(TrapCommandWord::EraseBlock,
                       {{4, blockStart}, {16, chipStart}, {28, erasureMode}}, kCommandPolls);
}

bool TargetAccess::TrapEraseChip(std::uint32_t chipStart) {
    Log(Msg(328) + HexText(chipStart, 8));
    frame_.Repaint();
    return TrapCommand(TrapCommandWord::EraseChip, {{16, chipStart}}, kCommandPolls);
}

bool TargetAccess::TrapReadEeprom(std::uint32_t offset, std::uint32_t count,
                                  std::uint32_t staging) {
    Log(Msg(329));
    frame_.Repaint();
    return TrapCommand(TrapCommandWord::ReadEeprom,
                       {{12, kEepromDevice}, {16, offset}, {20, count}, {24, staging}},
                       kCommandPolls);
}

bool TargetAccess::TrapWriteEeprom(std::uint32_t offset, std::uint32_t count,
                                   std::uint32_t staging) {
    return TrapCommand(TrapCommandWord::WriteEeprom,
                       {{12, kEepromDevice}, {16, offset}, {20, count}, {24, staging}},
                       kWriteEepromPolls);
}

void TargetAccess::ShowRate(std::int64_t done, std::int64_t left, std::uint32_t startTick,
                            const QString& gap) {
    const std::uint32_t elapsed = Tick() - startTick;
    if (elapsed != 0) speed_ = (double(done) / 1024.0) / (double(elapsed) / 1000.0);
    frame_.SetStatusField(StatusPage::FirmwareJtag, StatusField::Speed,
                          SpeedText(speed_, gap + Msg(238)));
    if (speed_ != 0) {
        const auto seconds = RoundHalfEven(double(left) / (speed_ * 1024.0));
        frame_.SetStatusField(StatusPage::FirmwareJtag, StatusField::TimeLeft,
                              QString::number(seconds) + gap + Msg(237));
    }
}

// Each block lands in a block of its own first and only what fits is copied
// on, so no length byte can make a block run past the buffer. A block found
// to have brought more bytes than it announced is taken back.
std::int64_t TargetAccess::ReadMemory(QByteArray& buffer, std::int64_t count, std::uint32_t start) {
    const std::uint32_t startTick = Tick();
    const std::int64_t capacity = buffer.size();
    std::int64_t total = 0;
    int last = 1;
    int previous = 0;
    Block block{};
    while (total < count && last != 0) {
        const bool faultBefore = linkFault_;
        last = ReadBlock(start + std::uint32_t(total), block);
        if (last == 0 && linkFault_ && !faultBefore) {
            total -= previous;
            break;
        }
        const std::int64_t fits = std::clamp<std::int64_t>(capacity - total, 0, last);
        if (fits > 0) std::memcpy(buffer.data() + total, block.data(), std::size_t(fits));
        total += last;
        previous = last;
        if (total % 15 == 0) {
            ShowRate(total, count - total, startTick, QString());
            frame_.SetProgress(StatusPage::FirmwareJtag, int(total));
            frame_.SetStatusField(StatusPage::FirmwareJtag, StatusField::Address,
                                  HexText(start + std::uint32_t(total), 8));
            frame_.Repaint();
        }
    }
    if (last != 0 && previous > 0 && !LinkQuiet()) total -= previous;
    return total;
}

// The tail of 1 to 3 bytes is written as a whole word: the word is read, its
// first bytes replaced and written back. It is written only where the blocks
// before it all went in, and counted only when it did go in.
std::int64_t TargetAccess::WriteMemory(const std::uint8_t* source, std::uint32_t target,
                                       std::uint32_t shown, std::int64_t offset,
                                       std::int64_t count) {
    const std::int64_t whole = count & ~std::int64_t(3);
    const int tail = int(count & 3);
    const std::uint32_t startTick = Tick();
    std::int64_t total = 0;
    int last = 1;
    while (total < whole && last != 0) {
        const int chunk = int(std::min<std::int64_t>(whole - total, kLargestWrite));
        last = WriteBlock(target + std::uint32_t(total), source + total, chunk);
        total += last;
        if (total % 15 == 0) {
            ShowRate(total, whole - total, startTick, QStringLiteral(" "));
            frame_.SetProgress(StatusPage::FirmwareJtag, int(offset + total));
            frame_.SetStatusField(StatusPage::FirmwareJtag, StatusField::Address,
                                  HexText(shown + std::uint32_t(total), 8));
            frame_.Repaint();
        }
    }
    if (tail > 0 && total == whole) {
        Block word{};
        if (ReadBlock(target + std::uint32_t(total), word) != 0) {
            std::memcpy(word.data(), source + whole, std::size_t(tail));
            if (WriteBlock(target + std::uint32_t(total), word.data(), 4) == 4) total += tail;
        }
    }
    frame_.SetProgress(StatusPage::FirmwareJtag, int(offset + whole));
    frame_.SetStatusField(StatusPage::FirmwareJtag, StatusField::Address,
                          HexText(shown + std::uint32_t(whole), 8));
    return total;
}

std::int64_t TargetAccess::WriteMemoryToRam(const std::uint8_t* source, std::uint32_t target,
                                            std::int64_t count) {
    DcuResetOn();
    Log(Msg(32));
    frame_.Repaint();
    const std::int64_t written = WriteMemory(source, target, target, 0, count);
    Block ignored{};
    ReadBlock(target, ignored);
    DcuResetOff();
    return written;
}

}  // namespace velarix
