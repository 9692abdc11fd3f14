#ifndef PACKAGECHECKS_H
#define PACKAGECHECKS_H

#include <QString>
#include <QStringList>

// What a built package is checked against.
struct TPackageExpectation
{
    QString Program_Folder;  // where the package installs the program
    QString Run_Path;        // the run path every ELF file there must have
    QString Command;         // the command the package puts on PATH
    QStringList Own_Entries; // file names of the program's own desktop entries
};

// The checks of a built package `rpm`: its provides and requires name no
// library it bundles; every ELF file in the program folder has the run path;
// every library those files need is bundled or on the base list (or, as in
// detection, needed only through base-list libraries); the desktop entries
// it puts into the system menu start the command and name an icon it
// installs, and pass desktop-file-validate when that is installed. One
// sentence per failure; none when the package passed. `notes` gets what was
// not checked and why, and what the validators refuse in the program's own
// menu files, which are the program's to fix rather than a reason to fail.
QStringList Package_Check_Failures(const QString& rpm, const TPackageExpectation& expected,
                                   QStringList* notes);

#endif
