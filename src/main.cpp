#include <QApplication>
#include <QStyleFactory>

#include "applicationicon.h"
#include "kestrelvantory.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create("fusion"));
    QApplication::setWindowIcon(Application_Icon());

    auto* window = new TKestrelvantory(nullptr, Qt::WindowFlags());
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
