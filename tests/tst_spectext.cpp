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
    input.Packager = "Ana Lima <ana@example.org>";
    return input;
}

// The lines that configure, build and install the program itself, set its
// run path, write its qt.conf and link it into %{_bindir}, in order.
QStringList Program_Lines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split('\n'))
        if (line.startsWith("qmake ") || line.startsWith("cmake ") ||
            line.startsWith("make install") || line.startsWith("echo ") ||
            (line.startsWith("patchelf ") && line.endsWith("/%{name}")) ||
            (line.startsWith("ln ") && line.endsWith(" %{buildroot}%{_bindir}/%{name}")))
            lines << line;
    return lines;
}

// The lines that keep the demo's bundled library out of the package's
// dependencies and its build-id links out of the package.
const QString Private_Lines = "%global __provides_exclude_from ^%{_libdir}/%{name}/.*$\n"
                              "%global __requires_exclude ^(libQt5Core)[.]so\n"
                              "%global _build_id_links none\n";

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
    void programIsBuiltForItsFinalFolder_data();
    void programIsBuiltForItsFinalFolder();
    void packagerTagFollowsTheVariables();
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
    void manyLibrariesTakeTimeInProportion();

    void projectWithoutVersionedLibraryIsRefused();
    void valuesAndSpecsBeyondTheirBoundsAreRefused();
    void unsafeNamesAreRefused();
    void qmlModuleFoldersAreInstalledWhole();
    void qmlModulePathsMustStayInsideTheirTarget();
    void ownMenuFilesGoWhereTheSystemLooks();
    void learnedInstallPathsReachQMakeSafely();

    void saveReplacesTheFileWhole();
    void failedSaveLeavesTheEarlierFile();
};

void TSpecTextTest::demoProjectWithQMake()
{
    const TSpecText spec = Compose_Spec_Text(Demo_Input());
    QVERIFY(spec.Is_Complete());
    QCOMPARE(spec.Text, Test::Demo_Spec);
}

void TSpecTextTest::programIsBuiltForItsFinalFolder_data()
{
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::addColumn<QString>("build_path");
    QTest::addColumn<QString>("bin_path");
    QTest::addColumn<QStringList>("lines");

    const QString build = "%{buildroot}%{_libdir}/%{name}";
    const auto lines = [](const QString& configure, const QString& install, const QString& bin,
                          const QString& prefix, const QString& installed_bin) {
        return QStringList{configure,
                           install,
                           "patchelf --set-rpath '%{_libdir}/%{name}/lib' " + bin + "/%{name}",
                           "echo '[Paths]' > " + bin + "/qt.conf",
                           "echo 'Prefix = " + prefix + "' >> " + bin + "/qt.conf",
                           "echo 'Plugins = .' >> " + bin + "/qt.conf",
                           "ln -sfr %{buildroot}" + installed_bin + "/%{name} %{buildroot}%{_bindir}/%{name}"};
    };
    const QString cmake = "cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX:PATH=";
    QTest::newRow("cmake, bin folder")
        << TTypes::Generator_CMake << build << build + "/bin"
        << lines(cmake + "%{_libdir}/%{name} .", "make install DESTDIR=%{buildroot}",
                 build + "/bin", "..", "%{_libdir}/%{name}/bin");
    QTest::newRow("qmake, two folders down")
        << TTypes::Generator_QMake << build << build + "/usr/bin/"
        << lines("qmake PREFIX=%{_libdir}/%{name}", "make install INSTALL_ROOT=%{buildroot}",
                 build + "/usr/bin/", "../..", "%{_libdir}/%{name}/usr/bin");
    QTest::newRow("cmake, other prefix")
        << TTypes::Generator_CMake << "%{buildroot}/opt/%{name}" << "%{buildroot}/opt/%{name}"
        << lines(cmake + "/opt/%{name} .", "make install DESTDIR=%{buildroot}",
                 "%{buildroot}/opt/%{name}", ".", "%{_libdir}/%{name}");
    // A bin path outside the program folder, or below it through a macro,
    // gets the program folder by its installed name.
    QTest::newRow("qmake, bin elsewhere")
        << TTypes::Generator_QMake << build << "%{buildroot}/elsewhere"
        << lines("qmake PREFIX=%{_libdir}/%{name}", "make install INSTALL_ROOT=%{buildroot}",
                 "%{buildroot}/elsewhere", "%{_libdir}/%{name}", "/elsewhere");
    QTest::newRow("cmake, bin through a macro")
        << TTypes::Generator_CMake << build << build + "/%{_arch}"
        << lines(cmake + "%{_libdir}/%{name} .", "make install DESTDIR=%{buildroot}",
                 build + "/%{_arch}", "%{_libdir}/%{name}", "%{_libdir}/%{name}/%{_arch}");
    // A build laid out by hand keeps its prefix and plain "make install".
    QTest::newRow("qmake, build path by hand")
        << TTypes::Generator_QMake << "/srv/build/%{name}" << "/srv/build/%{name}/bin"
        << lines("qmake PREFIX=/srv/build/%{name}", "make install", "/srv/build/%{name}/bin",
                 "..", "%{_libdir}/%{name}/bin");
    QTest::newRow("cmake, build path by hand")
        << TTypes::Generator_CMake << "$RPM_BUILD_ROOT/usr/lib/%{name}"
        << "$RPM_BUILD_ROOT/usr/lib/%{name}"
        << lines(cmake + "$RPM_BUILD_ROOT/usr/lib/%{name} .", "make install",
                 "$RPM_BUILD_ROOT/usr/lib/%{name}", ".", "%{_libdir}/%{name}");
}

