#include "shell/settings_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "eeprom/hex.h"
#include "shell/ini_file.h"

namespace velarix {

namespace {

constexpr int kMostBlocks = FlashChip::kBoundaries - 1;

// A position in a fixed list read from the file; beyond the list, nothing is
// selected. Positions in the lists filled from the machine's ports and from
// the companion files are kept as read even when their list is shorter today
// (an adapter not plugged in, a file missing), so that saving does not lose them.
int Position(std::int32_t value, qsizetype count) {
    return (value >= 0 && value < count) ? value : -1;
}

std::int64_t Held(std::int32_t value, HeldWidth width) {
    return width == HeldWidth::Unsigned8 ? (value & 0xFF) : value;
}

QString EntryPath(const Settings& s, const QString& entry) {
    return s.folder + entry + QStringLiteral(".ini");
}

QString Companion(const QStringList& list, int index) {
    return list.value(index);
}

// Turning an option button on turns the others of its group off, so of the
// keys read in order the last one that is set wins; none set leaves none on.
// A missing key takes its default: on for the group's button `onByDefault`.
int OptionGroup(const TIniFile32& ini, std::initializer_list<const char*> keys, int onByDefault) {
    int chosen = -1;
    int i = 0;
    for (const char* key : keys) {
        if (ini.ReadBool(SettingsSection(), QString::fromUtf8(key), i == onByDefault)) chosen = i;
        ++i;
    }
    return chosen;
}

void ReadWindow(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.top = ini.ReadInteger(t, "Top", 0);
    s.left = ini.ReadInteger(t, "Left", 0);
    s.windowHeight = std::max(ini.ReadInteger(t, "WindowHeight", 657), 570);
    s.windowWidth = std::max(ini.ReadInteger(t, "WindowWidth", 736), 736);
    s.form2Width = std::max(ini.ReadInteger(t, "Form2Width", 430), 430);
    s.form2Height = std::max(ini.ReadInteger(t, "Form2Height", 367), 367);
    s.form3Width = std::max(ini.ReadInteger(t, "Form3Width", 430), 430);
    s.form3Height = std::max(ini.ReadInteger(t, "Form3Height", 358), 358);
}

void ReadLists(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.languages = ExistingEntries(ini, s.folder, "Idioma", 0, 20);
    s.language = ini.ReadInteger(t, "Idioma", 0);
    s.flashTypes = ExistingEntries(ini, s.folder, "FlashIC", 0, 20);
    s.models = ExistingEntries(ini, s.folder, "Model", 1, 30);
}

void ReadPortsAndTables(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.jtagAddress = ini.ReadString(t, "DirecJtag", "7FE00000");
    s.serial.port = ini.ReadInteger(t, "Puerto", 0);
    s.serial.baudRate = Position(ini.ReadInteger(t, "Velocidad", 6), BaudRateEntries().size());
    s.serial.dataBits = Position(ini.ReadInteger(t, "BitsDatos", 1), DataBitsEntries().size());
    s.serial.flowControl = Position(ini.ReadInteger(t, "ControlFlujo", 1), 3);
    s.firmwareAddress =
        Position(ini.ReadInteger(t, "FirmDireccion", 0), FirmwareAddressEntries().size());
    s.jtagLength = ini.ReadString(t, "LongJtag", "50000");
    s.serial.parity = Position(ini.ReadInteger(t, "Paridad", 2), 5);
    s.serial.stopBits = Position(ini.ReadInteger(t, "BitsParada", 0), StopBitsEntries().size());
    s.parallel = Position(ini.ReadInteger(t, "Paralelo", 1), ParallelRangeEntries().size());
    s.tcs = Position(ini.ReadInteger(t, "TCS", 0), TablePositionEntries().size());
    s.tpt = Position(ini.ReadInteger(t, "TPT", 1), TablePositionEntries().size());
}

void ReadModelAndChips(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.trapAddress = ini.ReadString(t, "TrapAdr", "40010000");
    s.model = ini.ReadInteger(t, "Model", 0);
    if (s.model == 0) {
        s.chips[0].start = ini.ReadString(t, "Flash1Start", "7FE00000");
        s.chips[0].type = ini.ReadInteger(t, "Flash1Type", 0);
        s.chips[1].start = ini.ReadString(t, "Flash2Start", "60000000");
        s.chips[1].type = ini.ReadInteger(t, "Flash2Type", 0);
    }
    if (ApplyModel(s)) {
        LoadFlashTypeFile(s, 0);
        LoadFlashTypeFile(s, 1);
    }
}

void ReadOptions(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.firmwareCommand = OptionGroup(ini, {"FirmComando1", "FirmComando2", "FirmComando3"}, 0);
    s.phase12 = ini.ReadBool(t, "Fase1y2", true);
    s.terminalChecksum = ini.ReadBool(t, "Checksum", true);
    s.showProgress = ini.ReadBool(t, "Progreso", true);
    s.firmwareSource = OptionGroup(ini, {"Usar-firm-p+s-flash", "Usar-firm-p+s-archivo"}, 1);
    s.jtagSource =
        OptionGroup(ini,
                    {"Usar-firm-jtag-flash", "Usar-firm-jtag-ram", "Usar-firm-jtag-imagen",
                     "Usar-firm-jtag-eeprom", "Usar-firm-jtag-archivo"},
                    4);
}

void ReadTuning(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.lnbLow = ini.ReadString(t, "LNB-low", "9750");
    s.lnbHigh = ini.ReadString(t, "LNB-high", "10600");
    const char* keys[] = {"Sat-A", "Sat-B", "Sat-C", "Sat-D"};
    for (int i = 0; i < 4; ++i)
        s.satellites[i] = ini.ReadString(t, keys[i], QString(QChar(u'A' + i)));
    for (int i = 0; i < 8; ++i) s.satelliteNames[i] = s.satellites[i < 4 ? i : 0];
}

// A slider keeps its value within its range: what lies outside becomes the
// nearest end.
void ReadSliders(const TIniFile32& ini, Settings& s) {
    for (int i = 0; i < kSliderCount; ++i) {
        const SliderSpec& def = SliderOf(static_cast<Slider>(i));
        const std::int64_t held =
            Held(ini.ReadInteger(SettingsSection(), def.key, def.initial), def.width);
        s.sliders[i] = std::clamp<std::int64_t>(held, def.minimum, def.maximum);
    }
}

void ReadPictureAndDialogs(const TIniFile32& ini, Settings& s) {
    const QString t = SettingsSection();
    s.pictureSize = Position(ini.ReadInteger(t, "Tamano", 4), PictureSizeEntries().size());
    ApplyPictureSize(s);
    s.activePage = ini.ReadInteger(t, QStringLiteral("PestañaActiva"), 0);
    const QString folder = s.folder.endsWith(QLatin1Char('/')) ? s.folder.chopped(1) : s.folder;
    s.openFolder = ini.ReadString(t, "OpenDLgInitialDir", folder);
    s.saveFolder = ini.ReadString(t, "SaveDLgInitialDir", folder);
    s.pictureShape = OptionGroup(ini, {"Formato4:3", "Formato16:9", "FormatoOriginal"}, 0);
    s.verifyFlash = ini.ReadBool(t, "VerificarJtag", true);
    s.forceFlash = ini.ReadBool(t, "ForzarJtag", false);
    s.addFirmwareChecksum = ini.ReadBool(t, "AddFirmwareCRC", false);
    s.checksumPosition = ini.ReadString(t, "ChecksumPosition", "13FC00");
}

}  // namespace

QStringList ExistingEntries(const TIniFile32& ini, const QString& folder, const QString& key,
                            int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i) {
        const QString name = ini.ReadString(SettingsSection(), key + QString::number(i), QString());
        if (!name.isEmpty() && QFileInfo::exists(folder + name + QStringLiteral(".ini")))
            names << name;
    }
    return names;
}

