#include "service_mode.h"

#include "parallel_loader.h"
#include "simulated_decoder.h"

namespace velarix::sim {

namespace {

const QByteArray kRefusal = "$?C0\r";
const QByteArray kAccepted = "$!C0";
const QByteArray kYes = "$.C0\r";
const QByteArray kNo = "$?C0\r";

constexpr int kReadLength = 11;   // %EE?AAA10CK
constexpr int kWriteLength = 43;  // %EE=AAA10 + 32 digits + CK
constexpr int kLoadLength = 26;   // %DL= + address, size, sum + CK
constexpr int kQueryLength = 6;   // %DL? + CK

bool IsLoadWord(const QByteArray& line) {
    return line.startsWith("%DL") || line.startsWith("%PL") || line.startsWith("%FL");
}

bool IsUpperHex(const QByteArray& text) {
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

int HexValue(const QByteArray& text) {
    return text.toInt(nullptr, 16);
}

}  // namespace

QByteArray ServiceMode::Checksum(const QByteArray& body) {
    unsigned char x = 0;
    for (int i = 1; i < body.size(); ++i) x ^= static_cast<unsigned char>(body[i]);
    return QByteArray::number(static_cast<unsigned char>(~x), 16).rightJustified(2, '0').toUpper();
}

int ServiceMode::ExpectedLength() const {
    if (pending_.startsWith("%EE?")) return kReadLength;
    if (pending_.startsWith("%EE=")) return kWriteLength;
    if (pending_.size() < 4) return 0;
    if (IsLoadWord(pending_)) return pending_[3] == '=' ? kLoadLength : kQueryLength;
    if (pending_.startsWith("%PR?")) return kQueryLength;
    return 0;
}

QList<QByteArray> ServiceMode::Feed(const QByteArray& bytes) {
    QList<QByteArray> replies;
    for (char c : bytes) {
        // A "%" always starts a new line; what stood before it is a line of its own.
        if (c == '%' && !pending_.isEmpty()) replies += Flush();
        pending_.append(c);
        const int expected = ExpectedLength();
        if (expected > 0 && pending_.size() >= expected) {
            const QByteArray line = pending_;
            pending_.clear();
            const QByteArray reply = Answer(line);
            if (!reply.isEmpty()) replies.append(reply);
        }
    }
    return replies;
}

QList<QByteArray> ServiceMode::Flush() {
    if (pending_.isEmpty()) return {};
    const QByteArray line = pending_;
    pending_.clear();
    const QByteArray reply = Answer(line);
    return reply.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{reply};
}

QByteArray ServiceMode::Answer(const QByteArray& line) {
    ++lines_;
    if (silent_) return {};
    if (refuseNext_ > 0) {
        --refuseNext_;
        return kRefusal;
    }
    if (line.size() < 6 || line[0] != '%') return kRefusal;
    const QByteArray body = line.left(line.size() - 2);
    if (line.right(2) != Checksum(body)) return kRefusal;
    if (line.startsWith("%EE")) return AnswerEeprom(line);
    if (IsLoadWord(line)) return AnswerLoad(line);
    if (line.startsWith("%PR")) return AnswerPortCheck(line);
    return kRefusal;
}

QByteArray ServiceMode::AnswerLoad(const QByteArray& line) {
    const auto command = ParallelLoader::CommandOf(line.mid(1, 2));
    if (!loader_ || !command) return kRefusal;
    if (line[3] == '?' && line.size() == kQueryLength) {
        return loader_->Verified(*command) ? kYes : kNo;
    }
    const QByteArray fields = line.mid(4, 20);
    if (line[3] != '=' || line.size() != kLoadLength || !IsUpperHex(fields)) return kRefusal;
    const auto address = static_cast<std::uint32_t>(fields.left(8).toUInt(nullptr, 16));
    const auto size = static_cast<std::uint32_t>(fields.mid(8, 8).toUInt(nullptr, 16));
    const auto sum = static_cast<std::uint16_t>(fields.right(4).toUInt(nullptr, 16));
    return loader_->Agree(*command, address, size, sum) ? kYes : kRefusal;
}

QByteArray ServiceMode::AnswerPortCheck(const QByteArray& line) {
    if (line[3] != '?' || line.size() != kQueryLength) return kRefusal;
    return portSound_ && portSound_() ? kYes : kNo;
}

QByteArray ServiceMode::AnswerEeprom(const QByteArray& line) {
    const QByteArray address = line.mid(4, 3);
    const QByteArray count = line.mid(7, 2);
    if (!IsUpperHex(address) || count != "10") return kRefusal;
    const int first = HexValue(address);
    if (first % 16 != 0 || first + 16 > SimulatedDecoder::kEepromSize) return kRefusal;
    if (line[3] == '?' && line.size() == kReadLength) {
        return kAccepted + decoder_.Eeprom().mid(first, 16).toHex().toUpper() + '\r';
    }
    const QByteArray data = line.mid(9, 32);
    if (line[3] != '=' || line.size() != kWriteLength || !IsUpperHex(data)) return kRefusal;
    QByteArray eeprom = decoder_.Eeprom();
    eeprom.replace(first, 16, QByteArray::fromHex(data));
    decoder_.SetEeprom(eeprom);
    return kAccepted + '\r';
}

}  // namespace velarix::sim