// Nothing is moved: the program stays where "make install" put it, with
// whatever else that put beside it.
void TSpecTextTest::programIsBuiltForItsFinalFolder()
{
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    QFETCH(QString, build_path);
    QFETCH(QString, bin_path);
    QFETCH(QStringList, lines);
    TSpecInput input = Demo_Input();
    input.Generator = generator;
    input.Paths.Build_Path = build_path;
    // Only the chosen generator's bin path counts.
    input.Paths.CMake_Bin_Path = generator == TTypes::Generator_CMake ? bin_path : "%{buildroot}/x";
    input.Paths.QMake_Bin_Path = generator == TTypes::Generator_QMake ? bin_path : "%{buildroot}/x";
    const QString text = Compose(input);
    QCOMPARE(Program_Lines(text), lines);
    QVERIFY(!text.contains("\nmv ") && !text.contains("\nrmdir "));
    QVERIFY(text.contains("\nmkdir -p " + build_path + "/platforms\n"));
}

void TSpecTextTest::packagerTagFollowsTheVariables()
{
    TSpecInput input = Demo_Input();
    input.Packager = "  Zoë   Ünïcode <zoe@example.org> ";
    const QString tag = "Packager:" + QString(31, ' ');
    QVERIFY(Compose(input).contains("1.0.0\n" + tag +
                                    "Zoë Ünïcode <zoe@example.org>\nRequires:"));
    input.Packager = " ";
    QVERIFY(Compose(input).contains("1.0.0\nRequires:"));
    // A variable of that name, however typed, is the only one.
    input.Packager = "Ana Lima <ana@example.org>";
    for (const QString name : {"Packager:", "packager:", " PACKAGER: "})
    {
        input.Variables = {{"%define name", "demo"}, {name, "Team <team@example.org>"}};
        const QString text = Compose(input);
        QVERIFY2(!text.contains("Ana Lima"), qPrintable(text));
        QVERIFY(text.contains("Team <team@example.org>\nRequires:"));
    }
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
    const QString variable_line = "Requires:" + QString(31, ' ') + "zlib\n" + "Packager:" +
                                  QString(31, ' ') + "Ana Lima <ana@example.org>\n";
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
    QVERIFY(Compose(input).contains("_build_id_links none\n\n%description\n\n\n%prep\n"));
    input.Description = "Line one.\n\nLine three, ünïcode.";
    QVERIFY(Compose(input).contains("%description\nLine one.\n\nLine three, ünïcode.\n\n%prep\n"));
}

