#include <QDir>
#include <QtTest>

#include "spec/safename.h"
#include "datafiles/savefile.h"
#include "spec/spectext.h"
#include "demospec.h"
#include "testsupport.h"

#include <sys/stat.h>

Q_DECLARE_METATYPE(TTypes::TOptionMakeGenerator)

namespace
{
// The demo project: qmake, one Qt library and one platform plug-in.
TSpecInput Demo_Input()
{
    TSpecInput input;
    input.Variables = {{"%define name", "demo"}, {"Name:", "%{name}"}, {"Version:", "1.0.0"}};
    input.Description = "Demo program.";
    input.Generator = TTypes::Generator_QMake;
    input.Requires_Mode = TTypes::Requires_Manual_Update;
    input.Paths.Build_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.CMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.QMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.Library_Path = "%{_topdir}/shared_libs";
    input.Paths.Desktop_Menu_Path = "%{_topdir}/desktop_menu";
    input.Paths.Target_Install_Path = "%{_libdir}";
    input.Paths.Target_Desktop_Menu_Path = "%{_datadir}";
    input.Targets = {{"lib", {"libQt5Core.so.5.15.2"}}, {"platforms", {"libqxcb.so"}}};
    input.Required_Packages = QStringList{"glibc"};
    input.Changes = "- First build";
    return input;
}

// The two lines that keep the demo's bundled library out of the package's
// dependencies.
const QString Private_Lines = "%global __provides_exclude_from ^%{_libdir}/%{name}/.*$\n"
                              "%global __requires_exclude ^(libQt5Core)[.]so\n";

QString Compose(const TSpecInput& input)
{
    const TSpecText spec = Compose_Spec_Text(input);
    if (!spec.Is_Complete())
        qWarning("unexpected failure: %s", qPrintable(spec.Error));
    return spec.Text;
}

}

class TSpecTextTest : public QObject
{
    Q_OBJECT

private slots:
    void demoProjectWithQMake();
    void cmakeBuildMovesTheExecutableUp();
    void namesFillTheFortyColumnName();
    void requirementLinesFollowTheMode();
    void emptyDescriptionLeavesTwoEmptyLines();
    void placeholdersInValuesAreWrittenAsTyped();
    void buildLineConfiguresForTheChosenQt_data();
    void buildLineConfiguresForTheChosenQt();

    void versionedLibraryNames_data();
    void versionedLibraryNames();
    void laterTargetWithVersionedLibraryIsTheLibraryDirectory();
    void targetWithoutLibrariesKeepsItsLines();
    void desktopLinesFollowAnEmptyLine();

    void projectWithoutVersionedLibraryIsRefused();
    void unsafeNamesAreRefused();

    void saveReplacesTheFileWhole();
    void failedSaveLeavesTheEarlierFile();
};

void TSpecTextTest::demoProjectWithQMake()
{
    const TSpecText spec = Compose_Spec_Text(Demo_Input());
    QVERIFY(spec.Is_Complete());
    QCOMPARE(spec.Text, Test::Demo_Spec);
}

void TSpecTextTest::cmakeBuildMovesTheExecutableUp()
{
    TSpecInput input = Demo_Input();
    input.Generator = TTypes::Generator_CMake;
    input.Paths.CMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}/bin";
    QString expected = Test::Demo_Spec;
    expected.replace("qmake PREFIX=%{buildroot}%{_libdir}/%{name}\n",
                     "cmake -DCMAKE_BUILD_TYPE=Release "
                     "-DCMAKE_INSTALL_PREFIX:PATH=%{buildroot}%{_libdir}/%{name} .\n");
    expected.replace("make install\n\n",
                     "make install\n\n"
                     "# moving the executable to the root build path\n"
                     "mv %{buildroot}%{_libdir}/%{name}/bin/%{name} %{buildroot}%{_libdir}/%{name}/%{name}\n"
                     "rmdir %{buildroot}%{_libdir}/%{name}/bin\n\n");
    QCOMPARE(Compose(input), expected);

    // Only the chosen generator's folder counts.
    input.Paths.CMake_Bin_Path = input.Paths.Build_Path;
    input.Paths.QMake_Bin_Path = "%{buildroot}/elsewhere";
    QVERIFY(!Compose(input).contains("mv "));
    input.Generator = TTypes::Generator_QMake;
    QVERIFY(Compose(input).contains("mv %{buildroot}/elsewhere/%{name} "));
}

void TSpecTextTest::namesFillTheFortyColumnName()
{
    TSpecInput input = Demo_Input();
    const QString name39 = QString(39, 'n');
    const QString name40 = QString(40, 'n');
    const QString name41 = QString(41, 'n');
    input.Variables = {{name39, "a"}, {name40, "b"}, {name41, "c"}, {"Ünïcode:", "d"}, {"", "e"}};
    const QStringList lines = Compose(input).split('\n');
    QCOMPARE(lines.mid(0, 5), QStringList({name39 + " a", name40 + " b", name41 + " c",
                                           "Ünïcode:" + QString(32, ' ') + "d",
                                           QString(40, ' ') + "e"}));
}

