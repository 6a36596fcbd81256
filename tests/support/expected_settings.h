#pragma once

#include <QByteArray>
#include <QString>

#include "shell/cp1252.h"

namespace velarix::test {

// Every key, in the order the window writes them, as a settings folder
// without "Velarix.ini" gives them.
inline const char kDefaultsInOrder[] =
    "\r\n[TForm1]\r\nTop=0\r\nLeft=0\r\nWindowWidth=736\r\nWindowHeight=657\r\nForm2Width=430\r\n"
    "Form2Height=367\r\nForm3Width=430\r\nForm3Height=358\r\nPuerto=0\r\nVelocidad=6\r\n"
    "BitsDatos=1\r\nControlFlujo=1\r\nFirmDireccion=0\r\nParidad=2\r\nBitsParada=0\r\nIdioma=0\r\n"
    "Paralelo=1\r\nRetardoStrobe=10\r\nRetardoNegociacion1=10\r\nRetardoNegociacion2=500\r\n"
    "RetardoNegociacion3=500\r\nRetardoNegociacion4=10\r\nRetardoApertura1=100\r\n"
    "RetardoApertura2=100\r\nRetardoClausura1=500\r\nRetardoClausura2=500\r\nRetardoBusy=300\r\n"
    "RetardoComienzo=2000\r\nRetardoVerificacion=1000\r\nRetardoEntreBytes=0\r\nDuracionTCK=0\r\n"
    "FirmComando1=1\r\nFirmComando2=0\r\nFirmComando3=0\r\nFase1y2=1\r\nChecksum=1\r\nProgreso="
    "1\r\n"
    "Usar-firm-p+s-flash=0\r\nUsar-firm-p+s-archivo=1\r\nUsar-firm-jtag-flash=0\r\n"
    "Usar-firm-jtag-ram=0\r\nUsar-firm-jtag-imagen=0\r\nUsar-firm-jtag-eeprom=0\r\n"
    "Usar-firm-jtag-archivo=1\r\nPesta\xF1"
    "aActiva=0\r\nOpenDLgInitialDir=@\r\nSaveDLgInitialDir=@\r\n"
    "DirecJtag=7FE00000\r\nLongJtag=50000\r\nTCS=0\r\nTPT=1\r\nSR=2\r\nNumCanales=0\r\nNumTransp="
    "0\r\n"
    "LNB-low=9750\r\nLNB-high=10600\r\nSat-A=A\r\nSat-B=B\r\nSat-C=C\r\nSat-D=D\r\nCalidadJPEG="
    "100\r\n"
    "Tamano=4\r\nFormato4:3=1\r\nFormato16:9=0\r\nFormatoOriginal=0\r\nAddFirmwareCRC=0\r\n"
    "TrapAdr=40010000\r\nWStartBits=1024\r\nChecksumPosition=13FC00\r\nFlash1Start=7FE00000\r\n"
    "Flash1Type=0\r\nFlash2Start=60000000\r\nFlash2Type=0\r\nModel=0\r\nVerificarJtag=1\r\n"
    "ForzarJtag=0\r\n";

// The defaults file of a settings folder: its dialog folders are the folder itself.
inline QByteArray DefaultSettingsFile(const QString& folder) {
    QByteArray file(kDefaultsInOrder);
    return file.replace("@", ToCp1252(folder));
}

}  // namespace velarix::test
