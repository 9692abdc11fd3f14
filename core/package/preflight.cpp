#include "package/preflight.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "spec/qtbuildlines.h"

namespace
{
QString Quoted(const QString& text)
{
    return "\"" + text + "\"";
}

void Check_Tarball(const TPackageRequest& request, const TPackagePlan& plan,
                   QStringList* problems)
{
    if (plan.Tarball.isEmpty())
        problems->append("the variables give no \"Source:\" tarball");
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
            const QString file = plan.Shared_Libs + "/" + target.Name + "/" + library;
            if (!QFileInfo(file).isFile())
                problems->append("the checked library " + Quoted(target.Name + "/" + library) +
                                 " is not in the shared-libraries folder: " + Quoted(file) +
                                 " does not exist");
        }
}

void Check_Desktop_Files(const TPackagePlan& plan, QStringList* problems)
{
    for (const QString& file : {plan.Desktop_Entry, plan.Icon})
        if (!QFileInfo(file).isFile())
            problems->append("the spec installs " + Quoted(file) + ", which does not exist");
}

void Check_Names(const TPackagePlan& plan, QStringList* problems)
{
    static const QRegularExpression blank("\\s");
    if (plan.Name.isEmpty() || plan.Name.contains(blank) || plan.Name.contains('%'))
        problems->append("the name " + Quoted(plan.Name) + " makes no valid RPM name");
    if (plan.Version.isEmpty() || plan.Version.contains(blank) || plan.Version.contains('-') ||
        plan.Version.contains('%'))
        problems->append("the version " + Quoted(plan.Version) +
                         " makes no valid RPM version (no spaces, no \"-\")");
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
                               const TEditorState& spec_state)
{
    QStringList problems;
    Check_Names(plan, &problems);
    Check_Tarball(request, plan, &problems);
    Check_Collected(request, plan, spec_state, &problems);
    Check_Desktop_Files(plan, &problems);
    Check_Tools(spec_state, &problems);
    Check_Generator(request, &problems);
    return problems;
}
