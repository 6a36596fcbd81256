#include "serial/link_port.h"

#include "shell/message_table.h"

namespace velarix {

QString SerialOpenFailure(const QString& name, QSerialPort::SerialPortError error,
                          const QString& reason) {
    QString text = name + QStringLiteral(": ") + reason;
    if (error == QSerialPort::PermissionError) text += QLatin1Char('\n') + Msg(440).arg(name);
    return text;
}

QtLinkPort::QtLinkPort(QObject* parent) : LinkPort(parent) {
    connect(&port_, &QSerialPort::readyRead, this, [this] { emit Received(port_.readAll()); });
}

bool QtLinkPort::SetName(const QString& name, QString* error) {
    const bool wasOpen = port_.isOpen();
    if (wasOpen) port_.close();
    name_ = name;
    port_.setPortName(name);
    return !wasOpen || Open(error);
}

bool QtLinkPort::Open(QString* error) {
    if (port_.isOpen()) return true;
    if (!port_.open(QIODevice::ReadWrite)) {
        if (error) *error = SerialOpenFailure(name_, port_.error(), port_.errorString());
        return false;
    }
    ApplyLines();
    return true;
}

void QtLinkPort::Apply(const SerialSettings& settings) {
    settings_ = settings;
    if (port_.isOpen()) ApplyLines();
}

void QtLinkPort::ApplyLines() {
    port_.setBaudRate(BaudRateAt(settings_.baudRate));
    port_.setDataBits(DataBitsAt(settings_.dataBits));
    port_.setParity(ParityAt(settings_.parity));
    port_.setStopBits(StopBitsAt(settings_.stopBits));
    const auto flow = FlowControlAt(settings_.flowControl);
    port_.setFlowControl(flow);
    if (flow != QSerialPort::HardwareControl) port_.setRequestToSend(false);
    port_.setDataTerminalReady(true);
}

void QtLinkPort::Purge() {
    if (port_.isOpen()) port_.clear(QSerialPort::AllDirections);
}

bool QtLinkPort::Write(const QByteArray& bytes, QString* error) {
    if (!port_.isOpen() || port_.write(bytes) != bytes.size()) {
        if (error) {
            *error = name_ + QStringLiteral(": ") +
                     (port_.isOpen() ? port_.errorString() : QSerialPort::tr("Device is not open"));
        }
        return false;
    }
    return true;
}

}  // namespace velarix
