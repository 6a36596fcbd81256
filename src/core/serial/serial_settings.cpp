#include "serial/serial_settings.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace velarix {

namespace {

template <typename T, std::size_t N>
T At(const T (&values)[N], int index, T fallback) {
    return (index >= 0 && index < static_cast<int>(N)) ? values[index] : fallback;
}

}  // namespace

const QStringList& BaudRateEntries() {
    static const QStringList entries{"110",   "300",   "600",   "1200",  "2400",  "4800",  "9600",
                                     "14400", "19200", "38400", "56000", "57600", "115200"};
    return entries;
}

const QStringList& DataBitsEntries() {
    static const QStringList entries{"6", "7", "8"};
    return entries;
}

const QStringList& StopBitsEntries() {
    static const QStringList entries{"1", "2"};
    return entries;
}

QSerialPort::BaudRate BaudRateAt(int index) {
    const QStringList& entries = BaudRateEntries();
    const int i = (index >= 0 && index < entries.size()) ? index : 6;
    return static_cast<QSerialPort::BaudRate>(entries[i].toInt());
}

QSerialPort::DataBits DataBitsAt(int index) {
    static const QSerialPort::DataBits values[] = {QSerialPort::Data6, QSerialPort::Data7,
                                                   QSerialPort::Data8};
    return At(values, index, QSerialPort::Data7);
}

QSerialPort::Parity ParityAt(int index) {
    static const QSerialPort::Parity values[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                 QSerialPort::OddParity, QSerialPort::MarkParity,
                                                 QSerialPort::SpaceParity};
    return At(values, index, QSerialPort::OddParity);
}

QSerialPort::StopBits StopBitsAt(int index) {
    static const QSerialPort::StopBits values[] = {QSerialPort::OneStop, QSerialPort::TwoStop};
    return At(values, index, QSerialPort::OneStop);
}

QSerialPort::FlowControl FlowControlAt(int index) {
    static const QSerialPort::FlowControl values[] = {
        QSerialPort::NoFlowControl, QSerialPort::SoftwareControl, QSerialPort::HardwareControl};
    return At(values, index, QSerialPort::SoftwareControl);
}

QStringList SerialPortNames(const QStringList& extra) {
    QStringList names;
    for (const auto& info : QSerialPortInfo::availablePorts()) names << info.portName();
    std::sort(names.begin(), names.end());
    for (const QString& name : extra) {
        if (!names.contains(name)) names << name;
    }
    return names;
}

}  // namespace velarix
