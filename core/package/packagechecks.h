#ifndef PACKAGECHECKS_H
#define PACKAGECHECKS_H

#include <QString>
#include <QStringList>

// What a built package is checked against.
struct TPackageExpectation
{
    QString Program_Folder;  // where the package installs the program
    QString Run_Path;        // the run path every ELF file there must have
};

// The checks of a built package `rpm`: its provides and requires name no
// library it bundles; every ELF file in the program folder has the run path;
// every library those files need is bundled or on the base list (or, as in
// detection, needed only through base-list libraries); its desktop
// entries pass desktop-file-validate when that is installed. One sentence
// per failure; none when the package passed. `notes` gets what was not
// checked and why.
QStringList Package_Check_Failures(const QString& rpm, const TPackageExpectation& expected,
                                   QStringList* notes);

#endif
