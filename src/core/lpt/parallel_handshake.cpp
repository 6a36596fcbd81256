#include "lpt/parallel_handshake.h"

#include <QLocale>

#include "eeprom/hex.h"
#include "lpt/port_access.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"
#include "shell/transfer_rate.h"

namespace velarix {

namespace {

constexpr auto kPage = StatusPage::FirmwareParallel;
constexpr std::uint8_t kStrobe = 0x01;     // 1: nStrobe low
constexpr std::uint8_t kAutoFeed = 0x02;   // 1: nAutoFd low
constexpr std::uint8_t kInit = 0x04;       // 0: nInit low
constexpr std::uint8_t kSelectIn = 0x08;   // 1: nSelectIn low
constexpr std::uint8_t kInterrupt = 0x10;  // 1: interrupt enabled
constexpr std::uint8_t kReverse = 0x20;    // 1: data lines as inputs
constexpr std::uint8_t kEcrByteMode = 0x34;
constexpr std::uint64_t kRecoveryTimeoutMs = 500;

std::uint64_t Milliseconds(std::int64_t value) {
    return value < 0 ? 0 : static_cast<std::uint64_t>(value);
}

}  // namespace

HandshakeDelays DelaysOf(const Settings& settings) {
    const auto& s = settings.sliders;
    HandshakeDelays d;
    d.busy = Milliseconds(s[kRetardoBusy]);
    d.strobe = static_cast<std::uint8_t>(s[kRetardoStrobe]);
    d.negotiation1 = static_cast<std::uint8_t>(s[kRetardoNegociacion1]);
    d.negotiation2 = Milliseconds(s[kRetardoNegociacion2]);
    d.negotiation3 = Milliseconds(s[kRetardoNegociacion3]);
    d.negotiation4 = static_cast<std::uint8_t>(s[kRetardoNegociacion4]);
    d.opening1 = Milliseconds(s[kRetardoApertura1]);
    d.opening2 = Milliseconds(s[kRetardoApertura2]);
    d.closing1 = Milliseconds(s[kRetardoClausura1]);
    d.closing2 = Milliseconds(s[kRetardoClausura2]);
    d.start = Milliseconds(s[kRetardoComienzo]);
    d.verification = Milliseconds(s[kRetardoVerificacion]);
    d.betweenBytes = Milliseconds(s[kRetardoEntreBytes]);
    return d;
}

std::uint8_t ParallelHandshake::ReadControl() {
    return PortIn(lpt_, lpt_.base + kControlRegister);
}

void ParallelHandshake::WriteControl(std::uint8_t value) {
    PortOut(lpt_, lpt_.base + kControlRegister, value);
}

void ParallelHandshake::NegotiationBox(int key) {
    if (!Dead()) frame_.ShowMessage(BoxKind::Error, Msg(key));
}

void ParallelHandshake::ForceCompatibility() {
    std::uint8_t c = ReadControl();
    c |= kSelectIn;
    c &= static_cast<std::uint8_t>(~(kAutoFeed | kInit | kInterrupt | kStrobe));
    WriteControl(c);
    state_.text = QStringLiteral("CPT");
}

int ParallelHandshake::Negotiate() {
    PortOut(lpt_, lpt_.base + kDataRegister, 0x00);
    std::uint8_t c = ReadControl();
    c |= kAutoFeed;
    c &= static_cast<std::uint8_t>(~kSelectIn);
    Spin(lpt_, delays_.negotiation1);
    WriteControl(c);

    // Phase 2: nAck low, nFault, Select and PError high.
    const auto answered = [this] {
        return !IsAckHigh(lpt_) && IsFaultHigh(lpt_) && IsSelect(lpt_) && IsPaperEnd(lpt_);
    };
    const Deadline phase2(lpt_.timing.Tick(), delays_.negotiation2);
    do {
        if (answered()) break;
    } while (!phase2.ReachedAt(lpt_.timing.Tick()) && !Dead());
    if (!answered()) {
        NegotiationBox(1);
        ForceCompatibility();
        return 3;
    }

    c = ReadControl();
    c |= kStrobe;
    WriteControl(c);
    Spin(lpt_, static_cast<std::uint32_t>(delays_.negotiation3 % 256));
    c &= static_cast<std::uint8_t>(~(kAutoFeed | kStrobe));
    WriteControl(c);

    // Phase 6: nAck back high, within RetardoNegociacion4 milliseconds.
    const Deadline phase6(lpt_.timing.Tick(), delays_.negotiation4);
    do {
        if (IsAckHigh(lpt_)) break;
    } while (!phase6.ReachedAt(lpt_.timing.Tick()) && !Dead());
    if (!IsAckHigh(lpt_)) {
        NegotiationBox(2);
        ForceCompatibility();
        return 3;
    }
    if (IsSelect(lpt_)) {
        NegotiationBox(3);
        ForceCompatibility();
        return 3;
    }
    return IsFaultHigh(lpt_) ? 0 : 1;
}

void ParallelHandshake::OpenTransfer() {
    PortOut(lpt_, lpt_.base + kDataRegister, 0x00);
    std::uint8_t c = ReadControl();
    c |= kSelectIn | kInit;
    c &= static_cast<std::uint8_t>(~(kInterrupt | kAutoFeed | kStrobe));
    WriteControl(c);
    PortOut(lpt_, lpt_.base + kExtendedControlRegister, kEcrByteMode);
    c = ReadControl();
    c &= static_cast<std::uint8_t>(~kInit);
    WriteControl(c);
    WaitMs(lpt_, delays_.opening1);
    c |= kInit;
    c &= static_cast<std::uint8_t>(~kReverse);
    WriteControl(c);
    WaitMs(lpt_, delays_.opening2);
    frame_.Repaint();
    switch (Negotiate()) {
        case 0:
            state_.text = QStringLiteral("DNA");
            break;
        case 1:
            state_.text = QStringLiteral("DA");
            break;
        default:
            state_.text = QStringLiteral("ERROR");
            break;
    }
    if (state_.text == QLatin1String("DNA")) {
        c = ReadControl();
        c |= kInterrupt;
        WriteControl(c);
        c |= kAutoFeed;
        WriteControl(c);
    }
}

bool ParallelHandshake::Terminate() {
    std::uint8_t c;
    if (state_.text == QLatin1String("DNA")) {
        c = ReadControl();
        c &= static_cast<std::uint8_t>(~kInterrupt);
        WriteControl(c);
    }
    c = ReadControl();
    c |= kSelectIn;
    c &= static_cast<std::uint8_t>(~kAutoFeed);
    WriteControl(c);

    bool timedOut = false;
    const Deadline fall(lpt_.timing.Tick(), delays_.closing1);
    while (IsAckHigh(lpt_) && !timedOut) {
        if (fall.PassedAt(lpt_.timing.Tick()) || Dead()) timedOut = true;
    }
    bool timedOut2 = false;
    if (!timedOut) {
        c |= kAutoFeed;
        WriteControl(c);
        const Deadline rise(lpt_.timing.Tick(), delays_.closing2);
        while (!IsAckHigh(lpt_) && !timedOut2) {
            if (rise.PassedAt(lpt_.timing.Tick()) || Dead()) timedOut2 = true;
        }
    }
    if (!timedOut && !timedOut2) {
        c &= static_cast<std::uint8_t>(~kAutoFeed);
        WriteControl(c);
        state_.text = QStringLiteral("CPT");
        return true;
    }
    ForceCompatibility();
    return false;
}

int ParallelHandshake::SendByte(std::uint8_t value) {
    bool timedOut = false;
    const Deadline deadline(lpt_.timing.Tick(), delays_.busy);
    while (IsBusy(lpt_) && !timedOut) {
        if (deadline.PassedAt(lpt_.timing.Tick()) || Dead()) timedOut = true;
    }
    if (timedOut) return 1;
    PortOut(lpt_, lpt_.base + kDataRegister, value);
    std::uint8_t c = ReadControl();
    c |= kStrobe;
    WriteControl(c);
    Spin(lpt_, delays_.strobe);
    c &= static_cast<std::uint8_t>(~kStrobe);
    WriteControl(c);
    return IsAckHigh(lpt_) ? 0 : 2;
}

bool ParallelHandshake::RecoverAfterError() {
    std::uint8_t c = ReadControl();
    c &= static_cast<std::uint8_t>(~kInit);
    WriteControl(c);
    WaitMs(lpt_, 1);
    c |= kInit;
    WriteControl(c);
    bool timedOut = false;
    const Deadline deadline(lpt_.timing.Tick(), kRecoveryTimeoutMs);
    while (IsPaperEnd(lpt_) && !timedOut) {
        if (deadline.PassedAt(lpt_.timing.Tick()) || Dead()) timedOut = true;
    }
    ForceCompatibility();
    return timedOut;
}

// The start address of the page plus `offset`, as eight hexadecimal digits.
QString ParallelHandshake::AddressText(std::int64_t offset) const {
    return HexText(static_cast<std::uint64_t>(start_ + offset) & 0xFFFFFFFFu, 8);
}

TransferEnd ParallelHandshake::SendImage(const QByteArray& image, const QString& startAddress,
                                         bool showProgress, std::int32_t& errors) {
    const std::uint16_t base = lpt_.base;
    const auto second = static_cast<std::uint16_t>(base + kSecondRange);
    if (!OpenPortAccess(lpt_.port, base, second)) {
        const QString reason = PortAccessFailure(lpt_.port);
        if (!reason.isEmpty()) frame_.AddLogLine(LogPane::Firmware, reason);
        frame_.ShowMessage(BoxKind::Error,
                           reason.isEmpty() ? Msg(39) : Msg(39) + QStringLiteral("\r\n") + reason);
        ClosePortAccess(lpt_.port, base, second);
        return TransferEnd::PortNotOpened;
    }
    start_ = HexToInt(startAddress);

    frame_.AddLogLine(LogPane::Firmware, Msg(29));
    OpenTransfer();
    for (const QString& note : lpt_.port.TakeNotes()) frame_.AddLogLine(LogPane::Firmware, note);
    frame_.AddLogLine(LogPane::Firmware, Msg(28) + state_.text);
    if (!Dead() && (state_.text == QLatin1String("DNA") || state_.text == QLatin1String("DA"))) {
        if (!Terminate()) frame_.AddLogLine(LogPane::Firmware, Msg(30));
    }
    frame_.AddLogLine(LogPane::Firmware, Msg(31) + state_.text);
    frame_.AddLogLine(LogPane::Firmware, Msg(32));

    WaitMs(lpt_, delays_.start);
    const std::uint32_t startTick = lpt_.timing.Tick();
    const qsizetype size = image.size();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
    qsizetype i = 0;
    bool recoveryFailed = false;
    double speed = 0;
    while (i < size && errors < kErrorLimit && !recoveryFailed && !Dead()) {
        const int r = SendByte(bytes[i]);
        ++i;
        if (showProgress && i % kProgressStep == 0) {
            const std::uint32_t elapsed = lpt_.timing.Tick() - startTick;
            if (elapsed != 0) speed = (i / 1024.0) / (elapsed / 1000.0);
            // Fixed point, one decimal, the locale's decimal separator and no
            // thousands separator.
            const QString text = QString::number(speed, 'f', 1).replace(
                QLatin1Char('.'), QLocale().decimalPoint());
            frame_.SetStatusField(kPage, StatusField::Speed, text + Msg(238));
            if (speed != 0) {
                const auto left = RoundHalfEven(static_cast<double>(size - i) / (speed * 1024));
                frame_.SetStatusField(kPage, StatusField::TimeLeft,
                                      QString::number(left) + Msg(237));
            }
            frame_.SetStatusField(kPage, StatusField::Address, AddressText(i));
            frame_.SetProgress(kPage, static_cast<int>(i));
            frame_.Repaint();
        }
        if (delays_.betweenBytes > 0) Spin(lpt_, static_cast<std::uint32_t>(delays_.betweenBytes));
        if (r != 0) {
            --i;
            if (Dead()) break;
            ++errors;
            frame_.SetStatusField(kPage, StatusField::Address, AddressText(i));
            frame_.SetStatusField(kPage, StatusField::Errors, QString::number(errors));
            frame_.SetStatusField(kPage, StatusField::TimeLeft, QStringLiteral("0 ") + Msg(237));
            frame_.Repaint();
            frame_.AddLogLine(LogPane::Firmware, Msg(33) + QString::number(i) + Msg(34));
            recoveryFailed = RecoverAfterError();
        }
    }
    frame_.SetProgress(kPage, static_cast<int>(i));
    frame_.SetStatusField(kPage, StatusField::Address, AddressText(i - 1));
    frame_.Repaint();

    if (Dead()) {
        frame_.AddLogLine(LogPane::Firmware, lpt_.port.FaultText());
        frame_.ShowMessage(BoxKind::Error, lpt_.port.FaultText());
        ClosePortAccess(lpt_.port, base, second);
        return TransferEnd::PortFailed;
    }
    if (recoveryFailed) frame_.AddLogLine(LogPane::Firmware, Msg(35));
    Negotiate();
    frame_.AddLogLine(LogPane::Firmware, Msg(36));
    if (!Terminate()) frame_.AddLogLine(LogPane::Firmware, Msg(37));
    ClosePortAccess(lpt_.port, base, second);
    if (recoveryFailed) return TransferEnd::RecoveryFailed;
    if (errors >= kErrorLimit) return TransferEnd::ErrorLimit;
    return TransferEnd::Complete;
}

}  // namespace velarix
