// Drives the window on the simulated decoder through every page, as a person
// would, and saves a picture of each into the folder given:
//   velarix_tour OUTPUT_FOLDER
// Run under a display (scripts/screenshots starts Xvfb). The settings are a
// fresh copy of the sample settings folder of the sources, so nothing of the
// user's is touched.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <functional>

#include "about_page.h"
#include "box_presenter.h"
#include "configuration_page.h"
#include "firmware_page.h"
#include "eeprom_page.h"
#include "jtag/memory_readout.h"
#include "jtag_firmware_controls.h"
#include "parallel_firmware_controls.h"
#include "sample_tables.h"
#include "shell/file_dialogs.h"
#include "sim_parallel_port.h"
#include "terminal_page.h"
#include "tform1.h"
#include "trap_routine.h"
#include "tuning_page.h"
#include "wired_decoder.h"

namespace {

using namespace velarix;

// The file dialogs answer with the files the tour chose beforehand.
class TourDialogs : public FileDialogs {
public:
    std::optional<FileChoice> AskOpen(const QString&, int) override { return Next(); }
    std::optional<FileChoice> AskSave(const QString&, int) override { return Next(); }
    std::deque<FileChoice> answers;

private:
    std::optional<FileChoice> Next() {
        if (answers.empty()) return std::nullopt;
        FileChoice choice = answers.front();
        answers.pop_front();
        return choice;
    }
};

// Every box is read and closed at once; a question gets its safe answer.
class TourBoxes : public gui::BoxPresenter {
public:
    void Show(BoxKind, const QString& text) override { shown << text; }
    bool AskOkCancel(BoxKind, const QString& text) override {
        shown << text;
        return false;
    }
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override {
        shown << text;
        return AbortRetryIgnore::Abort;
    }
    int ChooseFromList(const QString&, const QString&, const QStringList&) override { return 0; }
    QStringList shown;
};

// Lets the window run until `done`, for at most `ms` milliseconds.
bool Await(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void Settle() {
    Await([] { return false; }, 300);
}

class Tour {
public:
    Tour(gui::TForm1& window, TourDialogs& dialogs, TourBoxes& boxes, QString out)
        : w_(window), dialogs_(dialogs), boxes_(boxes), out_(std::move(out)) {}

    void Page(QWidget* page) {
        QTabBar* tabs = w_.Pages()->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {},
                          tabs->tabRect(w_.Pages()->indexOf(page)).center());
        Settle();
    }
    void SubPage(QTabWidget* pages, int index) {
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(index).center());
        Settle();
    }
    void Click(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    // Clicks and waits for the box that ends the task.
    void ClickAndAwaitBox(QAbstractButton* button, int ms) {
        const auto before = boxes_.shown.size();
        Click(button);
        if (!Await([&] { return boxes_.shown.size() > before; }, ms))
            std::fprintf(stderr, "tour: no box after %s\n", qPrintable(button->text()));
        Settle();
    }
    // Clicks a button that opens a modal dialog: once the dialog is up it is
    // pictured and closed with Esc.
    void ShootDialog(QAbstractButton* button, const QString& name) {
        QTimer::singleShot(500, [this, name] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                std::fprintf(stderr, "tour: no dialog for %s\n", qPrintable(name));
                return;
            }
            Save(dialog->grab(), name);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        Click(button);
        Settle();
    }
    void Save(const QPixmap& picture, const QString& name) {
        const QString path = QDir(out_).filePath(name + QStringLiteral(".png"));
        if (!picture.save(path)) std::fprintf(stderr, "tour: cannot write %s\n", qPrintable(path));
        std::printf("%s\n", qPrintable(path));
    }
    void Shoot(const QString& name) {
        Settle();
        Save(w_.grab(), name);
    }

    gui::TForm1& w_;
    TourDialogs& dialogs_;
    TourBoxes& boxes_;
    QString out_;
};

QString Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

void CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: velarix_tour OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir work;
    const QString settings = work.filePath(QStringLiteral("INIs"));
    CopyFolder(QStringLiteral(VELARIX_SAMPLE_INIS), settings);
    // Shorter pauses before and after the parallel transfer than the defaults.
    QFile ini(settings + QStringLiteral("/Velarix.ini"));
    if (ini.open(QIODevice::Append))
        ini.write("RetardoComienzo=300\r\nRetardoVerificacion=300\r\n");
    ini.close();

