#include <QApplication>
#include <cstdio>
#include <cstring>

#include "shell/title.h"
#include "tform1.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", velarix::TitleText().toUtf8().constData());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velarix"));
    velarix::gui::TForm1 window;
    window.show();
    return QApplication::exec();
}
