#include "package/preflight.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "package/installlayout.h"
#include "package/repository.h"
#include "package/signingkey.h"
#include "spec/menufiles.h"
#include "spec/qtbuildlines.h"
#include "spec/rpmfields.h"
#include "spec/specinputcheck.h"
#include "text/valuelimits.h"

namespace
{
QString Quoted(const QString& text)
{
    return "\"" + Shown_Value(text) + "\"";
}

void Check_Tarball(const TPackageRequest& request, const TPackagePlan& plan,
                   QStringList* problems)
{
    const QString file_name = plan.Tarball.section('/', -1);
    if (plan.Tarball.isEmpty())
        problems->append("the variables give no \"Source:\" tarball");
    else if (file_name.isEmpty() || file_name == "." || file_name == ".." ||
             Has_Control_Character(file_name))
        problems->append("the \"Source:\" tarball " + Quoted(plan.Tarball) +
                         " names no file in the SOURCES folder");
    else if (!request.Source.isEmpty() && !QFileInfo(request.Source).isDir())
        problems->append("the source folder " + Quoted(request.Source) + " does not exist");
    else if (request.Source.isEmpty() && !QFileInfo(plan.Tarball).isFile())
    {
        // The folder is made, so that only the tarball has to be put there.
        QDir().mkpath(QFileInfo(plan.Tarball).path());
        problems->append("the source tarball " + Quoted(plan.Tarball) +
                         " does not exist and no --source was given");
    }
}

// The path with every link of its existing beginning resolved, so that two
// names of one folder compare equal.
QString Resolved_Path(const QString& path)
{
    QString existing = QDir::cleanPath(QDir(path).absolutePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != "/")
    {
        rest = "/" + QFileInfo(existing).fileName() + rest;
        existing = QFileInfo(existing).path();
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

// The tarball of a source folder holding %{_topdir} would take in the build's
// own files, the tarball being written among them.
void Check_Top_Outside_Source(const TPackageRequest& request, const TPackagePlan& plan,
                              QStringList* problems)
{
    if (request.Source.isEmpty() || plan.Top.isEmpty() || !QFileInfo(request.Source).isDir())
        return;
    const QString source = Resolved_Path(request.Source);
    const QString top = Resolved_Path(plan.Top);
    if (top == source || top.startsWith(source == "/" ? source : source + "/"))
        problems->append("%{_topdir} " + Quoted(plan.Top) + " is inside the source folder " +
                         Quoted(request.Source) +
                         ", whose tarball would take in the build's own files");
}

// Without a program to collect from, the shared-libraries folder must hold
// every file the spec installs.
void Check_Collected(const TPackageRequest& request, const TPackagePlan& plan,
                     const TEditorState& spec_state, QStringList* problems)
{
    if (!request.Program.isEmpty())
        return;
    for (const TSpecTarget& target : Active_Spec_Targets(spec_state))
        for (const QString& library : target.Libraries)
        {
            // A QML module is a folder, copied whole.
            const QString file = plan.Shared_Libs + "/" + target.Name + "/" + library;
            const QFileInfo info(file);
            if (target.Kind == TTypes::Target_Qml_Modules ? !info.isDir() : !info.isFile())
                problems->append("the checked library " + Quoted(target.Name + "/" + library) +
                                 " is not in the shared-libraries folder: " + Quoted(file) +
                                 " does not exist");
        }
}

// The entry of the Desktop Menu Path names an icon the package installs:
// its own beside it, or one the program installs.
void Check_Desktop_Files(const TPackagePlan& plan, const QStringList& menu_files,
                         QStringList* problems)
{
    if (Has_Own_Menu_Entry(menu_files))
        return;
    // What to make is told, as a first package is where these are missing.
    if (!QFileInfo(plan.Desktop_Entry).isFile())
        problems->append("the spec installs " + Quoted(plan.Desktop_Entry) +
                         ", which does not exist: make the program's menu entry there, a text "
                         "file with the lines \"[Desktop Entry]\", \"Type=Application\", "
                         "\"Name=<the program's title>\", \"Exec=" + plan.Name +
                         "\" and \"Icon=" + plan.Name + "\"");
    if (!QFileInfo(plan.Icon).isFile())
        problems->append("the spec installs " + Quoted(plan.Icon) +
                         ", which does not exist: save the program's icon there as a PNG "
                         "image, for example of 64 x 64 pixels");
    QFile entry(plan.Desktop_Entry);
    if (!entry.open(QIODevice::ReadOnly))
        return;
    const QString icon = Desktop_Entry_Value(QString::fromUtf8(entry.readAll()), "Icon");
    const QStringList icons = menu_files + QStringList{"share/pixmaps/" + plan.Name + ".png"};
    if (!icon.isEmpty() && icon != plan.Name && !Names_Installed_Icon(icon, icons))
        problems->append(QString("the desktop entry %1 names the icon \"%2\" (Icon=%2), but the "
                                 "icon the package installs is %3; set Icon=%4")
                             .arg(Quoted(plan.Desktop_Entry), icon, Quoted(plan.Icon), plan.Name));
}

// They name the spec, the build log and the tarball's folder, so nothing is
// written before they pass.
void Check_Names(const TPackagePlan& plan, QStringList* problems)
{
    struct TField
    {
        const char* Label;
        QString Value;
        QString Problem;
    };
    const TField fields[] = {
        {"name", plan.Name, Rpm_Name_Problem(plan.Name)},
        {"version", plan.Version, Rpm_Version_Problem(plan.Version)},
        {"release", plan.Release,
         plan.Release.isEmpty() ? QString() : Rpm_Version_Problem(plan.Release)}};
    for (const TField& field : fields)
        if (!field.Problem.isEmpty())
            problems->append(QString("the %1 %2 makes no valid RPM %1: it %3")
                                 .arg(field.Label, Quoted(field.Value), field.Problem));
}

// What the spec writer would refuse is told before anything is made.
void Check_Spec_Input(const TEditorState& spec_state, QStringList* problems)
{
    QString refusal = Spec_Input_Refusal(Spec_Input(spec_state, {}));
    if (refusal.isEmpty())
        return;
    if (refusal.startsWith("ERR  "))
        refusal = refusal.mid(5);
    refusal[0] = refusal.at(0).toLower();
    if (refusal.endsWith('.'))
        refusal.chop(1);
    problems->append(refusal);
}

bool On_Path(const QString& program)
{
    if (program.startsWith('/'))
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

void Check_Tools(const TEditorState& state, QStringList* problems)
{
    const QString make_tool = state.Options.Generator == TTypes::Generator_CMake
                                  ? QString("cmake")
                                  : QMake_Program(state.Options.Qt);
    for (const QString& tool : {QString("rpmbuild"), QString("patchelf"), make_tool})
        if (!On_Path(tool))
            problems->append(Quoted(tool) + " is not on PATH");
}

// The source folder's own build system must be the generator the spec runs.
void Check_Generator(const TPackageRequest& request, QStringList* problems)
{
    const QDir source(request.Source);
    if (request.Source.isEmpty() || !source.exists())
        return;
    const bool cmake = source.exists("CMakeLists.txt");
    const bool qmake = !source.entryList({"*.pro"}, QDir::Files).isEmpty();
    const TTypes::TOptionMakeGenerator generator = request.State.Options.Generator;
    if (cmake && !qmake && generator == TTypes::Generator_QMake)
        problems->append("the source folder has a CMakeLists.txt and no .pro file, but the "
                         "spec is \"Using QMake\"");
    else if (qmake && !cmake && generator == TTypes::Generator_CMake)
        problems->append("the source folder has a .pro file and no CMakeLists.txt, but the "
                         "spec is \"Using CMake\"");
}
}

QStringList Preflight_Problems(const TPackageRequest& request, const TPackagePlan& plan,
                               const TEditorState& spec_state, const QStringList& menu_files)
{
    QStringList problems;
    Check_Names(plan, &problems);
    Check_Spec_Input(spec_state, &problems);
    Check_Tarball(request, plan, &problems);
    Check_Top_Outside_Source(request, plan, &problems);
    Check_Collected(request, plan, spec_state, &problems);
    Check_Desktop_Files(plan, menu_files, &problems);
    Check_Tools(spec_state, &problems);
    Check_Generator(request, &problems);
    if (!request.Repository.isEmpty())
        problems += Repository_Problems(request.Repository);
    if (!request.Sign_Key.isEmpty())
        problems += TSigningKey(request.Sign_Key).Problems();
    return problems;
}
