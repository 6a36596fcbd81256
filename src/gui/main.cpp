#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "demo_jtag.h"
#include "pty_service_port.h"
#include "service_mode.h"
#include "shell/title.h"
#include "simulated_decoder.h"
#include "tform1.h"

namespace {

// The simulated decoder that `--demo` starts inside the program.
struct Demo {
    velarix::sim::SimulatedDecoder decoder;
    velarix::sim::ServiceMode service{decoder};
    velarix::sim::PtyServicePort port{service};
    velarix::sim::PcParallelPort lpt;
    velarix::gui::DemoJtagCable jtag{decoder, lpt};
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", velarix::TitleText().toUtf8().constData());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velarix"));
    const QStringList args = QApplication::arguments();
    velarix::gui::WindowServices services;
    std::unique_ptr<Demo> demo;
    if (args.contains(QStringLiteral("--demo"))) {
        demo = std::make_unique<Demo>();
        if (!demo->port.IsOpen()) {
            std::fprintf(stderr, "velarix: the simulated decoder could not start: %s\n",
                         demo->port.ErrorText().toLocal8Bit().constData());
            return 1;
        }
        services.extraPorts << demo->port.Path();
        services.selectPort = demo->port.Path();
        demo->jtag.Serve(services);
    }
    const qsizetype settings = args.indexOf(QStringLiteral("--settings"));
    if (settings >= 0 && settings + 1 < args.size()) services.settingsFolder = args[settings + 1];
    const qsizetype port = args.indexOf(QStringLiteral("--port"));
    if (port >= 0 && port + 1 < args.size()) {
        services.extraPorts << args[port + 1];
        services.selectPort = args[port + 1];
    }
    velarix::gui::TForm1 window(services);
    window.show();
    return QApplication::exec();
}
