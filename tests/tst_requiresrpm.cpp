#include <QLibraryInfo>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

#include "scan/packageoutput.h"
#include "process/programrun.h"
#include "scan/requirelist.h"
#include "scan/requirementscan.h"
#include "requireswidget.h"
#include "testsupport.h"

#include <map>

namespace
{
struct TCommand
{
    bool Succeeded;
    QString Output;  // standard output and error together
};

TCommand Run_Command(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromUtf8(process.readAll())};
}

// The resolved path of each library that the real "ldd" lists for `file`,
// by library name.
std::map<QString, QString> Resolved_Libraries(const QString& file)
{
    std::map<QString, QString> libraries;
    for (const QString& line : Run_Command("ldd", {file}).Output.split('\n'))
    {
        const int arrow = line.indexOf(" => ");
        const int address = line.lastIndexOf(" (");
        if (arrow >= 0 && address > arrow)
            libraries[line.left(arrow).trimmed()] = line.mid(arrow + 4, address - arrow - 4);
    }
    return libraries;
}

QString Owned_Files(const QStringList& paths)
{
    return paths.join('\n') + "\n";
}

struct TSequentialScan
{
    TRequireEntries Entries;
    QStringList Unowned;  // libraries no package owns, each once, in order of discovery
};

// The scan done the straightforward way: "ldd" for each file in folder
// order, "rpm" for each library not recorded yet, a library that no package
// owns passed over.
TSequentialScan Sequential_Scan(const QString& shared, const QStringList& targets)
{
    static const QRegularExpression dependency("^.+ => (.+) \\(");
    TSequentialScan scan;
    for (const QString& target : QDir(shared).entryList(QDir::AllDirs | QDir::NoDotAndDotDot))
    {
        if (!targets.contains(target))
            continue;
        const QDir folder(shared + "/" + target);
        for (const QString& file : folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        {
            for (const QString& line :
                 Run_Command("ldd", {folder.filePath(file)}).Output.split('\n'))
            {
                const QString library = dependency.match(line).captured(1).trimmed();
                if (library.isEmpty() || library.contains("libQt5") ||
                    Has_Library(scan.Entries, library))
                    continue;
                const TProgramRun query =
                    Run_Program("rpm", {"-q", "--whatprovides", library}, 60000);
                const QString package = Providing_Package(query.Output);
                if (query.Outcome == TProgramRun::Succeeded && !package.isEmpty())
                    Add_Library(scan.Entries, package, library);
                else if (query.Outcome != TProgramRun::Succeeded && !scan.Unowned.contains(library))
                    scan.Unowned.append(library);
            }
        }
    }
    return scan;
}

QStringList Entry_Lines(const TRequireEntries& entries)
{
    QStringList lines;
    for (const TRequireEntry& entry : entries)
        lines.append(entry.Package + ": " + entry.Libraries.join(", "));
    return lines;
}
}

// Runs the real "ldd" and "rpm" over real libraries, against an RPM database
// built here whose packages own some of the libraries those files load.
class TRequiresRpmTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scanNamesTheOwningPackages();
    void scanEqualsTheSequentialOne();

private:
    void Build_Package_Database(const QString& spec);
    QString Package_Spec() const;

    Test::TFreshHome d_home;
    std::map<QString, QString> d_paths;  // library name -> path that ldd resolves
    QString d_qt_xml;
    QString d_png;
    QString d_jpeg_plugin;
};

void TRequiresRpmTest::initTestCase()
{
    const QString qt_libraries = QLibraryInfo::location(QLibraryInfo::LibrariesPath);
    d_qt_xml = qt_libraries + "/libQt5Xml.so.5";
    const auto gui_libraries = Resolved_Libraries(qt_libraries + "/libQt5Gui.so.5");
    QVERIFY2(gui_libraries.count("libpng16.so.16"), "the PNG library was not found");
    d_png = gui_libraries.at("libpng16.so.16");

    d_jpeg_plugin = QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/imageformats/libqjpeg.so";
    d_paths = Resolved_Libraries(d_png);
    for (const QString& file : {d_qt_xml, d_jpeg_plugin})
    {
        const auto libraries = Resolved_Libraries(file);
        d_paths.insert(libraries.begin(), libraries.end());
    }
    for (const char* name : {"libc.so.6", "libm.so.6", "libz.so.1", "libstdc++.so.6",
                             "libQt5Core.so.5", "libgcc_s.so.1", "libjpeg.so.62"})
        QVERIFY2(d_paths.count(name), name);

    Test::Write_File(d_home.Path() + "/.rpmmacros",
                     QString("%_dbpath %1/rpmdb\n%_topdir %1/rpmbuild\n")
                         .arg(d_home.Path())
                         .toUtf8());
    Build_Package_Database(Package_Spec());
}

