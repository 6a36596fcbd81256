#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "pty_service_port.h"
#include "service_mode.h"
#include "shell/title.h"
#include "simulated_decoder.h"
#include "tform1.h"
#include "window_options.h"

namespace {

// The simulated decoder that `--demo` starts inside the program.
struct Demo {
    velarix::sim::SimulatedDecoder decoder;
    velarix::sim::ServiceMode service{decoder};
    velarix::sim::PtyServicePort port{service};
};

}  // namespace

int main(int argc, char** argv) {
    {
        QStringList early;
        for (int i = 1; i < argc; ++i) early << QString::fromLocal8Bit(argv[i]);
        QTextStream out(stdout), err(stderr);
        if (const auto status = velarix::gui::EndBeforeTheWindow(early, out, err)) return *status;
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
    }
    {
        QTextStream err(stderr);
        velarix::gui::TakeWindowOptions(args, QCoreApplication::applicationDirPath(), services,
                                        err);
    }
    const qsizetype port = args.indexOf(QStringLiteral("--port"));
    if (port >= 0 && port + 1 < args.size()) {
        services.extraPorts << args[port + 1];
        services.selectPort = args[port + 1];
    }
    velarix::gui::TForm1 window(services);
    window.show();
    return QApplication::exec();
}
