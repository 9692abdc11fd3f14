#ifndef INSTALLLAYOUT_H
#define INSTALLLAYOUT_H

#include <QMap>
#include <QString>
#include <QStringList>

#include <vector>

// One file a trial install put down.
struct TInstalledFile
{
    QString Path;     // below the install prefix ("bin/app"); absolute when outside it
    QString Rule;     // the install rule that put it there, when known ("target")
    bool Outside = false;  // at a fixed path outside the prefix
    QString Source;   // the file it was installed from, while the probe runs
};

// What a trial install of the program's own install rules found.
struct TInstallProbe
{
    bool Learned = false;  // the trial install ran; else Why_Not says why
    QString Why_Not;
    QString How;           // how it was learned, for the report
    std::vector<TInstalledFile> Files;
    QMap<QString, QString> Entry_Icons;  // desktop entry (as in Files) -> its Icon=
    QStringList QMake_Assignments;  // "<rule>.path=<folder below the prefix>" given to qmake
    bool CMake = false;
};

// The layout a packaging run uses, learned from the probe.
struct TLearnedLayout
{
    bool Learned = false;
    QString Bin_Below;        // the program's folder below the prefix; "" for the prefix
    QStringList Menu_Files;   // below the prefix: entries, icons and metainfo ("share/...")
    QStringList Problems;     // for the preflight
    QStringList Notes;        // for the report
};

// The folder below the prefix that a file a rule puts at the fixed `folder`
// is given instead, when the rule's path can be set from outside: "bin" for
// the program, the same place below the prefix for a folder below
// "/usr/share" or "/usr/local/share", else "share/<rule>".
QString Relocated_Folder(const QString& folder, const QString& rule);

// Whether `path` (below the prefix) goes into the system menu: a desktop
// entry, an icon of the hicolor theme or pixmaps, or AppStream metainfo.
bool Is_Menu_File(const QString& path);

// The value of `key` in the "[Desktop Entry]" group of `text`; empty when
// there is none.
QString Desktop_Entry_Value(const QString& text, const QString& key);

// Whether `icon`, an Icon= value, names one of the icons in `files` (below
// the prefix, or below the data folder: "share/..." or "icons/...").
bool Names_Installed_Icon(const QString& icon, const QStringList& files);

// The layout from `probe` for the program whose built file is named
// `program`, packaged under the name `name`.
TLearnedLayout Learn_Layout(const TInstallProbe& probe, const QString& program,
                            const QString& name);

#endif
