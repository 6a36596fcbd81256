#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

namespace velarix::sim {

class ParallelLoader;
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
//   yes                    "$.C0\r"                    load agreed, load verified, port sound
//   no                     "$?C0\r"                    load refused or failed, port faulty
// The host reads only characters 5 to 36 of an accepted read reply, and of
// the others only whether the second character is ".".
//
// Commands:
//   "%EE?" + AAA + "10" + CK                 read 16 bytes at address AAA (3 hex digits)
//   "%EE=" + AAA + "10" + 32 digits + CK     write 16 bytes at address AAA
//   "%DL=" + 8 address digits + 8 size digits + 4 sum digits + CK
//                                            a load (also "%PL=", "%FL="), with a loader
//   "%DL?" + CK                              was the last load good (also "%PL?", "%FL?")
//   "%PR?" + CK                              is the parallel port sound
class ServiceMode {
public:
    explicit ServiceMode(SimulatedDecoder& decoder) : decoder_(decoder) {}

    // Takes bytes from the host; returns the replies of every line completed.
    QList<QByteArray> Feed(const QByteArray& bytes);
    // The host fell quiet: a pending partial line is taken as it stands.
    QList<QByteArray> Flush();
    bool HasPartialLine() const { return !pending_.isEmpty(); }

    // The parallel-port loader behind the load commands, and the check of
    // the parallel port; without a loader every load is refused.
    void AttachLoader(ParallelLoader* loader, std::function<bool()> portSound) {
        loader_ = loader;
        portSound_ = std::move(portSound);
    }

    // Fault knobs.
    void RefuseNext(int count) { refuseNext_ = count; }
    int RefusalsLeft() const { return refuseNext_; }
    void SetSilent(bool silent) { silent_ = silent; }

    int LinesHandled() const { return lines_; }

    static QByteArray Checksum(const QByteArray& body);

private:
    QByteArray Answer(const QByteArray& line);
    QByteArray AnswerEeprom(const QByteArray& line);
    QByteArray AnswerLoad(const QByteArray& line);
    QByteArray AnswerPortCheck(const QByteArray& line);
    // The full length of the line that `pending_` begins, or 0 when unknown.
    int ExpectedLength() const;

    SimulatedDecoder& decoder_;
    ParallelLoader* loader_ = nullptr;
    std::function<bool()> portSound_;
    QByteArray pending_;
    int refuseNext_ = 0;
    bool silent_ = false;
    int lines_ = 0;
};

}  // namespace velarix::sim