    sim::WiredDecoder rig;
    if (!rig.servicePort.IsOpen()) {
        std::fprintf(stderr, "tour: the simulated decoder could not start\n");
        return 1;
    }
    TourDialogs dialogs;
    TourBoxes boxes;
    gui::WindowServices services;
    services.dialogs = &dialogs;
    services.boxes = &boxes;
    services.extraPorts << rig.servicePort.Path();
    services.selectPort = rig.servicePort.Path();
    services.lptSpec = QStringLiteral("sim");
    services.simPort = [&rig] { return std::make_unique<SimParallelPort>(rig.pcPort); };
    services.trapRoutine = [] { return FileRead{sim::StandInTrapRoutine(), {}}; };
    services.settingsFolder = settings;
    gui::TForm1 window(services);
    window.resize(1000, 700);
    window.show();
    window.activateWindow();
    Settle();
    Tour tour(window, dialogs, boxes, out);

    // "Eeprom": read the decoder's EEPROM, then its interpreted fields.
    tour.Page(window.Eeprom());
    tour.ClickAndAwaitBox(window.Eeprom()->receiveButton, 60000);
    tour.Shoot(QStringLiteral("eeprom"));
    tour.SubPage(window.Eeprom()->SubPages(), 1);
    tour.Shoot(QStringLiteral("fields"));
    tour.SubPage(window.Eeprom()->SubPages(), 0);

    // "Firmware (Paralelo+Serie)": upload 64 KiB into chip 1.
    QByteArray firmware(0x10000, '\0');
    for (int i = 0; i < firmware.size(); ++i) firmware[i] = char((i * 7) ^ (i >> 8));
    tour.Page(window.ParallelFirmware());
    dialogs.answers.push_back({Put(work.filePath("firmware.bin"), firmware), 1});
    tour.ClickAndAwaitBox(window.ParallelFirmwareChoices()->sendButton, 120000);
    tour.Shoot(QStringLiteral("firmware-parallel"));

    // "Firmware (JTag)": identify the CPU, then read the captured picture.
    auto* jtag = window.JtagControls();
    tour.Page(window.JtagFirmware());
    tour.Click(jtag->identifyButton);
    Settle();
    tour.Click(jtag->destinations[int(ReadDestination::Picture)]);
    tour.ClickAndAwaitBox(jtag->receiveButton, 120000);
    tour.Shoot(QStringLiteral("picture"));
    tour.Page(window.JtagFirmware());
    tour.Shoot(QStringLiteral("firmware-jtag"));

    // "Terminal": ask for the first row of the EEPROM by hand.
    tour.Page(window.Terminal());
    QLineEdit* input = window.Terminal()->Input();
    QTest::mouseClick(input, Qt::LeftButton);
    QTest::keyClicks(input, QStringLiteral("%EE?00010"));
    QTest::keyClick(input, Qt::Key_Return);
    Await([] { return false; }, 1000);
    tour.Shoot(QStringLiteral("terminal"));

    // "Sintonización": the sample flash image, both tables.
    tour.Page(window.Tuning());
    dialogs.answers.push_back({Put(work.filePath("channels.bin"), sim::FlashImage()), 1});
    tour.Click(window.Tuning()->readButton);
    Settle();
    tour.Shoot(QStringLiteral("channels"));
    tour.ShootDialog(window.Tuning()->editButton, QStringLiteral("channel-dialog"));
    tour.SubPage(window.Tuning()->SubPages(), 1);
    tour.Shoot(QStringLiteral("transponders"));
    tour.ShootDialog(window.Tuning()->editButton, QStringLiteral("transponder-dialog"));
    tour.SubPage(window.Tuning()->SubPages(), 0);

    // "Configuración" and "Acerca de...".
    tour.Page(window.Configuration());
    tour.Shoot(QStringLiteral("configuration"));
    tour.Page(window.About());
    tour.Shoot(QStringLiteral("about"));
    return 0;
}