void TSpecTextTest::requirementLinesFollowTheMode()
{
    TSpecInput input = Demo_Input();
    input.Variables.push_back({"Requires:", "zlib"});
    input.Required_Packages = QStringList{"glibc", "libstdc++"};
    const QString variable_line = "Requires:" + QString(31, ' ') + "zlib\n";
    const QString package_lines = "Requires:" + QString(31, ' ') + "glibc\n" + "Requires:" +
                                  QString(31, ' ') + "libstdc++\n";
    for (const auto mode : {TTypes::Requires_Auto_Update, TTypes::Requires_Manual_Update})
    {
        input.Requires_Mode = mode;
        QVERIFY(Compose(input).contains("1.0.0\n" + variable_line + package_lines +
                                        Private_Lines + "\n%description"));
    }
    input.Requires_Mode = TTypes::Requires_Ignored;
    QVERIFY(Compose(input).contains("1.0.0\n" + variable_line + Private_Lines + "\n%description"));
}

void TSpecTextTest::emptyDescriptionLeavesTwoEmptyLines()
{
    TSpecInput input = Demo_Input();
    input.Description.clear();
    QVERIFY(Compose(input).contains("[.]so\n\n%description\n\n\n%prep\n"));
    input.Description = "Line one.\n\nLine three, ünïcode.";
    QVERIFY(Compose(input).contains("%description\nLine one.\n\nLine three, ünïcode.\n\n%prep\n"));
}

void TSpecTextTest::placeholdersInValuesAreWrittenAsTyped()
{
    TSpecInput input = Demo_Input();
    input.Paths.Library_Path = "/srv/%2/libs";
    input.Paths.Build_Path = "%{buildroot}/%1";
    input.Paths.Target_Install_Path = "/opt/%1";
    const QString text = Compose(input);
    QVERIFY(text.contains("\n%global __provides_exclude_from ^/opt/%1/%{name}/.*$\n"));
    QVERIFY(text.contains("\necho 'Plugins = .' >> %{buildroot}/%1/qt.conf\n"));
    QVERIFY(text.contains("\ninstall /srv/%2/libs/lib/libQt5Core.so.5.15.2 %{buildroot}/%1/lib\n"));
    QVERIFY(text.contains("\nmkdir -p %{buildroot}/%1/platforms\n"));
}

void TSpecTextTest::buildLineConfiguresForTheChosenQt_data()
{
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::addColumn<int>("major");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("line");  // the line after "%build", or the refusal
    const QString qmake_prefix = " PREFIX=%{buildroot}%{_libdir}/%{name}";
    const QString cmake_prefix = " -DCMAKE_INSTALL_PREFIX:PATH=%{buildroot}%{_libdir}/%{name} .";
    const QString own = "/opt/Qt/6.5.0/gcc_64";
    QTest::newRow("qmake, unknown") << TTypes::Generator_QMake << 0 << "" << "qmake" + qmake_prefix;
    QTest::newRow("qmake, system Qt 5")
        << TTypes::Generator_QMake << 5 << "/usr" << "qmake" + qmake_prefix;
    QTest::newRow("qmake, system Qt 6")
        << TTypes::Generator_QMake << 6 << "/usr" << "qmake6" + qmake_prefix;
    QTest::newRow("qmake, own prefix")
        << TTypes::Generator_QMake << 6 << own << own + "/bin/qmake" + qmake_prefix;
    QTest::newRow("cmake, system Qt 6") << TTypes::Generator_CMake << 6 << "/usr"
                                        << "cmake -DCMAKE_BUILD_TYPE=Release" + cmake_prefix;
    QTest::newRow("cmake, own prefix")
        << TTypes::Generator_CMake << 5 << own
        << "cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=" + own + cmake_prefix;
    QTest::newRow("shell in prefix") << TTypes::Generator_QMake << 6 << "/opt/Qt;rm -rf ~"
                                     << "ERR  Qt prefix '/opt/Qt;rm -rf ~' is not a plain absolute path.";
    QTest::newRow("relative prefix") << TTypes::Generator_CMake << 5 << "Qt/5.15"
                                     << "ERR  Qt prefix 'Qt/5.15' is not a plain absolute path.";
}

