#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include "serial/serial_settings.h"

namespace velarix {

// What the service link needs of a serial port.
class LinkPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QString Name() const = 0;
    // Names the port; an open port is closed and opened again on the new name.
    virtual bool SetName(const QString& name, QString* error) = 0;
    virtual bool Open(QString* error) = 0;
    virtual bool IsOpen() const = 0;
    // Applies the line settings at once, to an open port too.
    virtual void Apply(const SerialSettings& settings) = 0;
    // Drops whatever waits to be received or sent.
    virtual void Purge() = 0;
    virtual bool Write(const QByteArray& bytes, QString* error) = 0;

signals:
    void Received(const QByteArray& bytes);
};

// What is shown when a serial port cannot be opened: the port and the
// system's reason, and for a lack of permission what a Linux user must do.
QString SerialOpenFailure(const QString& name, QSerialPort::SerialPortError error,
                          const QString& reason);

// A real serial port (or pseudo-terminal) through QSerialPort. DTR is held on
// while the port is open; RTS is held off but under hardware flow control.
class QtLinkPort : public LinkPort {
    Q_OBJECT
public:
    explicit QtLinkPort(QObject* parent = nullptr);

    QString Name() const override { return name_; }
    bool SetName(const QString& name, QString* error) override;
    bool Open(QString* error) override;
    bool IsOpen() const override { return port_.isOpen(); }
    void Apply(const SerialSettings& settings) override;
    void Purge() override;
    bool Write(const QByteArray& bytes, QString* error) override;

private:
    void ApplyLines();

    QSerialPort port_;
    QString name_;  // as given: a device path keeps its folder
    SerialSettings settings_;
};

}  // namespace velarix
