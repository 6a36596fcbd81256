#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "lpt/port_backend.h"
#include "sim_parallel_port.h"
#include "tform1.h"
#include "trap_routine.h"
#include "window_options.h"
#include "wired_decoder.h"

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
    const qsizetype lpt = args.indexOf(QStringLiteral("--lpt"));
    if (lpt >= 0) {
        if (lpt + 1 >= args.size() || !velarix::IsPortSpec(args[lpt + 1])) {
            std::fprintf(stderr,
                         "velarix: --lpt takes 278, 378, 3BC, A068, 2000, /dev/parportN, "
                         "unix:PATH or sim\n");
            return 2;
        }
        services.lptSpec = args[lpt + 1];
    }
    // `--demo` starts the simulated decoder inside the program, with its
    // service port on a pseudo-terminal and its cables on the parallel port.
    std::unique_ptr<velarix::sim::WiredDecoder> demo;
    if (args.contains(QStringLiteral("--demo")) || services.lptSpec == QLatin1String("sim")) {
        demo = std::make_unique<velarix::sim::WiredDecoder>();
        if (!demo->servicePort.IsOpen()) {
            std::fprintf(stderr, "velarix: the simulated decoder could not start: %s\n",
                         demo->servicePort.ErrorText().toLocal8Bit().constData());
            return 1;
        }
        velarix::sim::PcParallelPort& pcPort = demo->pcPort;
        services.simPort = [&pcPort] { return std::make_unique<velarix::SimParallelPort>(pcPort); };
        if (lpt < 0) services.lptSpec = QStringLiteral("sim");
        // The stand-in trap routine that only the simulator runs; a normal
        // start never sees it.
        services.trapRoutine = [] {
            return velarix::FileRead{velarix::sim::StandInTrapRoutine(), {}};
        };
    }
    // With --demo, and with --lpt sim but no --port, the simulated decoder is
    // on both cables.
    const qsizetype port = args.indexOf(QStringLiteral("--port"));
    if (demo && (args.contains(QStringLiteral("--demo")) || port < 0)) {
        services.extraPorts << demo->servicePort.Path();
        services.selectPort = demo->servicePort.Path();
    }
    {
        QTextStream err(stderr);
        velarix::gui::TakeWindowOptions(args, QCoreApplication::applicationDirPath(), services,
                                        err);
    }
    if (port >= 0 && port + 1 < args.size()) {
        services.extraPorts << args[port + 1];
        services.selectPort = args[port + 1];
    }
    velarix::gui::TForm1 window(services);
    window.show();
    return QApplication::exec();
}
