// Shows a window, says on which platform, and ends.
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QWindow window;
    window.resize(64, 48);
    window.show();
    QTimer::singleShot(100, &app, [&app] {
        std::printf("window shown: %s\n", qPrintable(QGuiApplication::platformName()));
        app.quit();
    });
    return app.exec();
}
