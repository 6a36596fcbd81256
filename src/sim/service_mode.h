#pragma once

#include <QByteArray>
#include <QList>

namespace velarix::sim {

class SimulatedDecoder;

// The decoder's serial service mode, seen from the decoder. Command lines
// arrive without a terminator: "%" + two-letter command + "?" or "=" + payload
// + two hexadecimal checksum digits (the complement of the XOR of every
// character after the "%"). A line is complete when its command's length has
// arrived; a line of an unknown command is complete when the host falls quiet
// (Flush). Every reply ends with a carriage return.
//
// Replies of this decoder:
//   refusal                "$?C0"                      any bad or unknown line
//   EEPROM read accepted   "$!C0" + 32 digits + "\r"  the 16 bytes at the address
//   EEPROM write accepted  "$!C0\r"
// The host reads only characters 5 to 36 of an accepted read reply.
//
// Commands:
//   "%EE?" + AAA + "10" + CK                 read 16 bytes at address AAA (3 hex digits)
//   "%EE=" + AAA + "10" + 32 digits + CK     write 16 bytes at address AAA
class ServiceMode {
public:
    explicit ServiceMode(SimulatedDecoder& decoder) : decoder_(decoder) {}

    // Takes bytes from the host; returns the replies of every line completed.
    QList<QByteArray> Feed(const QByteArray& bytes);
    // The host fell quiet: a pending partial line is taken as it stands.
    QList<QByteArray> Flush();
    bool HasPartialLine() const { return !pending_.isEmpty(); }

    // Fault knobs.
    void RefuseNext(int count) { refuseNext_ = count; }
    int RefusalsLeft() const { return refuseNext_; }
    void SetSilent(bool silent) { silent_ = silent; }

    int LinesHandled() const { return lines_; }

    static QByteArray Checksum(const QByteArray& body);

private:
    QByteArray Answer(const QByteArray& line);
    QByteArray AnswerEeprom(const QByteArray& line);
    // The full length of the line that `pending_` begins, or 0 when unknown.
    int ExpectedLength() const;

    SimulatedDecoder& decoder_;
    QByteArray pending_;
    int refuseNext_ = 0;
    bool silent_ = false;
    int lines_ = 0;
};

}  // namespace velarix::sim
