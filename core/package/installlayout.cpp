#include "package/installlayout.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace
{
const QStringList Icon_Suffixes = {"png", "svg", "svgz", "xpm"};

QString Quoted(const QString& text)
{
    return "\"" + text + "\"";
}

QString Folder_Of(const QString& path)
{
    const int slash = path.lastIndexOf('/');
    return slash < 0 ? QString() : path.left(slash);
}

// "share/icons/hicolor/48x48/apps/app.png" and the like.
bool Is_Theme_Icon(const QString& path)
{
    static const QRegularExpression icon("^share/icons/hicolor/[^/]+/[^/]+/[^/]+$");
    return icon.match(path).hasMatch();
}

bool Is_Desktop_Entry(const QString& path)
{
    return path.startsWith("share/applications/") && path.endsWith(".desktop");
}

void Add_Outside_Problems(const TInstallProbe& probe, QStringList* problems)
{
    QSet<QString> told;
    for (const TInstalledFile& file : probe.Files)
    {
        const QString folder = Folder_Of(file.Path);
        if (!file.Outside || told.contains(file.Rule + folder))
            continue;
        told.insert(file.Rule + folder);
        if (probe.CMake)
            problems->append(QString("the program's CMake install rules put %1 into the fixed path "
                                     "%2, outside the install prefix, where the package cannot "
                                     "take it; give that install() a DESTINATION relative to the "
                                     "prefix (such as \"bin\" or \"${CMAKE_INSTALL_BINDIR}\")")
                                 .arg(Quoted(QFileInfo(file.Path).fileName()), Quoted(folder)));
        else
            problems->append(
                QString("the program's install rule %1 puts %2 into the fixed path %3, outside the "
                        "install prefix, where the package cannot take it; in the project file set "
                        "the path below PREFIX (\"%4.path = $$PREFIX/%5\"), or only when it is "
                        "empty (\"isEmpty(%4.path): %4.path = %6\"), so that the package can set it")
                    .arg(Quoted(file.Rule.isEmpty() ? QString("(unnamed)") : file.Rule),
                         Quoted(QFileInfo(file.Path).fileName()), Quoted(folder),
                         file.Rule.isEmpty() ? QString("target") : file.Rule,
                         Relocated_Folder(folder, file.Rule), folder));
    }
}

// Where the program itself is installed; -1 when nowhere below the prefix.
int Program_Index(const TInstallProbe& probe, const QString& program)
{
    for (size_t index = 0; index < probe.Files.size(); ++index)
        if (!probe.Files[index].Outside &&
            QFileInfo(probe.Files[index].Path).fileName() == program)
            return int(index);
    return -1;
}

// The other files below the prefix, counted by their first two folders:
// "share/doc (1 file), share/app/translations (3 files)".
QString Other_Files(const TInstallProbe& probe, const QStringList& menu_files, int program)
{
    QStringList folders;
    QMap<QString, int> counts;
    for (size_t index = 0; index < probe.Files.size(); ++index)
    {
        const QString& path = probe.Files[index].Path;
        if (probe.Files[index].Outside || int(index) == program || menu_files.contains(path))
            continue;
        const QString folder = Folder_Of(path).section('/', 0, 1);
        const QString shown = folder.isEmpty() ? QString("<prefix>") : folder;
        if (!counts.contains(shown))
            folders.append(shown);
        ++counts[shown];
    }
    QStringList parts;
    for (const QString& folder : folders)
        parts.append(QString("%1 (%2 file%3)")
                         .arg(folder)
                         .arg(counts[folder])
                         .arg(counts[folder] == 1 ? "" : "s"));
    return parts.join(", ");
}

void Check_Entry_Icons(const TInstallProbe& probe, const QStringList& menu_files,
                       QStringList* problems)
{
    QStringList icons;
    for (const QString& file : menu_files)
        if (Is_Theme_Icon(file) || file.startsWith("share/pixmaps/"))
            icons.append(QFileInfo(file).completeBaseName());
    for (auto entry = probe.Entry_Icons.begin(); entry != probe.Entry_Icons.end(); ++entry)
    {
        if (entry.value().isEmpty() || Names_Installed_Icon(entry.value(), menu_files))
            continue;
        problems->append(
            QString("the program's desktop entry %1 names the icon %2 (Icon=%2), which the "
                    "program does not install; install an icon of that name into "
                    "share/icons/hicolor/<size>/apps (such as \"%2.png\" or \"%2.svg\"), or "
                    "name one the program installs in Icon=%3")
                .arg(Quoted(entry.key()), entry.value(),
                     icons.isEmpty() ? QString(" (it installs none)")
                                     : " (" + icons.join(", ") + ")"));
    }
}
}

