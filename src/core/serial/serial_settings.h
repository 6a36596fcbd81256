#pragma once

#include <QSerialPort>
#include <QStringList>

namespace velarix {

// The six port settings as positions in the lists of the "Puerto Serie" page.
struct SerialSettings {
    int port = 0;         // position in the port list
    int baudRate = 6;     // 9600
    int dataBits = 1;     // 7
    int parity = 2;       // "Impar"
    int stopBits = 0;     // 1
    int flowControl = 1;  // "Software"
};

// The fixed entries of the lists (the parity and flow-control lists show
// translated names; these are their positions' meanings).
const QStringList& BaudRateEntries();  // "110" .. "115200"
const QStringList& DataBitsEntries();  // "6", "7", "8"
const QStringList& StopBitsEntries();  // "1", "2"

QSerialPort::BaudRate BaudRateAt(int index);
QSerialPort::DataBits DataBitsAt(int index);
QSerialPort::Parity ParityAt(int index);
QSerialPort::StopBits StopBitsAt(int index);
QSerialPort::FlowControl FlowControlAt(int index);

// The machine's serial ports, sorted, followed by `extra` (a pseudo-terminal
// given on the command line, or the simulated decoder's).
QStringList SerialPortNames(const QStringList& extra = {});

}  // namespace velarix