QString TRequiresRpmTest::Package_Spec() const
{
    const QStringList glibc = {d_paths.at("libc.so.6"), d_paths.at("libm.so.6")};
    const QStringList zlib = {d_paths.at("libz.so.1")};
    const QStringList stdcxx = {d_paths.at("libstdc++.so.6")};
    const QStringList qt = {d_paths.at("libQt5Core.so.5")};
    const QStringList gcc = {d_paths.at("libgcc_s.so.1")};
    const QStringList jpeg = {d_paths.at("libjpeg.so.62")};
    const QStringList all = glibc + zlib + stdcxx + qt + gcc + jpeg;

    QString spec =
        "Name: glibc\nVersion: 2.36\nRelease: 9\nSummary: C library\nLicense: none\n"
        "BuildArch: noarch\nAutoReqProv: no\n"
        "%global debug_package %{nil}\n%global __os_install_post %{nil}\n"
        "%description\nC library.\n";
    for (const char* package : {"zlib1g", "libstdc++6", "libqt5core5a", "libgcc1", "libjpeg62"})
        spec += QString("%package -n %1\nVersion: 1.2.13\nRelease: 1\nSummary: %1\n"
                        "%description -n %1\n%1.\n")
                    .arg(package);
    spec += "%install\nfor f in " + all.join(' ') +
            "; do mkdir -p %{buildroot}$(dirname $f); touch %{buildroot}$f; done\n";
    spec += "%files\n" + Owned_Files(glibc);
    spec += "%files -n zlib1g\n" + Owned_Files(zlib);
    spec += "%files -n libstdc++6\n" + Owned_Files(stdcxx);
    spec += "%files -n libqt5core5a\n" + Owned_Files(qt);
    spec += "%files -n libgcc1\n" + Owned_Files(gcc);
    spec += "%files -n libjpeg62\n" + Owned_Files(jpeg);
    return spec;
}

void TRequiresRpmTest::Build_Package_Database(const QString& spec)
{
    const QString spec_path = d_home.Path() + "/requires-test.spec";
    Test::Write_File(spec_path, spec.toUtf8());
    const TCommand build = Run_Command("rpmbuild", {"-bb", "--quiet", spec_path});
    QVERIFY2(build.Succeeded, qPrintable(build.Output));

    QStringList packages;
    QDirIterator found(d_home.Path() + "/rpmbuild/RPMS", {"*.rpm"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (found.hasNext())
        packages.append(found.next());
    QCOMPARE(packages.size(), 6);

    const TCommand install = Run_Command("rpm", QStringList({"-i", "--justdb", "--nodeps"}) +
                                                    packages);
    QVERIFY2(install.Succeeded, qPrintable(install.Output));
}

void TRequiresRpmTest::scanNamesTheOwningPackages()
{
    QTemporaryDir shared;
    QVERIFY(QDir(shared.path()).mkpath("app"));
    QVERIFY(QDir(shared.path()).mkpath("unused"));
    QVERIFY(QFile::copy(d_png, shared.filePath("app/libpng16.so.16")));
    QVERIFY(QFile::copy(d_qt_xml, shared.filePath("app/libQt5Xml.so.5")));
    QVERIFY(QFile::copy(d_qt_xml, shared.filePath("unused/libQt5Xml.so.5")));

    TRequiresWidget panel(nullptr, Qt::WindowFlags());
    panel.d_shared_libs_path = shared.path();
    QSignalSpy status(&panel, &TRequiresWidget::Status_Message);
    panel.Refresh_Required_Packages({"app"});
    QVERIFY(panel.Wait_For_Scan());

    // The PNG library brings libz; the Qt library brings libstdc++ and,
    // past libraries that no package here owns, libgcc_s.
    QCOMPARE(panel.Required_Packages(), QStringList({"zlib1g", "libstdc++6", "libgcc1"}));
    QStringList rows;
    const auto* tree = panel.findChild<QTreeWidget*>();
    for (int top = 0; top < tree->topLevelItemCount(); ++top)
        rows.append(tree->topLevelItem(top)->text(0) + " | " + tree->topLevelItem(top)->text(1) +
                    " | " + QString::number(tree->topLevelItem(top)->childCount()));
    QCOMPARE(rows, QStringList({"libgcc1 | " + d_paths.at("libgcc_s.so.1") + " | 0",
                                "libstdc++6 | " + d_paths.at("libstdc++.so.6") + " | 0",
                                "zlib1g | " + d_paths.at("libz.so.1") + " | 0"}));
    QVERIFY2(status.last().at(0).toString().startsWith(
                 "Requirements: 3 packages found. No installed package provides "),
             qPrintable(status.last().at(0).toString()));
    QVERIFY(status.last().at(0).toString().contains(d_paths.at("libdouble-conversion.so.3")));
}

// Three target folders, an unowned library in the middle of a file, and
// libraries shared between files: the same entries, libraries included, and
// the same unowned libraries as the straightforward scan.
void TRequiresRpmTest::scanEqualsTheSequentialOne()
{
    QTemporaryDir shared;
    for (const char* folder : {"app", "plugins", "unused"})
        QVERIFY(QDir(shared.path()).mkpath(folder));
    QVERIFY(QFile::copy(d_png, shared.filePath("app/libpng16.so.16")));
    QVERIFY(QFile::copy(d_qt_xml, shared.filePath("app/libQt5Xml.so.5")));
    QVERIFY(QFile::copy(d_jpeg_plugin, shared.filePath("plugins/libqjpeg.so")));
    QVERIFY(QFile::copy(d_qt_xml, shared.filePath("plugins/libQt5Xml.so.5")));
    QVERIFY(QFile::copy(d_png, shared.filePath("unused/libpng16.so.16")));
    const QStringList targets = {"plugins", "app"};

    const TSequentialScan expected = Sequential_Scan(shared.path(), targets);
    TRequirementScan scan(TRequirementScan::Default_Wait_Ms);
    scan.Scan(shared.path(), targets);

    QCOMPARE(Entry_Lines(scan.Entries()), Entry_Lines(expected.Entries));
    QCOMPARE(Package_Names(scan.Entries()),
             QStringList({"zlib1g", "libstdc++6", "libgcc1", "libjpeg62"}));
    QCOMPARE(scan.Report().Unprovided_Libraries, expected.Unowned);
    QVERIFY(expected.Unowned.contains(d_paths.at("libdouble-conversion.so.3")));
    QCOMPARE(Scan_Problems(scan.Report()), QString());
}

QTEST_MAIN(TRequiresRpmTest)
#include "tst_requiresrpm.moc"