QString Relocated_Folder(const QString& folder, const QString& rule)
{
    if (rule == "target" || folder.endsWith("/bin") || folder == "/bin")
        return "bin";
    for (const QString& share : {QString("/usr/share/"), QString("/usr/local/share/")})
        if (folder.startsWith(share))
            return "share/" + folder.mid(share.size());
    return "share/" + (rule.isEmpty() ? QFileInfo(folder).fileName() : rule);
}

bool Is_Menu_File(const QString& path)
{
    if (Is_Desktop_Entry(path) || Is_Theme_Icon(path))
        return true;
    const bool pixmap = path.startsWith("share/pixmaps/") && path.count('/') == 2;
    const bool metainfo = (path.startsWith("share/metainfo/") || path.startsWith("share/appdata/")) &&
                          path.endsWith(".xml") && path.count('/') == 2;
    return pixmap || metainfo;
}

QString Desktop_Entry_Value(const QString& text, const QString& key)
{
    bool in_entry = false;
    for (const QString& raw : text.split('\n'))
    {
        const QString line = raw.trimmed();
        if (line.startsWith('['))
            in_entry = line == "[Desktop Entry]";
        else if (in_entry && line.section('=', 0, 0).trimmed() == key && line.contains('='))
            return line.section('=', 1).trimmed();
    }
    return QString();
}

bool Names_Installed_Icon(const QString& icon, const QStringList& files)
{
    if (icon.isEmpty() || icon.contains('/'))
        return false;
    for (QString file : files)
    {
        if (file.startsWith("share/"))
            file = file.mid(6);
        const QFileInfo info(file);
        const bool themed = file.startsWith("icons/hicolor/") && file.count('/') == 4;
        const bool pixmap = file.startsWith("pixmaps/") && file.count('/') == 1;
        if (!themed && !pixmap)
            continue;
        const QString suffix = info.suffix().toLower();
        const bool named = info.completeBaseName() == icon && Icon_Suffixes.contains(suffix);
        // An Icon= value with its suffix still finds the file it names.
        if (named || (pixmap && info.fileName() == icon))
            return true;
    }
    return false;
}

TLearnedLayout Learn_Layout(const TInstallProbe& probe, const QString& program,
                            const QString& name)
{
    TLearnedLayout layout;
    if (!probe.Learned)
    {
        layout.Notes.append("the install layout was not learned (" + probe.Why_Not +
                            "); the path expressions are used as they stand");
        return layout;
    }
    layout.Learned = true;
    Add_Outside_Problems(probe, &layout.Problems);
    const int found = Program_Index(probe, program);
    if (found < 0)
    {
        if (layout.Problems.isEmpty())
            layout.Problems.append(
                QString("the program's install rules do not install %1, so the package would not "
                        "hold it; add an install rule for it (qmake: \"target.path = $$PREFIX/bin\" "
                        "and \"INSTALLS += target\"; CMake: \"install(TARGETS %2)\")")
                    .arg(Quoted(program), program));
        return layout;
    }
    layout.Bin_Below = Folder_Of(probe.Files[size_t(found)].Path);
    if (program != name)
        layout.Problems.append(QString("the program is installed as %1, but the spec's name is %2, "
                                       "and the spec starts the program by its name; set the name "
                                       "to %3 (--set \"%define name=%3\")")
                                   .arg(Quoted(probe.Files[size_t(found)].Path), Quoted(name),
                                        program));
    for (const TInstalledFile& file : probe.Files)
        if (!file.Outside && Is_Menu_File(file.Path))
            layout.Menu_Files.append(file.Path);
    Check_Entry_Icons(probe, layout.Menu_Files, &layout.Problems);
    layout.Notes.append(QString("the program's own install rules put it into %1 (learned %2)")
                            .arg(layout.Bin_Below.isEmpty() ? QString("the install prefix itself")
                                                            : "<prefix>/" + layout.Bin_Below,
                                 probe.How));
    if (!layout.Menu_Files.isEmpty())
        layout.Notes.append("the program's own menu files go where the system looks for them: " +
                            layout.Menu_Files.join(", "));
    const QString besides = Other_Files(probe, layout.Menu_Files, found);
    if (!besides.isEmpty())
        layout.Notes.append("besides the program and its menu files it installs " + besides +
                            ", all kept in the program folder");
    return layout;
}
