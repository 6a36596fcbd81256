#pragma once

#include <QByteArrayList>
#include <functional>

#include "serial/link_port.h"

namespace velarix::test {

// A serial port that records what the link writes and hands back replies the
// test chooses, when the test chooses.
class ScriptedPort : public LinkPort {
    Q_OBJECT
public:
    QString Name() const override { return name; }
    bool SetName(const QString& n, QString*) override {
        name = n;
        return true;
    }
    bool Open(QString* error) override;
    bool IsOpen() const override { return open; }
    void Apply(const SerialSettings& s) override { settings = s; }
    void Purge() override { ++purges; }
    bool Write(const QByteArray& bytes, QString* error) override;

    // Delivers bytes as one arrival.
    void Deliver(const QByteArray& bytes) { emit Received(bytes); }
    // Answers the last line written with `responder`, once. False when
    // nothing is waiting for an answer.
    bool AnswerLast();

    QString name = QStringLiteral("ttyS0");
    bool open = true;
    bool failOpen = false;
    bool failWrite = false;
    int purges = 0;
    SerialSettings settings;
    QByteArrayList written;
    std::function<QByteArray(const QByteArray&)> responder;

private:
    int answered_ = 0;
};

}  // namespace velarix::test
