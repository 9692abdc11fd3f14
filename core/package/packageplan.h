#ifndef PACKAGEPLAN_H
#define PACKAGEPLAN_H

#include <QString>

#include "libraries/detectionchoices.h"
#include "state/editorstate.h"

// What one packaging run is asked to do: the panels as they stand for the
// run, and where its inputs are.
struct TPackageRequest
{
    TEditorState State;     // stored panels, project file and this run's settings applied
    QString Program;        // the built program to detect the bundle of; empty: the
                            // checked libraries, as already collected
    QString Plugins_Folder; // for detection; empty: that of the program's Qt
    QString Qml_Sources;    // for detection; empty: as the panels name them
    TDetectionChoices Choices;  // for detection, on top of the stored ones
    QString Source;         // the source folder to make the tarball of; empty: the
                            // tarball must be in SOURCES already
    QString Output_Dir;     // where rpmbuild writes the RPM; empty: its own RPMS folder
    QString Repository;     // the repository folder the checked RPM goes into; empty: none
    QString Sign_Key;       // the GnuPG key the RPM is signed with; empty: unsigned
    int Qt_Major = 0;       // the Qt to build against; 0: as detected, else as stored
    QString Qt_Prefix;      // its prefix; empty: as detected, else as stored
};

// The folders and files of the run, as the spec's variables and path
// expressions name them, expanded the way rpmbuild expands them.
struct TPackagePlan
{
    QString Name;
    QString Version;
    QString Release;        // empty when the variables define none
    QString Top;            // %{_topdir}
    QString Tarball;        // SOURCES/<file name of Source>, as rpmbuild looks for it
    QString Shared_Libs;    // the Libraries Path
    QString Desktop_Entry;  // <Desktop Menu Path>/<name>.desktop
    QString Icon;           // <Desktop Menu Path>/<name>.png
    QString Program_Folder; // <Target Install Path>/<name>, on the installed system
    QString Spec() const { return Top + "/SPECS/" + Name + ".spec"; }
    QString Build_Log() const { return Top + "/" + Name + ".build.log"; }
    QString Stamp() const { return Top + "/" + Name + ".package-stamp"; }
    QString Tarball_Folder() const { return Name + "-" + Version; }
};

// Expands the state's variables and path expressions; what rpm alone knows
// (%{_libdir}, %{getenv:HOME}) is asked of "rpm --eval".
TPackagePlan Plan_Package(const TEditorState& state);

// The Libraries Path alone, expanded the same way: the folder the spec takes
// the bundled files from.
QString Expanded_Library_Path(const TEditorState& state);

#endif