std::uint32_t ParseBlockBoundary(const QString& text) {
    std::uint32_t value = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const int digit = (u >= u'0' && u <= u'9')   ? u - u'0'
                          : (u >= u'A' && u <= u'F') ? u - u'A' + 10
                                                     : -1;
        if (digit < 0) return 0xFFFFFFFFu;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

namespace {

void RemoveLeftoversOfSaves(const QString& folder) {
    const QDir dir(folder);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (IsLeftoverOfASave(file.fileName()) && file.lastModified().toUTC() < settled)
            QFile::remove(file.absoluteFilePath());
    }
}

}  // namespace

Settings LoadSettings(const QString& folder, const QStringList& ports) {
    RemoveLeftoversOfSaves(folder);
    Settings s;
    s.folder = folder;
    s.ports = ports;
    const TIniFile32 ini(folder + SettingsFileName());
    ReadWindow(ini, s);
    ReadLists(ini, s);
    ReadPortsAndTables(ini, s);
    s.symbolRateLists = ExistingEntries(ini, s.folder, "SR", 0, 20);
    s.symbolRateList = ini.ReadInteger(SettingsSection(), "SR", 2);
    LoadSymbolRateFile(s);
    s.channelCount = Position(ini.ReadInteger(SettingsSection(), "NumCanales", 0), 2);
    ApplyChannelCount(s);
    s.transponderCount = Position(ini.ReadInteger(SettingsSection(), "NumTransp", 0), 2);
    ApplyTransponderCount(s);
    ReadModelAndChips(ini, s);
    ReadOptions(ini, s);
    ReadTuning(ini, s);
    ReadSliders(ini, s);
    ReadPictureAndDialogs(ini, s);
    return s;
}

