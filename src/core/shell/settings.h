#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "serial/serial_settings.h"

namespace velarix {

// How a slider's value is held: the settings are read as 32-bit integers and
// kept in these widths.
enum class HeldWidth { Unsigned8, Signed32, Signed64 };

// The sliders of the configuration page and the values they hold.
enum Slider {
    kRetardoBusy,
    kRetardoStrobe,
    kRetardoNegociacion1,
    kRetardoNegociacion2,
    kRetardoNegociacion3,
    kRetardoNegociacion4,
    kRetardoApertura1,
    kRetardoApertura2,
    kRetardoClausura1,
    kRetardoClausura2,
    kRetardoComienzo,
    kRetardoVerificacion,
    kRetardoEntreBytes,
    kDuracionTCK,
    kWStartBits,
    kCalidadJPEG,
    kSliderCount
};

struct SliderSpec {
    const char* key;       // settings key
    const char* control;   // the slider's object name
    std::int32_t initial;  // value of a missing key
    std::int32_t factory;  // value of "Valores por Defecto"
    std::int32_t minimum;
    std::int32_t maximum;
    HeldWidth width;
    int unitKey;  // message key of the unit label; -1 for none
};
const SliderSpec& SliderOf(Slider slider);

// One flash chip: where it starts, its type, and the type's block table.
struct FlashChip {
    static constexpr int kBoundaries = 1025;
    QString start;
    int type = 0;  // position in the flash-type list; -1 for none
    std::int32_t numBlocks = 1;
    std::uint8_t erasureMode = 48;
    std::array<std::uint32_t, kBoundaries> boundaries{};
};

// Every setting of "Velarix.ini", held as the configuration page shows it:
// list positions (-1 when nothing is selected), field texts, held values.
struct Settings {
    QString folder;  // the settings folder, with its trailing "/"

    // Window and dialogs.
    int top = 0, left = 0, windowHeight = 657, windowWidth = 736;
    int form2Width = 430, form2Height = 367, form3Width = 430, form3Height = 358;
    int activePage = 0;
    QString openFolder, saveFolder;

    // The lists filled from the companion files that exist.
    QStringList languages, flashTypes, models, symbolRateLists;
    int language = 0;
    int model = 0;  // 0 is the fixed first entry, "Personalizado"
    int symbolRateList = 2;

    // Serial and parallel ports, firmware page.
    QStringList ports;
    SerialSettings serial;
    int parallel = 1;
    int firmwareAddress = 0;
    int firmwareCommand = 0;  // "DL", "PL", "FL"; -1 for none
    bool phase12 = true;
    bool showProgress = true;
    int firmwareSource = 1;  // "Tabla canales FLASH", "Archivo"; -1 for none
    bool terminalChecksum = true;

    // JTAG page and flash chips.
    QString jtagAddress = QStringLiteral("7FE00000");
    QString jtagLength = QStringLiteral("50000");
    // "Tabla canales RAM", "Tabla canales FLASH", "Imagen capturada", "Eeprom", "Archivo".
    int jtagSource = 4;
    QString trapAddress = QStringLiteral("40010000");
    bool verifyFlash = true, forceFlash = false, addFirmwareChecksum = false;
    QString checksumPosition = QStringLiteral("13FC00");
    std::array<FlashChip, 2> chips;
    std::array<std::int64_t, kSliderCount> sliders{};

    // Tuning.
    int tcs = 0, tpt = 1;
    int channelCount = 0, transponderCount = 0;  // "1000"/"2000", "100"/"200"
    QString lnbLow = QStringLiteral("9750"), lnbHigh = QStringLiteral("10600");
    std::array<QString, 4> satellites{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                      QStringLiteral("D")};
    std::array<QString, 8> satelliteNames;  // the tuning grids' list
    std::array<std::int32_t, 16> symbolRates{};

    // Picture.
    int pictureSize = 4;
    int pictureShape = 0;  // "4:3", "16:9", "No cambiar el formato"; -1 for none
    int pictureWidth = 720, pictureHeight = 576;

    Settings();

    // A model of the list is chosen (not "Personalizado", and not a position
    // the list no longer has).
    bool HasNamedModel() const { return model >= 1 && model <= models.size(); }

    // The rows of the channel and transponder grids, heading row included, as
    // last applied from the two count lists.
    int channelRows = 1000;
    int transponderRows = 100;
};

// Fixed entries of the configuration page's lists.
const QStringList& ParallelRangeEntries();  // "278-27F, 678-67A" ...
const QStringList& TablePositionEntries();  // "00000" .. "1F0000"
const QStringList& PictureSizeEntries();    // "352 x 576" ...
const QStringList& TrapAddressEntries();
const QStringList& ChecksumPositionEntries();
const QStringList& FlashStartEntries();
const QStringList& FirmwareAddressEntries();
const QStringList& ChannelCountEntries();
const QStringList& TransponderCountEntries();
std::uint16_t ParallelBaseAt(int index);

// The picture size named by an entry of the picture-size list: the number in
// characters 1 to 3 and in characters 7 to 9.
void ApplyPictureSize(Settings& settings);
// The grid rows of the chosen counts: 1000 or 2003 channels, 100 or 200
// transponders.
void ApplyChannelCount(Settings& settings);
void ApplyTransponderCount(Settings& settings);

}  // namespace velarix
