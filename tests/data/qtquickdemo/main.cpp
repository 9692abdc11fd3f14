// A small Qt Quick program that the end-to-end tests build, package and run
// in an install root without a system Qt or its QML modules. Its window holds
// a button in a column; it says whether the window loaded and quits on a
// timer.

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTimer>
#include <QUrl>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    QQmlApplicationEngine engine;
    engine.load(QUrl("qrc:/main.qml"));
    if (engine.rootObjects().isEmpty())
    {
        std::printf("the window did not load\n");
        return 1;
    }
    std::printf("window loaded: %s\n", qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    QTimer::singleShot(300, &application, &QCoreApplication::quit);
    return application.exec();
}
