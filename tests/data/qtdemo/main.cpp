// A small Qt Widgets program that the end-to-end tests build, package and run
// in an install root without a system Qt. It shows a label, says which
// platform plug-in it got, and quits on a timer.

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label("A program that carries its own Qt");
    label.show();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    QTimer::singleShot(300, &application, &QCoreApplication::quit);
    return application.exec();
}
