#include "spec/spectext.h"

#include <QSet>

#include <algorithm>

#include "libraries/libraryversion.h"
#include "spec/menufiles.h"
#include "spec/programlayout.h"
#include "spec/qtbuildlines.h"
#include "spec/safename.h"
#include "spec/specinputcheck.h"
#include "text/valuelimits.h"

const int Spec_Max_Length = 32 * 1024 * 1024;

namespace
{
const int Name_Column = 40;

int File_Count(const std::vector<TSpecTarget>& targets)
{
    int count = 0;
    for (const TSpecTarget& target : targets)
        count += target.Libraries.size();
    return count;
}

// What the spec lacks to have a library directory, after the words that say
// it lacks one; the first few active targets are named.
QString Library_Directory_Missing(const TSpecInput& input)
{
    const std::size_t named = 5;
    if (input.Targets.empty())
        return " No target is active, so no versioned shared library (such as "
               "\"libQt5Core.so.5\") is installed.";
    QStringList names;
    for (std::size_t index = 0; index < input.Targets.size() && index < named; ++index)
        names.append(QString("\"%1\" (%2 files)")
                         .arg(Shown_Value(input.Targets[index].Name))
                         .arg(input.Targets[index].Libraries.size()));
    if (input.Targets.size() > named)
        names.append(QString("%1 more").arg(input.Targets.size() - named));
    return " No active target holds a versioned shared library (such as \"libQt5Core.so.5\"): " +
           names.join(", ") + ".";
}

bool Is_Qml_Target(const TSpecTarget& target)
{
    return target.Kind == TTypes::Target_Qml_Modules;
}

// Characters other than letters, digits, "_" and "-" are put in brackets:
// "libstdc[+][+][.]so[.]6".
QString Regex_Literal(const QString& name)
{
    QString literal;
    for (const QChar character : name)
    {
        if (character.isLetterOrNumber() || character == '_' || character == '-')
            literal += character;
        else if (character == '^' || character == '\\' || character == ']')
            literal += QString("\\") + character;
        else
            literal += QString("[") + character + "]";
    }
    return literal;
}

bool Has_Versioned_Library(const TSpecTarget& target)
{
    if (Is_Qml_Target(target))
        return false;
    for (const QString& library : target.Libraries)
        if (Versioned_Library(library))
            return true;
    return false;
}

// The base names of the versioned libraries ("libQt5Core"), each once, in
// the order they are installed.
QStringList Versioned_Bases(const std::vector<TSpecTarget>& targets)
{
    QStringList bases;
    QSet<QString> seen;
    for (const TSpecTarget& target : targets)
        for (const QString& library : Is_Qml_Target(target) ? QStringList() : target.Libraries)
        {
            const std::optional<TVersionedLibrary> version = Versioned_Library(library);
            if (version && !seen.contains(version->Base))
            {
                seen.insert(version->Base);
                bases.append(version->Base);
            }
        }
    return bases;
}

// The target of QML modules that qt.conf names; null when there is none.
const TSpecTarget* Qml_Target(const std::vector<TSpecTarget>& targets)
{
    for (const TSpecTarget& target : targets)
        if (Is_Qml_Target(target) && !target.Libraries.isEmpty())
            return &target;
    return nullptr;
}

// Qt 6 reads its QML import folder under another key than Qt 5.
QString Qml_Imports_Key(const std::vector<TSpecTarget>& targets)
{
    const QStringList bases = Versioned_Bases(targets);
    const bool qt6 = std::any_of(bases.begin(), bases.end(),
                                 [](const QString& base) { return base.startsWith("libQt6"); });
    return qt6 ? "QmlImports" : "Qml2Imports";
}

// The other bundled libraries needed under their own name, such as
// "libicuuc.so.72", each once, as regular expressions matching only that
// name. A plug-in ("libqxcb.so") is loaded by path, never needed by name.
QStringList Unversioned_Names(const std::vector<TSpecTarget>& targets)
{
    QStringList names;
    QSet<QString> seen;
    for (const TSpecTarget& target : targets)
        for (const QString& library : Is_Qml_Target(target) ? QStringList() : target.Libraries)
        {
            if (!library.contains(".so.") || Versioned_Library(library))
                continue;
            const QString literal = Regex_Literal(library);
            if (!seen.contains(literal))
            {
                seen.insert(literal);
                names.append(literal);
            }
        }
    return names;
}

// A name that fills the column is still kept apart from its value.
QString Variable_Line(const TSpecVariable& variable)
{
    const QString name = variable.Name.size() < Name_Column
                             ? variable.Name.leftJustified(Name_Column)
                             : variable.Name + " ";
    return name + variable.Value + "\n";
}

// The packager's tag, unless a variable sets it already.
QString Packager_Line(const TSpecInput& input)
{
    const QString packager = input.Packager.simplified();
    if (packager.isEmpty())
        return QString();
    for (const TSpecVariable& variable : input.Variables)
        if (variable.Name.trimmed().compare("Packager:", Qt::CaseInsensitive) == 0)
            return QString();
    return Variable_Line({"Packager:", packager});
}

// Every target and library name ends up in shell commands run as root.
QString Unsafe_Name_Error(const std::vector<TSpecTarget>& targets)
{
    for (const TSpecTarget& target : targets)
    {
        if (!Is_Safe_Name(target.Name))
            return QString("ERR  Target name '%1' is not a plain file name.")
                .arg(Shown_Value(target.Name));
        for (const QString& library : target.Libraries)
        {
            if (Is_Qml_Target(target) && !Is_Safe_Module_Path(library))
                return QString("ERR  QML module '%1' of target '%2' is not a relative path of "
                               "plain file names.")
                    .arg(Shown_Value(library), target.Name);
            if (!Is_Qml_Target(target) && !Is_Safe_Name(library))
                return QString("ERR  Library name '%1' of target '%2' is not a plain file name.")
                    .arg(Shown_Value(library), target.Name);
        }
    }
    return QString();
}

// qt.conf names one QML import folder.
QString Qml_Targets_Error(const std::vector<TSpecTarget>& targets)
{
    const auto count = std::count_if(targets.begin(), targets.end(), [](const TSpecTarget& target) {
        return Is_Qml_Target(target) && !target.Libraries.isEmpty();
    });
    return count > 1 ? "ERR  Only one target of QML modules can be active." : QString();
}

// Writes the sections of one spec file, front to back.
class TSpecComposer
{
public:
    TSpecComposer(const TSpecInput& input, const QString& library_directory)
        : d_input(input),
          d_paths(input.Paths),
          d_layout(input.Paths, input.Generator),
          d_library_directory(library_directory)
    {
    }

