// A small Qt Widgets program that the end-to-end tests build, package and run
// in an install root without a system Qt. It shows a label, says which
// platform plug-in it got, loads an SVG icon and two images from its
// resources, and quits on a timer. It does not link Qt Svg: the icon and the
// images load only through the plug-ins Qt finds at run time.

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QTimer>

#include <cstdio>

namespace
{
// "<width>x<height>", or what went wrong.
QString Read_Image(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        return "unreadable (" + reader.errorString() + ")";
    return QString("%1x%2").arg(image.width()).arg(image.height());
}
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QLabel label("A program that carries its own Qt");
    // The icon file is 16x16; only the SVG icon engine draws it at 64x64.
    const QPixmap icon = QIcon(":/icon.svg").pixmap(64, 64);
    label.setPixmap(icon);
    label.show();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("icon: %dx%d\n", icon.width(), icon.height());
    std::printf("jpeg: %s\n", qPrintable(Read_Image(":/picture.jpg")));
    std::printf("gif: %s\n", qPrintable(Read_Image(":/picture.gif")));
    std::fflush(stdout);
    QTimer::singleShot(300, &application, &QCoreApplication::quit);
    return application.exec();
}
