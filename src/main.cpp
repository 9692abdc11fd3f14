#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

#include "applicationicon.h"
#include "editorcommandline.h"
#include "kestrelvantory.h"

namespace
{
QStringList Raw_Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Help, version and wrong usage need no window system, only the
// application's name for the help text.
int Answer(const TEditorCommandLine& command_line, TEditorCommandLine::TRequest request,
           int argc, char** argv)
{
    const QCoreApplication application(argc, argv);
    switch (request)
    {
    case TEditorCommandLine::Show_Help:
        Print(stdout, command_line.Help_Text());
        return 0;
    case TEditorCommandLine::Show_Version:
        Print(stdout, QString("kestrelvantory %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    default:
        Print(stderr, QString("kestrelvantory: %1\n\n%2").arg(command_line.Error(),
                                                               command_line.Help_Text()));
        return 2;
    }
}

int Run_Editor(const TEditorCommandLine& command_line, int argc, char** argv)
{
    QApplication application(argc, argv);
    QGuiApplication::setApplicationDisplayName("Kestrelvantory");
    QApplication::setStyle(QStyleFactory::create("fusion"));
    QApplication::setWindowIcon(Application_Icon());

    auto* window = new TKestrelvantory(nullptr, Qt::WindowFlags(), command_line.Data_Folder());
    window->show();
    const int result = application.exec();
    delete window;
    return result;
}
}

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName("kestrelvantory");
    QCoreApplication::setApplicationVersion("1.0");
    QGuiApplication::setDesktopFileName("kestrelvantory");

    TEditorCommandLine command_line;
    const TEditorCommandLine::TRequest request = command_line.Parse(Raw_Arguments(argc, argv));
    if (request != TEditorCommandLine::Run_Editor)
        return Answer(command_line, request, argc, argv);
    if (!Display_Available(command_line.Platform()))
    {
        Print(stderr, No_Display_Text(QString::fromLocal8Bit(argv[0])));
        return 1;
    }
    return Run_Editor(command_line, argc, argv);
}