void TSpecTextTest::placeholdersInValuesAreWrittenAsTyped()
{
    TSpecInput input = Demo_Input();
    input.Paths.Library_Path = "/srv/%2/libs";
    input.Paths.Build_Path = "%{buildroot}/%1";
    input.Paths.QMake_Bin_Path = "%{buildroot}/%1/%2";
    input.Paths.Target_Install_Path = "/opt/%1";
    const QString text = Compose(input);
    QVERIFY(text.contains("\n%global __provides_exclude_from ^/opt/%1/%{name}/.*$\n"));
    QVERIFY(text.contains("\nqmake PREFIX=/%1\n"));
    QVERIFY(text.contains("\necho 'Prefix = /opt/%1/%{name}' >> %{buildroot}/%1/%2/qt.conf\n"));
    QVERIFY(text.contains("\nln -sfr %{buildroot}/opt/%1/%{name}/%2/%{name} %{buildroot}%{_bindir}/%{name}\n"));
    QVERIFY(text.contains("\ninstall /srv/%2/libs/lib/libQt5Core.so.5.15.2 %{buildroot}/%1/lib\n"));
    QVERIFY(text.contains("\nmkdir -p %{buildroot}/%1/platforms\n"));
}

void TSpecTextTest::buildLineConfiguresForTheChosenQt_data()
{
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::addColumn<int>("major");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("line");  // the line after "%build", or the refusal
    const QString qmake_prefix = " PREFIX=%{_libdir}/%{name}";
    const QString cmake_prefix = " -DCMAKE_INSTALL_PREFIX:PATH=%{_libdir}/%{name} .";
    const QString own = "/opt/Qt/6.5.0/gcc_64";
    QTest::newRow("qmake, system Qt 6")
        << TTypes::Generator_QMake << 6 << "/usr" << "qmake6" + qmake_prefix;
    QTest::newRow("cmake, own prefix")
        << TTypes::Generator_CMake << 5 << own
        << "cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=" + own + cmake_prefix;
    QTest::newRow("shell in prefix")
        << TTypes::Generator_QMake << 6 << "/opt/Qt;rm -rf ~"
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

    const QString run_path =
        "patchelf --set-rpath '%{_libdir}/%{name}/lib' %{buildroot}%{_libdir}/%{name}/a/" + library;
    // The links, made in the build root, name the library beside them.
    QStringList link_lines;
    for (const QString& link : links.split(' ', Qt::SkipEmptyParts))
        link_lines << "ln -sf " + library + " %{buildroot}%{_libdir}/%{name}/a/" + link;
    QVERIFY2(text.contains("\ninstall %{_topdir}/shared_libs/a/" + library +
                           " %{buildroot}%{_libdir}/%{name}/a\n" + run_path + "\n" +
                           (link_lines.isEmpty() ? QString() : link_lines.join('\n') + "\n") +
                           "\n"),
             qPrintable(text));
    // Each base name once, in the order the libraries are installed.
    QVERIFY2(text.contains("\n%global __requires_exclude " + excluded + "\n"), qPrintable(text));
    QStringList written;
    for (const QString& line : text.split('\n'))
        if (line.startsWith("ln -sf " + library + " %{buildroot}%{_libdir}/%{name}/a/"))
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
    QVERIFY(text.contains("\n%files\n\n%defattr(-,root,root)\n%{_libdir}/%{name}\n"
                          "%{_bindir}/%{name}\n\n%defattr(644"));
}

void TSpecTextTest::desktopLinesFollowAnEmptyLine()
{
    TSpecInput input = Demo_Input();
    const QString desktop = "install %{_topdir}/desktop_menu/%{name}.desktop";
    QVERIFY(Compose(input).contains("/platforms/libqxcb.so\n\n" + desktop));
    input.Targets = {{"platforms", {"libqxcb.so"}}, {"lib", {"libQt5Core.so.5.15.2"}}};
    QVERIFY(Compose(input).contains("/lib/libQt5Core.so\n\n" + desktop));
}

// Eight times the distinct versioned libraries take about eight times as
// long, not sixty-four: each name is kept out of the requirements once.
// The bound of 24 leaves room for a busy machine; the quadratic reading
// gave well over 30.
void TSpecTextTest::manyLibrariesTakeTimeInProportion()
{
    const auto input = [](int count) {
        TSpecInput many = Demo_Input();
        many.Targets = {{"lib", {}}};
        for (int index = 0; index < count; ++index)
            many.Targets.front().Libraries.append(QString("libkv%1.so.1.2.3").arg(index));
        return many;
    };
    const TSpecInput smaller = input(1500);
    const TSpecInput larger = input(12000);
    const double ratio = Test::Time_Ratio([&smaller] { Compose(smaller); },
                                          [&larger] { Compose(larger); });
    QVERIFY2(ratio < 24,
             qPrintable(QString("8 times the libraries took %1 times as long").arg(ratio)));
    QVERIFY(Compose(larger).contains("%global __requires_exclude ^(libkv0|libkv1|libkv2|"));
}