void TSpecTextTest::buildLineConfiguresForTheChosenQt()
{
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    QFETCH(int, major);
    QFETCH(QString, prefix);
    QFETCH(QString, line);
    TSpecInput input = Demo_Input();
    input.Generator = generator;
    input.Qt = {major, prefix};
    const TSpecText spec = Compose_Spec_Text(input);
    if (line.startsWith("ERR"))
        QCOMPARE(spec.Error, line);
    else
        QVERIFY2(spec.Text.contains("\n%build\n\n" + line + "\nmake %{?_smp_mflags}\n"),
                 qPrintable(spec.Text));
}

void TSpecTextTest::versionedLibraryNames_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("links");  // the three link names, empty when unversioned
    QTest::addColumn<QString>("excluded");  // the requirements left out
    const QString qt_core = "^(libQt5Core)[.]so";
    QTest::newRow("Qt core") << "libQt5Core.so.5.15.2"
                             << "libQt5Core.so.5.15 libQt5Core.so.5 libQt5Core.so" << qt_core;
    QTest::newRow("leading zeros") << "libfoo.so.01.002.3" << "libfoo.so.1.2 libfoo.so.1 libfoo.so"
                                   << "^(libfoo|libQt5Core)[.]so";
    QTest::newRow("plug-in") << "libqxcb.so" << "" << qt_core;
    QTest::newRow("one number") << "libfoo.so.1" << ""
                                << qt_core + "|^(libfoo[.]so[.]1)($|[(])";
    QTest::newRow("two numbers") << "libfoo.so.1.2" << ""
                                 << qt_core + "|^(libfoo[.]so[.]1[.]2)($|[(])";
    QTest::newRow("four numbers") << "libfoo.so.1.2.3.4" << ""
                                  << qt_core + "|^(libfoo[.]so[.]1[.]2[.]3[.]4)($|[(])";
    QTest::newRow("four digits") << "libfoo.so.1000.2.3" << ""
                                 << qt_core + "|^(libfoo[.]so[.]1000[.]2[.]3)($|[(])";
    QTest::newRow("hyphen") << "libfoo-bar.so.1.2.3" << ""
                            << qt_core + "|^(libfoo-bar[.]so[.]1[.]2[.]3)($|[(])";
    QTest::newRow("plus") << "libstdc++.so.6.0.28" << ""
                          << qt_core + "|^(libstdc[+][+][.]so[.]6[.]0[.]28)($|[(])";
}

void TSpecTextTest::versionedLibraryNames()
{
    QFETCH(QString, library);
    QFETCH(QString, links);
    QFETCH(QString, excluded);
    TSpecInput input = Demo_Input();
    input.Targets.insert(input.Targets.begin(), {"a", {library}});
    const QString text = Compose(input);

    const QString installed = "%{_libdir}/%{name}/a/" + library;
    const QString run_path =
        "patchelf --set-rpath '%{_libdir}/%{name}/lib' %{buildroot}%{_libdir}/%{name}/a/" + library;
    QVERIFY(text.contains("\ninstall %{_topdir}/shared_libs/a/" + library +
                          " %{buildroot}%{_libdir}/%{name}/a\n" + run_path + "\n\n"));
    // Each base name once, in the order the libraries are installed.
    QVERIFY2(text.contains("\n%global __requires_exclude " + excluded + "\n"), qPrintable(text));
    QStringList link_lines;
    for (const QString& link : links.split(' ', Qt::SkipEmptyParts))
        link_lines << "ln -sf " + installed + " %{_libdir}/%{name}/a/" + link;
    QStringList written;
    for (const QString& line : text.split('\n'))
        if (line.startsWith("ln -sf " + installed))
            written << line;
    QCOMPARE(written, link_lines);
}

void TSpecTextTest::laterTargetWithVersionedLibraryIsTheLibraryDirectory()
{
    TSpecInput input = Demo_Input();
    input.Targets = {{"lib", {"libQt5Core.so.5.15.2"}},
                     {"platforms", {"libqxcb.so"}},
                     {"qt", {"libqoffscreen.so", "libQt5Gui.so.5.15.2"}},
                     {"zz", {"libqjpeg.so"}}};
    QStringList run_paths;
    for (const QString& line : Compose(input).split('\n'))
        if (line.startsWith("patchelf"))
            run_paths << line.section(' ', 2, 2);
    const QString last = "'%{_libdir}/%{name}/qt'";
    QCOMPARE(run_paths, QVector<QString>(6, last).toList());
    QVERIFY(Compose(input).contains("\n%global __requires_exclude ^(libQt5Core|libQt5Gui)[.]so\n"));
}

void TSpecTextTest::targetWithoutLibrariesKeepsItsLines()
{
    TSpecInput input = Demo_Input();
    input.Targets.push_back({"empty", {}});
    const QString text = Compose(input);
    QVERIFY(text.contains("/platforms\nmkdir -p %{buildroot}%{_libdir}/%{name}/empty\n"));
    QVERIFY(text.contains("/platforms/libqxcb.so\n\n\ninstall %{_topdir}/desktop_menu/"));
    QVERIFY(text.contains("\nrm -rf %{_libdir}/%{name}/empty\nrm -rf %{_libdir}/%{name}\nfi\n"));
    QVERIFY(text.contains("\n%files\n\n%defattr(-,root,root)\n%{_libdir}/%{name}\n\n%defattr(644"));
}

