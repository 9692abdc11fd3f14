#include <QLibraryInfo>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

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
}

// Runs the real "ldd" and "rpm" over real libraries, against an RPM database
// built here that knows four packages owning the libraries those files load.
class TRequiresRpmTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void scanNamesTheOwningPackages();

private:
    void Build_Package_Database(const QString& spec);
    QString Package_Spec() const;

    Test::TFreshHome d_home;
    std::map<QString, QString> d_paths;  // library name -> path that ldd resolves
    QString d_qt_xml;
    QString d_png;
};

void TRequiresRpmTest::initTestCase()
{
    const QString qt_libraries = QLibraryInfo::location(QLibraryInfo::LibrariesPath);
    d_qt_xml = qt_libraries + "/libQt5Xml.so.5";
    const auto gui_libraries = Resolved_Libraries(qt_libraries + "/libQt5Gui.so.5");
    QVERIFY2(gui_libraries.count("libpng16.so.16"), "the PNG library was not found");
    d_png = gui_libraries.at("libpng16.so.16");

    d_paths = Resolved_Libraries(d_png);
    const auto xml_libraries = Resolved_Libraries(d_qt_xml);
    d_paths.insert(xml_libraries.begin(), xml_libraries.end());
    for (const char* name :
         {"libc.so.6", "libm.so.6", "libz.so.1", "libstdc++.so.6", "libQt5Core.so.5"})
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
    const QStringList all = glibc + zlib + stdcxx + qt;

    QString spec =
        "Name: glibc\nVersion: 2.36\nRelease: 9\nSummary: C library\nLicense: none\n"
        "BuildArch: noarch\nAutoReqProv: no\n"
        "%global debug_package %{nil}\n%global __os_install_post %{nil}\n"
        "%description\nC library.\n";
    for (const char* package : {"zlib1g", "libstdc++6", "libqt5core5a"})
        spec += QString("%package -n %1\nVersion: 1.2.13\nRelease: 1\nSummary: %1\n"
                        "%description -n %1\n%1.\n")
                    .arg(package);
    spec += "%install\nfor f in " + all.join(' ') +
            "; do mkdir -p %{buildroot}$(dirname $f); touch %{buildroot}$f; done\n";
    spec += "%files\n" + Owned_Files(glibc);
    spec += "%files -n zlib1g\n" + Owned_Files(zlib);
    spec += "%files -n libstdc++6\n" + Owned_Files(stdcxx);
    spec += "%files -n libqt5core5a\n" + Owned_Files(qt);
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
    QCOMPARE(packages.size(), 4);

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

    // The PNG library brings libz; the Qt library brings libstdc++ and then
    // stops at the first library that no package here owns.
    QCOMPARE(panel.Required_Packages(), QStringList({"zlib1g", "libstdc++6"}));
    QStringList rows;
    const auto* tree = panel.findChild<QTreeWidget*>();
    for (int top = 0; top < tree->topLevelItemCount(); ++top)
        rows.append(tree->topLevelItem(top)->text(0) + " | " + tree->topLevelItem(top)->text(1) +
                    " | " + QString::number(tree->topLevelItem(top)->childCount()));
    QCOMPARE(rows, QStringList({"libstdc++6 | " + d_paths.at("libstdc++.so.6") + " | 0",
                                "zlib1g | " + d_paths.at("libz.so.1") + " | 0"}));
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toString(),
             QString("Requirements: 2 packages found. Incomplete: 1 file could not be examined."));
}

QTEST_MAIN(TRequiresRpmTest)
#include "tst_requiresrpm.moc"