void TSpecTextTest::projectWithoutVersionedLibraryIsRefused()
{
    TSpecInput input = Demo_Input();
    input.Targets = {{"platforms", {"libqxcb.so", "libqoffscreen.so"}}, {"lib", {}}};
    TSpecText spec = Compose_Spec_Text(input);
    QVERIFY(!spec.Is_Complete());
    QCOMPARE(spec.Error, QString("ERR  Library path name not found. No active target holds a "
                                 "versioned shared library (such as \"libQt5Core.so.5\"): "
                                 "\"platforms\" (2 files), \"lib\" (0 files)."));
    QVERIFY(spec.Text.isEmpty());

    input.Targets.clear();
    QCOMPARE(Compose_Spec_Text(input).Error,
             QString("ERR  Library path name not found. No target is active, so no versioned "
                     "shared library (such as \"libQt5Core.so.5\") is installed."));
}

void TSpecTextTest::unsafeNamesAreRefused()
{
    for (const QString name : {"..", ".", "", "a b", "x;y", "a/b", "$(id)", "%{name}", "l\nrm"})
    {
        TSpecInput input = Demo_Input();
        input.Targets.push_back({name, {"libqjpeg.so"}});
        TSpecText spec = Compose_Spec_Text(input);
        // A line feed is shown escaped, so that the message stays one line.
        const QString shown = QString(name).replace("\n", "\\x0A");
        QCOMPARE(spec.Error, "ERR  Target name '" + shown + "' is not a plain file name.");
        QVERIFY(spec.Text.isEmpty());

        input = Demo_Input();
        input.Targets[1].Libraries << name;
        spec = Compose_Spec_Text(input);
        QCOMPARE(spec.Error, "ERR  Library name '" + shown +
                                 "' of target 'platforms' is not a plain file name.");
        QVERIFY(spec.Text.isEmpty());
        QVERIFY(!Is_Safe_Name(name));
    }
    for (const QString name : {"lib", "libQt5Core.so.5.15.2", "...", "a_b+c-d,e@f.so", ".hidden"})
        QVERIFY2(Is_Safe_Name(name), qPrintable(name));
}

// A module folder is copied with all below it into its parent folder, only
// its ELF files get the run path, and qt.conf names the target for the Qt
// the bundled libraries belong to. No versioned link is made for a module.
void TSpecTextTest::qmlModuleFoldersAreInstalledWhole()
{
    TSpecInput input = Demo_Input();
    input.Targets.push_back(
        {"qml", {"QtQuick.2", "QtQuick/Controls.2"}, TTypes::Target_Qml_Modules});
    const QString text = Compose(input);
    const QString build = "%{buildroot}%{_libdir}/%{name}";
    const QString elf_run_path =
        "find %1 -type f -exec sh -c 'for f; do case \"$(head -c 4 \"$f\")\" in ?ELF) "
        "patchelf --set-rpath \"$0\" \"$f\" || exit 1;; esac; done' "
        "'%{_libdir}/%{name}/lib' {} +\n";
    QVERIFY2(text.contains("mkdir -p " + build + "/qml\n"
                           "cp -R %{_topdir}/shared_libs/qml/QtQuick.2 " + build + "/qml/\n" +
                           elf_run_path.arg(build + "/qml/QtQuick.2") + "\n"
                           "mkdir -p " + build + "/qml/QtQuick\n"
                           "cp -R %{_topdir}/shared_libs/qml/QtQuick/Controls.2 " + build +
                           "/qml/QtQuick/\n" +
                           elf_run_path.arg(build + "/qml/QtQuick/Controls.2")),
             qPrintable(text));
    QVERIFY(text.contains("echo 'Plugins = .' >> " + build + "/qt.conf\n"
                          "echo 'Qml2Imports = qml' >> " + build + "/qt.conf\n"));
    QCOMPARE(text.count("\nln -sf "), 3);

    input.Targets[0].Libraries = QStringList{"libQt6Core.so.6.4.2"};
    QVERIFY(Compose(input).contains("echo 'QmlImports = qml' >> " + build + "/qt.conf\n"));
    input.Targets.back().Libraries.clear();
    QVERIFY(!Compose(input).contains("QmlImports"));
    QVERIFY(!Compose(Demo_Input()).contains("QmlImports"));

    input.Targets.back().Libraries = QStringList{"QtQuick.2"};
    input.Targets.push_back({"qml2", {"QtQuick.2"}, TTypes::Target_Qml_Modules});
    QCOMPARE(Compose_Spec_Text(input).Error,
             QString("ERR  Only one target of QML modules can be active."));
}