void TSpecTextTest::desktopLinesFollowAnEmptyLine()
{
    TSpecInput input = Demo_Input();
    const QString desktop = "install %{_topdir}/desktop_menu/%{name}.desktop";
    QVERIFY(Compose(input).contains("/platforms/libqxcb.so\n\n" + desktop));
    input.Targets = {{"platforms", {"libqxcb.so"}}, {"lib", {"libQt5Core.so.5.15.2"}}};
    QVERIFY(Compose(input).contains("/lib/libQt5Core.so.5.15.2\n\n" + desktop));
}

void TSpecTextTest::projectWithoutVersionedLibraryIsRefused()
{
    TSpecInput input = Demo_Input();
    input.Targets = {{"platforms", {"libqxcb.so", "libqoffscreen.so"}}, {"lib", {}}};
    TSpecText spec = Compose_Spec_Text(input);
    QVERIFY(!spec.Is_Complete());
    QCOMPARE(spec.Error, QString("ERR  Library path name not found."));
    QVERIFY(spec.Text.isEmpty());

    input.Targets.clear();
    QCOMPARE(Compose_Spec_Text(input).Error, QString("ERR  Library path name not found."));
}

void TSpecTextTest::unsafeNamesAreRefused()
{
    for (const QString name : {"..", ".", "", "a b", "x;y", "a/b", "$(id)", "%{name}", "l\nrm"})
    {
        TSpecInput input = Demo_Input();
        input.Targets.push_back({name, {"libqjpeg.so"}});
        TSpecText spec = Compose_Spec_Text(input);
        QCOMPARE(spec.Error, "ERR  Target name '" + name + "' is not a plain file name.");
        QVERIFY(spec.Text.isEmpty());

        input = Demo_Input();
        input.Targets[1].Libraries << name;
        spec = Compose_Spec_Text(input);
        QCOMPARE(spec.Error, "ERR  Library name '" + name + "' of target 'platforms' is not a plain file name.");
        QVERIFY(spec.Text.isEmpty());
        QVERIFY(!Is_Safe_Name(name));
    }
    for (const QString name : {"lib", "libQt5Core.so.5.15.2", "...", "a_b+c-d,e@f.so", ".hidden"})
        QVERIFY2(Is_Safe_Name(name), qPrintable(name));
}

void TSpecTextTest::saveReplacesTheFileWhole()
{
    QTemporaryDir folder;
    const QString file_name = folder.path() + "/demo.spec";
    Test::Write_File(file_name, QByteArray(5000, 'x'));
    QString error;
    QVERIFY(Save_Text_File(file_name, "Name: démo\n", &error));
    QCOMPARE(Test::Read_File(file_name), QString("Name: démo\n").toUtf8());
    QVERIFY(error.isEmpty());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"demo.spec"});
}

void TSpecTextTest::failedSaveLeavesTheEarlierFile()
{
    QTemporaryDir folder;
    const QString file_name = folder.path() + "/demo.spec";
    Test::Write_File(file_name, "earlier\n");
    QString error;
    // A spec smaller than the file's buffer (16 KiB) is written only at the
    // very end, and a larger one part by part.
    QVERIFY(Test::Demo_Spec.size() < 16 * 1024);
    for (const QString& text : {Test::Demo_Spec, Test::Demo_Spec.repeated(10)})
    {
        {
            Test::TFileSizeLimit limit(1000);
            QVERIFY(!Save_Text_File(file_name, text, &error));
        }
        QCOMPARE(error, "ERR  Cannot write file '" + file_name + "'.  Reason: File too large");
        QCOMPARE(Test::Read_File(file_name), QByteArray("earlier\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"demo.spec"});
    }

    // A folder the user may not write to.
    QVERIFY(chmod(QFile::encodeName(folder.path()).constData(), 0755) == 0);
    {
        Test::TUnprivileged nobody;
        QVERIFY(!Save_Text_File(folder.path() + "/new.spec", Test::Demo_Spec, &error));
        QVERIFY(!Save_Text_File(file_name, Test::Demo_Spec, &error));
    }
    QVERIFY2(error.startsWith("ERR  Cannot write file '" + file_name + "'.  Reason: "), qPrintable(error));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"demo.spec"});
    QCOMPARE(Test::Read_File(file_name), QByteArray("earlier\n"));
}

QTEST_MAIN(TSpecTextTest)
#include "tst_spectext.moc"
