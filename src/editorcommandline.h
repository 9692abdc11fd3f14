#ifndef EDITORCOMMANDLINE_H
#define EDITORCOMMANDLINE_H

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The editor's own options, read before any window system is opened so that
// "--help" and "--version" answer without a display.
class TEditorCommandLine
{
public:
    enum TRequest
    {
        Run_Editor,
        Show_Help,
        Show_Version,
        Wrong_Usage
    };

    TEditorCommandLine();

    // `arguments` includes the program name.
    TRequest Parse(const QStringList& arguments);

    QString Data_Folder() const;  // empty: the per-user default
    QString Platform() const;     // as given with -platform, else empty
    QString Error() const { return d_error; }
    // Needs a QCoreApplication.
    QString Help_Text() const { return d_parser.helpText(); }

private:
    QCommandLineParser d_parser;
    QCommandLineOption d_data_folder;
    QCommandLineOption d_platform;
    QString d_error;
};

// Whether the window system Qt would use can be reached: the platform named
// by `platform` or QT_QPA_PLATFORM, else X11 or Wayland as announced by
// DISPLAY or WAYLAND_DISPLAY.
bool Display_Available(const QString& platform);

// What the editor says when started without a display; `program` as called.
QString No_Display_Text(const QString& program);

#endif