// The spec's line that rewrites the entry `entry`, run on an entry whose
// commands name the program in all the ways an entry may.
static void Verify_Exec_Rewritten(const QString& text, const QString& entry)
{
    const QStringList lines = text.split('\n').filter(
        QRegularExpression("^sed .* " + QRegularExpression::escape(entry) + "$"));
    QCOMPARE(lines.size(), 1);
    QTemporaryDir folder;
    const QString file = folder.path() + "/entry.desktop";
    Test::Write_File(file, "[Desktop Entry]\nExec=/usr/local/bin/demo-1 %U\nTryExec=/opt/demo\n"
                           "[Desktop Action New]\nExec=env A=1 B=x=y \"/opt/my demo/demo\" --new\n"
                           "X-Exec=keep\n[Desktop Action Plain]\nExec=demo\n");
    QProcess shell;
    shell.start("sh", {"-c", QString(lines[0]).replace("%{name}", "demo").replace(entry, file)});
    QVERIFY(shell.waitForFinished() && shell.exitCode() == 0);
    QCOMPARE(Test::Read_File(file),
             QByteArray("[Desktop Entry]\nExec=demo %U\nTryExec=demo\n"
                        "[Desktop Action New]\nExec=env A=1 B=x=y demo --new\n"
                        "X-Exec=keep\n[Desktop Action Plain]\nExec=demo\n"));
}

// The program's own desktop entry replaces the Desktop Menu Path's entry and
// icon, and starts the command on PATH; icons alone leave them in place.
void TSpecTextTest::ownMenuFilesGoWhereTheSystemLooks()
{
    TSpecInput input = Demo_Input();
    input.Menu_Files = QStringList{"share/applications/org.demo.desktop",
                                   "share/icons/hicolor/48x48/apps/demo.png",
                                   "share/icons/hicolor/scalable/apps/demo.svg"};
    const QString text = Compose(input);
    const QString build = "%{buildroot}%{_libdir}/%{name}";
    const QString entry = "%{buildroot}%{_datadir}/applications/org.demo.desktop";
    QVERIFY2(text.contains("mkdir -p %{buildroot}%{_datadir}/applications\n"
                           "mv " + build + "/share/applications/org.demo.desktop " + entry + "\n"),
             qPrintable(text));
    CHECK(Verify_Exec_Rewritten(text, entry));
    QVERIFY(text.contains("mv " + build + "/share/icons/hicolor/scalable/apps/demo.svg "
                          "%{buildroot}%{_datadir}/icons/hicolor/scalable/apps/demo.svg\n"));
    QVERIFY(text.contains("rmdir -p --ignore-fail-on-non-empty " + build +
                          "/share/icons/hicolor/48x48/apps\n"));
    QVERIFY(text.contains("%defattr(644,root,root)\n%{_datadir}/applications/org.demo.desktop\n"
                          "%{_datadir}/icons/hicolor/48x48/apps/demo.png\n"
                          "%{_datadir}/icons/hicolor/scalable/apps/demo.svg\n\n%changelog"));
    for (const char* gone : {"desktop_menu", "pixmaps", "%{name}.desktop"})
        QVERIFY2(!text.contains(gone), gone);

    input.Menu_Files.removeFirst();
    const QString icons_only = Compose(input);
    QVERIFY(icons_only.contains("install %{_topdir}/desktop_menu/%{name}.desktop"));
    QVERIFY(icons_only.contains("%{_datadir}/icons/hicolor/scalable/apps/demo.svg\n"
                                "%{_datadir}/applications/%{name}.desktop\n"
                                "%{_datadir}/pixmaps/%{name}.png\n"));
    QVERIFY(!icons_only.contains("sed -i"));

    for (const QString unsafe : {"share/applications/a b.desktop", "share/../etc/x",
                                 "share/x/%{name}.png", "bin/app", "share/x/a'b"})
    {
        input.Menu_Files = QStringList{unsafe};
        QCOMPARE(Compose_Spec_Text(input).Error,
                 "ERR  Menu file '" + unsafe + "' is not a plain path below 'share'.");
    }
}

