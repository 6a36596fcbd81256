#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "velarix-sim: the simulated decoder has no port to serve yet\n";
    return 1;
}