    // The whole text; empty when it would grow beyond Spec_Max_Length.
    QString Compose();

private:
    bool Too_Long() const { return d_text.size() > Spec_Max_Length; }
    void Preamble();
    void Private_Libraries();
    void Description_And_Build();
    QString Configure_Line() const;
    QString Make_Install_Line() const;
    void Install();
    void Install_Head();
    void Executable_Run_Path();
    void Library_Installation();
    void Library_Links(const QString& folder, const QString& library);
    void Append(std::initializer_list<QStringView> pieces);
    void Qml_Module_Installation(const TSpecTarget& target, const QString& module);
    void Desktop_Files();
    void Program_Link();
    void Files();
    void Changelog();

    const TSpecInput& d_input;
    const TSpecPaths& d_paths;
    const TProgramLayout d_layout;
    const QString d_library_directory;
    QString d_text;
};

QString TSpecComposer::Compose()
{
    for (void (TSpecComposer::*section)() :
         {&TSpecComposer::Preamble, &TSpecComposer::Private_Libraries,
          &TSpecComposer::Description_And_Build, &TSpecComposer::Install, &TSpecComposer::Files,
          &TSpecComposer::Changelog})
    {
        (this->*section)();
        if (Too_Long())
            return QString();
    }
    return d_text;
}

void TSpecComposer::Preamble()
{
    for (const TSpecVariable& variable : d_input.Variables)
        d_text += Variable_Line(variable);
    d_text += Packager_Line(d_input);
    if (d_input.Requires_Mode == TTypes::Requires_Ignored)
        return;
    for (const QString& package : d_input.Required_Packages)
        d_text += QString("Requires:                               %1\n").arg(package);
}

// The bundled libraries serve this program only: the package neither offers
// them to other packages nor asks the system for them. A versioned library is
// needed under any of its names; any other under its own name only, followed
// by the capability's end or its symbol version. Nor does the package make
// build-id links for them: another package bundling the same Qt files would
// ship the same links, pointing elsewhere, and the two could not be installed
// together.
void TSpecComposer::Private_Libraries()
{
    d_text += QString("%global __provides_exclude_from ^%1/%{name}/.*$\n")
                  .arg(d_paths.Target_Install_Path);
    const QStringList others = Unversioned_Names(d_input.Targets);
    d_text += QString("%global __requires_exclude ^(%1)[.]so%2\n")
                  .arg(Versioned_Bases(d_input.Targets).join('|'),
                       others.isEmpty() ? QString()
                                        : QString("|^(%1)($|[(])").arg(others.join('|')));
    d_text += "%global _build_id_links none\n";
}

void TSpecComposer::Description_And_Build()
{
    d_text += "\n%description\n" + d_input.Description + "\n\n";
    d_text += "%prep\n%setup -q\n\n%build\n\n";
    d_text += Configure_Line();
    d_text += "make %{?_smp_mflags}\n\n";
}

// The build is configured for the program folder it is installed in, so
// that no path compiled in from the prefix points into the build root; the
// build root is named at "make install" only. A Build_Path outside the build
// root is taken as the prefix as it stands. The tools are those of the Qt
// installation chosen.
QString TSpecComposer::Configure_Line() const
{
    QString prefix = d_layout.Configured_Prefix();
    if (prefix.isEmpty())
        prefix = d_paths.Build_Path;
    if (d_input.Generator == TTypes::Generator_QMake)
        return QString("%1 PREFIX=%2%3\n")
            .arg(QMake_Program(d_input.Qt), prefix,
                 QMake_Assignment_Words(prefix, d_input.QMake_Assignments));
    return QString("cmake -DCMAKE_BUILD_TYPE=Release%1 -DCMAKE_INSTALL_PREFIX:PATH=%2 .\n")
        .arg(CMake_Prefix_Option(d_input.Qt), prefix);
}

QString TSpecComposer::Make_Install_Line() const
{
    if (d_layout.Configured_Prefix().isEmpty())
        return "make install\n";
    if (d_input.Generator == TTypes::Generator_QMake)
        return "make install INSTALL_ROOT=%{buildroot}\n";
    return "make install DESTDIR=%{buildroot}\n";
}

void TSpecComposer::Install()
{
    Install_Head();
    Executable_Run_Path();
    Library_Installation();
    Desktop_Files();
    Program_Link();
}

void TSpecComposer::Install_Head()
{
    d_text += "%install\n\n";
    d_text += QString("mkdir -p %1\n").arg(d_paths.Build_Path);
    for (const TSpecTarget& target : d_input.Targets)
        d_text += QString("mkdir -p %1/%2\n").arg(d_paths.Build_Path, target.Name);
    if (!Has_Own_Menu_Entry(d_input.Menu_Files))
    {
        d_text += QString("mkdir -p %{buildroot}%1/applications\n")
                      .arg(d_paths.Target_Desktop_Menu_Path);
        d_text += QString("mkdir -p %{buildroot}%1/pixmaps\n").arg(d_paths.Target_Desktop_Menu_Path);
    }
    d_text += "mkdir -p %{buildroot}%{_bindir}\n";
    d_text += "\n" + Make_Install_Line() + "\n";
}

// The executable stays where "make install" put it, so that whatever it
// finds relative to itself is where it was after "make install". The run
// path finds the bundled libraries; qt.conf beside the executable makes the
// bundled Qt look for its plug-ins in the program folder.
void TSpecComposer::Executable_Run_Path()
{
    const QString& bin_path = d_layout.Bin_Path();
    d_text += QString("patchelf --set-rpath '%1/%{name}/%2' %3/%{name}\n")
                  .arg(d_paths.Target_Install_Path, d_library_directory, bin_path);
    d_text += QString("echo '[Paths]' > %1/qt.conf\n").arg(bin_path);
    d_text += QString("echo 'Prefix = %1' >> %2/qt.conf\n")
                  .arg(d_layout.Prefix_From_Bin(), bin_path);
    d_text += QString("echo 'Plugins = .' >> %1/qt.conf\n").arg(bin_path);
    if (const TSpecTarget* qml = Qml_Target(d_input.Targets))
        d_text += QString("echo '%1 = %2' >> %3/qt.conf\n")
                      .arg(Qml_Imports_Key(d_input.Targets), qml->Name, bin_path);
}

// Every bundled file, library or plug-in, finds its own libraries first.
void TSpecComposer::Library_Installation()
{
    for (const TSpecTarget& target : d_input.Targets)
    {
        d_text += QLatin1Char('\n');
        const QString installed = d_paths.Build_Path + '/' + target.Name;
        for (const QString& library : target.Libraries)
        {
            if (Too_Long())
                return;
            if (Is_Qml_Target(target))
            {
                Qml_Module_Installation(target, library);
                continue;
            }
            // Put together piece by piece: ten thousand libraries make these
            // the spec's bulk.
            Append({u"install ", d_paths.Library_Path, u"/", target.Name, u"/", library, u" ",
                    installed, u"\n"});
            Append({u"patchelf --set-rpath '", d_paths.Target_Install_Path, u"/%{name}/",
                    d_library_directory, u"' ", installed, u"/", library, u"\n"});
            Library_Links(installed, library);
            d_text += QLatin1Char('\n');
        }
    }
}

// A versioned library is found under its shorter names too, through links
// beside it that the package owns, so that RPM removes them with it.
void TSpecComposer::Library_Links(const QString& folder, const QString& library)
{
    const std::optional<TVersionedLibrary> version = Versioned_Library(library);
    if (!version)
        return;
    const QString& base = version->Base;
    const QString major = QString::number(version->Version.Major);
    const QString minor = QString::number(version->Version.Minor);
    for (const QString& suffix :
         {".so." + major + "." + minor, ".so." + major, QString(".so")})
        Append({u"ln -sf ", library, u" ", folder, u"/", base, suffix, u"\n"});
}

void TSpecComposer::Append(std::initializer_list<QStringView> pieces)
{
    for (const QStringView piece : pieces)
        d_text.append(piece);
}

// A module folder is copied with everything below it; its ELF files (the
// plug-ins) find their libraries in the program's library directory, and
// every other file stays as it is.
void TSpecComposer::Qml_Module_Installation(const TSpecTarget& target, const QString& module)
{
    QString parent = d_paths.Build_Path + "/" + target.Name;
    if (module.contains('/'))
        parent += "/" + module.section('/', 0, -2);
    const QString installed = QString("%1/%2/%3").arg(d_paths.Build_Path, target.Name, module);
    d_text += QString("mkdir -p %1\n").arg(parent);
    d_text += QString("cp -R %1/%2/%3 %4/\n").arg(d_paths.Library_Path, target.Name, module, parent);
    d_text += QString("find %1 -type f -exec sh -c 'for f; do case \"$(head -c 4 \"$f\")\" in "
                      "?ELF) patchelf --set-rpath \"$0\" \"$f\" || exit 1;; esac; done' "
                      "'%2/%{name}/%3' {} +\n\n")
                  .arg(installed, d_paths.Target_Install_Path, d_library_directory);
}

// A program with a desktop entry of its own has its menu files moved where
// the system looks for them; any other gets the Desktop Menu Path's entry
// and icon.
void TSpecComposer::Desktop_Files()
{
    if (!d_input.Menu_Files.isEmpty())
        d_text += Menu_File_Installation(d_paths, d_input.Menu_Files);
    if (Has_Own_Menu_Entry(d_input.Menu_Files))
        return;
    d_text += QString("install %1/%{name}.desktop %{buildroot}%2/applications/%{name}.desktop\n")
                  .arg(d_paths.Desktop_Menu_Path, d_paths.Target_Desktop_Menu_Path);
    d_text += QString("install %1/%{name}.png %{buildroot}%2/pixmaps/%{name}.png\n\n")
                  .arg(d_paths.Desktop_Menu_Path, d_paths.Target_Desktop_Menu_Path);
}

// The command users start the program with, owned by the package like
// every other file of it, and relative, so that it also leads to the
// program in a tree installed below another root.
void TSpecComposer::Program_Link()
{
    d_text += QString("ln -sfr %{buildroot}%1/%{name} %{buildroot}%{_bindir}/%{name}\n\n")
                  .arg(d_layout.Installed_Bin_Folder());
}

// The package owns the program's folder, whatever "make install" put there,
// and the links to the program and its libraries: erasing it leaves nothing
// behind, and nothing it holds is another package's file.
void TSpecComposer::Files()
{
    d_text += "%files\n\n%defattr(-,root,root)\n";
    d_text += QString("%1/%{name}\n").arg(d_paths.Target_Install_Path);
    d_text += "%{_bindir}/%{name}\n";
    d_text += "\n%defattr(644,root,root)\n";
    d_text += Menu_File_List(d_paths, d_input.Menu_Files);
    if (!Has_Own_Menu_Entry(d_input.Menu_Files))
    {
        d_text += "%{_datadir}/applications/%{name}.desktop\n";
        d_text += "%{_datadir}/pixmaps/%{name}.png\n";
    }
    d_text += "\n";
}

void TSpecComposer::Changelog()
{
    d_text += "%changelog\n" + d_input.Changes + "\n";
}
}