// What the program's project leaves to be set goes onto qmake's line below
// the prefix; CMake is not given it, and nothing unplain gets through.
void TSpecTextTest::learnedInstallPathsReachQMakeSafely()
{
    TSpecInput input = Demo_Input();
    input.QMake_Assignments = QStringList{"target.path=bin", "data.path=share/demo", "root.path="};
    QVERIFY2(Compose(input).contains("\nqmake PREFIX=%{_libdir}/%{name} "
                                     "target.path=%{_libdir}/%{name}/bin "
                                     "data.path=%{_libdir}/%{name}/share/demo "
                                     "root.path=%{_libdir}/%{name}\n"),
             qPrintable(Compose(input)));
    input.Generator = TTypes::Generator_CMake;
    QVERIFY(!Compose(input).contains("target.path"));
    input.Generator = TTypes::Generator_QMake;
    for (const QString unsafe : {"target.path=/opt/x", "x;rm -rf /.path=bin", "t.path=a b",
                                 "t.path=../up", "=bin"})
    {
        input.QMake_Assignments = QStringList{unsafe};
        QCOMPARE(Compose_Spec_Text(input).Error,
                 "ERR  qmake assignment '" + unsafe + "' is not a plain variable and folder.");
    }
}

// A module path is checked component by component; a plain name with a
// slash is still refused in a target of files.
void TSpecTextTest::qmlModulePathsMustStayInsideTheirTarget()
{
    for (const QString path : {"..", "../etc", "QtQuick/../../x", "/usr/lib", "QtQuick//Controls",
                               "QtQuick/", "Qt Quick", "a/$(id)", ""})
    {
        TSpecInput input = Demo_Input();
        input.Targets.push_back({"qml", {path}, TTypes::Target_Qml_Modules});
        const TSpecText spec = Compose_Spec_Text(input);
        QCOMPARE(spec.Error, "ERR  QML module '" + path +
                                 "' of target 'qml' is not a relative path of plain file names.");
        QVERIFY(spec.Text.isEmpty());
    }
    for (const QString path : {"QtQuick.2", "QtQuick/Controls.2", "QtQml/WorkerScript.2"})
        QVERIFY2(Is_Safe_Module_Path(path), qPrintable(path));
    TSpecInput input = Demo_Input();
    input.Targets.push_back({"qml", {"QtQuick/Controls.2"}});
    QCOMPARE(Compose_Spec_Text(input).Error,
             QString("ERR  Library name 'QtQuick/Controls.2' of target 'qml' is not a plain file "
                     "name."));
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

// A path expression is repeated for every library: one of megabytes would
// make a spec of gigabytes. Each value is bounded, and so is the spec, which
// is given up on as soon as it grows past its bound.
void TSpecTextTest::valuesAndSpecsBeyondTheirBoundsAreRefused()
{
    TSpecInput input = Demo_Input();
    input.Paths.Library_Path = "/" + QString(15 * 1024 * 1024, 'p');
    QCOMPARE(Compose_Spec_Text(input).Error,
             QString("ERR  The path expression 'Libraries Path' is 15728641 characters long, "
                     "more than the 4096 allowed."));
    input = Demo_Input();
    input.Description = QString(300000, 'd');
    QCOMPARE(Compose_Spec_Text(input).Error,
             QString("ERR  The description is 300000 characters long, more than the 262144 "
                     "allowed."));

    input = Demo_Input();
    const QString long_path = "/" + QString(4000, 'p');
    input.Paths.Library_Path = input.Paths.Build_Path = input.Paths.Target_Install_Path = long_path;
    QStringList libraries;
    for (int index = 0; index < 2000; ++index)
        libraries.append(QString("libkv%1.so.1.0.0").arg(index));
    input.Targets = {{"lib", libraries}};
    const TSpecText spec = Compose_Spec_Text(input);
    QCOMPARE(spec.Error, QString("ERR  The spec would be longer than 33554432 characters (2000 "
                                 "files in 1 targets)."));
    QVERIFY(spec.Text.isEmpty());
    libraries = libraries.mid(0, 500);
    input.Targets = {{"lib", libraries}};
    QVERIFY(Compose_Spec_Text(input).Is_Complete());
}

QTEST_MAIN(TSpecTextTest)
#include "tst_spectext.moc"