void LoadModelFile(Settings& s) {
    const QString entry = Companion(s.models, s.model - 1);
    const TIniFile32 ini(EntryPath(s, entry));
    s.chips[0].start = ini.ReadString(entry, "Flash1Start", "7FE00000");
    s.chips[0].type = ini.ReadInteger(entry, "Flash1Type", 0);
    s.chips[1].start = ini.ReadString(entry, "Flash2Start", "60000000");
    s.chips[1].type = ini.ReadInteger(entry, "Flash2Type", 0);
    LoadFlashTypeFile(s, 0);
    LoadFlashTypeFile(s, 1);
}

bool ApplyModel(Settings& s) {
    if (!s.HasNamedModel()) return true;
    LoadModelFile(s);
    return false;
}

// A count above the table's 1024 blocks is cut to 1024, so that the table
// never overruns.
void LoadFlashTypeFile(Settings& s, int chip) {
    FlashChip& c = s.chips[chip];
    const QString entry = Companion(s.flashTypes, c.type);
    const TIniFile32 ini(EntryPath(s, entry));
    c.numBlocks = std::min(ini.ReadInteger(entry, "NumBlocks", 1), kMostBlocks);
    c.erasureMode = static_cast<std::uint8_t>(ini.ReadInteger(entry, "ErasureMode", 48));
    c.boundaries.fill(0);
    for (int i = 0; i <= c.numBlocks; ++i) {
        c.boundaries[i] =
            ParseBlockBoundary(ini.ReadString(entry, QStringLiteral("block%1").arg(i), "0"));
    }
}

void LoadSymbolRateFile(Settings& s) {
    const QString entry = Companion(s.symbolRateLists, s.symbolRateList);
    const TIniFile32 ini(EntryPath(s, entry));
    for (int i = 0; i < 16; ++i) {
        s.symbolRates[i] = ini.ReadInteger(entry, QStringLiteral("value") + HexText(i, 2), 0);
    }
}

std::optional<QString> SaveSettings(const Settings& s) {
    TIniFile32 ini(s.folder + SettingsFileName());
    ini.DeferWrites();
    WriteSettingsKeys(s, ini);
    ini.UpdateFile();
    if (!ini.LastError().isEmpty()) return ini.LastError();
    return std::nullopt;
}