QString Library_Directory(const std::vector<TSpecTarget>& targets)
{
    QString directory;
    for (const TSpecTarget& target : targets)
        if (Has_Versioned_Library(target))
            directory = target.Name;
    return directory;
}

TSpecText Compose_Spec_Text(const TSpecInput& input)
{
    const QString refused = Spec_Input_Refusal(input);
    if (!refused.isEmpty())
        return {QString(), refused};
    const QString unsafe = Unsafe_Name_Error(input.Targets);
    if (!unsafe.isEmpty())
        return {QString(), unsafe};
    const QString own_error = Own_Files_Error(input);
    if (!own_error.isEmpty())
        return {QString(), own_error};
    const QString qml_error = Qml_Targets_Error(input.Targets);
    if (!qml_error.isEmpty())
        return {QString(), qml_error};
    if (!Is_Plain_Qt_Prefix(input.Qt.Prefix))
        return {QString(), QString("ERR  Qt prefix '%1' is not a plain absolute path.")
                               .arg(Shown_Value(input.Qt.Prefix))};
    const QString library_directory = Library_Directory(input.Targets);
    if (library_directory.isEmpty())
        return {QString(), "ERR  Library path name not found." + Library_Directory_Missing(input)};
    const QString text = TSpecComposer(input, library_directory).Compose();
    if (text.isEmpty())
        return {QString(), QString("ERR  The spec would be longer than %1 characters (%2 files "
                                   "in %3 targets).")
                               .arg(Spec_Max_Length)
                               .arg(File_Count(input.Targets))
                               .arg(input.Targets.size())};
    return {text, QString()};
}
