#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

#include "kestrelvantory.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("fusion"));
    QApplication::setWindowIcon(QIcon(":/icons/kestrelvantory.png"));

    auto* window = new TKestrelvantory(nullptr, Qt::WindowFlags());
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