void WriteSettingsKeys(const Settings& s, TIniFile32& ini) {
    const QString t = SettingsSection();
    auto integer = [&](const char* key, std::int64_t value) {
        ini.WriteInteger(t, QString::fromUtf8(key), static_cast<std::int32_t>(value));
    };
    auto boolean = [&](const char* key, bool value) {
        ini.WriteBool(t, QString::fromUtf8(key), value);
    };
    auto text = [&](const char* key, const QString& value) {
        ini.WriteString(t, QString::fromUtf8(key), value);
    };
    auto slider = [&](Slider which) { integer(SliderOf(which).key, s.sliders[which]); };

    integer("Top", s.top);
    integer("Left", s.left);
    integer("WindowWidth", s.windowWidth);
    integer("WindowHeight", s.windowHeight);
    integer("Form2Width", s.form2Width);
    integer("Form2Height", s.form2Height);
    integer("Form3Width", s.form3Width);
    integer("Form3Height", s.form3Height);
    integer("Puerto", s.serial.port);
    integer("Velocidad", s.serial.baudRate);
    integer("BitsDatos", s.serial.dataBits);
    integer("ControlFlujo", s.serial.flowControl);
    integer("FirmDireccion", s.firmwareAddress);
    integer("Paridad", s.serial.parity);
    integer("BitsParada", s.serial.stopBits);
    integer("Idioma", s.language);
    integer("Paralelo", s.parallel);
    for (Slider d : {kRetardoStrobe, kRetardoNegociacion1, kRetardoNegociacion2,
                     kRetardoNegociacion3, kRetardoNegociacion4, kRetardoApertura1,
                     kRetardoApertura2, kRetardoClausura1, kRetardoClausura2, kRetardoBusy,
                     kRetardoComienzo, kRetardoVerificacion, kRetardoEntreBytes, kDuracionTCK}) {
        slider(d);
    }
    boolean("FirmComando1", s.firmwareCommand == 0);
    boolean("FirmComando2", s.firmwareCommand == 1);
    boolean("FirmComando3", s.firmwareCommand == 2);
    boolean("Fase1y2", s.phase12);
    boolean("Checksum", s.terminalChecksum);
    boolean("Progreso", s.showProgress);
    boolean("Usar-firm-p+s-flash", s.firmwareSource == 0);
    boolean("Usar-firm-p+s-archivo", s.firmwareSource == 1);
    const char* jtagKeys[] = {"Usar-firm-jtag-flash", "Usar-firm-jtag-ram", "Usar-firm-jtag-imagen",
                              "Usar-firm-jtag-eeprom", "Usar-firm-jtag-archivo"};
    for (int i = 0; i < 5; ++i) boolean(jtagKeys[i], s.jtagSource == i);
    integer("PestañaActiva", s.activePage);
    text("OpenDLgInitialDir", s.openFolder);
    text("SaveDLgInitialDir", s.saveFolder);
    text("DirecJtag", s.jtagAddress);
    text("LongJtag", s.jtagLength);
    integer("TCS", s.tcs);
    integer("TPT", s.tpt);
    integer("SR", s.symbolRateList);
    integer("NumCanales", s.channelCount);
    integer("NumTransp", s.transponderCount);
    text("LNB-low", s.lnbLow);
    text("LNB-high", s.lnbHigh);
    integer("WindowWidth", s.windowWidth);
    integer("WindowHeight", s.windowHeight);
    text("Sat-A", s.satellites[0]);
    text("Sat-B", s.satellites[1]);
    text("Sat-C", s.satellites[2]);
    text("Sat-D", s.satellites[3]);
    slider(kCalidadJPEG);
    integer("Tamano", s.pictureSize);
    boolean("Formato4:3", s.pictureShape == 0);
    boolean("Formato16:9", s.pictureShape == 1);
    boolean("FormatoOriginal", s.pictureShape == 2);
    boolean("AddFirmwareCRC", s.addFirmwareChecksum);
    text("TrapAdr", s.trapAddress);
    slider(kWStartBits);
    text("ChecksumPosition", s.checksumPosition);
    if (s.model == 0) {
        text("Flash1Start", s.chips[0].start);
        integer("Flash1Type", s.chips[0].type);
        text("Flash2Start", s.chips[1].start);
        integer("Flash2Type", s.chips[1].type);
    }
    integer("Model", s.model);
    boolean("VerificarJtag", s.verifyFlash);
    boolean("ForzarJtag", s.forceFlash);
}

bool IsLeftoverOfASave(const QString& fileName) {
    static const QRegularExpression leftover(
        QStringLiteral("^Velarix\\.ini\\.velarix-save-[A-Za-z0-9]{6}$"));
    return leftover.match(fileName).hasMatch();
}

}  // namespace velarix
