#include <QtTest>

#include "spec/spectext.h"

namespace
{
TSpecInput Safe_Input()
{
    TSpecInput input;
    input.Variables = {{"%define name", "demo"}, {"Name:", "%{name}"}, {"Summary:", "A demo"}};
    input.Description = "Demo program.";
    input.Paths = {"%{buildroot}%{_libdir}/%{name}", "%{buildroot}%{_libdir}/%{name}/bin",
                   "%{buildroot}%{_libdir}/%{name}", "%{_topdir}/shared_libs",
                   "%{_topdir}/desktop_menu",        "%{_libdir}",
                   "%{_datadir}"};
    input.Targets = {{"lib", {"libQt5Core.so.5.15.2"}}};
    input.Required_Packages = QStringList{"glibc"};
    input.Changes = "# Newest revisions added to the top; oldest revisions at the bottom.\n"
                    "* Mon Dec 7 2026 Zoe <zoe@example.org>\n- First build";
    return input;
}
}

Q_DECLARE_METATYPE(TSpecInput)

class TSpecInputCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void injectedLinesAreRefused_data();
    void injectedLinesAreRefused();
    void textThatMerelyHoldsPercentIsWritten();
};

void TSpecInputCheckTest::injectedLinesAreRefused_data()
{
    QTest::addColumn<TSpecInput>("input");
    QTest::addColumn<QString>("error");

    TSpecInput input = Safe_Input();
    input.Variables[2].Value = "A demo\n%pre\nrm -rf /";
    QTest::newRow("line break in a value")
        << input << "ERR  The value of the variable 'Summary:' holds a line break or another "
                    "control character: 'A demo\\x0A%pre\\x0Arm -rf /'.";
    input = Safe_Input();
    input.Variables[2].Value = QString("A") + QChar(0) + "demo";
    QTest::newRow("NUL in a value") << input << "ERR  The value of the variable 'Summary:' holds a "
                                                "line break or another control character: 'A\\x00demo'.";
    input = Safe_Input();
    input.Variables[1].Name = "%post";
    QTest::newRow("keyword as a name")
        << input << "ERR  The variable name begins with the spec section keyword '%post': '%post'.";
    input = Safe_Input();
    input.Variables[1].Name = "Name:\r";
    QTest::newRow("control character in a name")
        << input << "ERR  The variable name holds a line break or another control character: "
                    "'Name:\\x0D'.";
    input = Safe_Input();
    input.Paths.Build_Path = "%{buildroot}\n%pre\necho";
    QTest::newRow("line break in a path")
        << input << "ERR  The path expression 'Build Root Path' holds a line break or another "
                    "control character: '%{buildroot}\\x0A%pre\\x0Aecho'.";
    input = Safe_Input();
    input.Paths.Target_Install_Path = "%postun /usr/lib";
    QTest::newRow("keyword as a path")
        << input << "ERR  The path expression 'Target Install Path' begins with the spec section "
                    "keyword '%postun': '%postun /usr/lib'.";
    input = Safe_Input();
    input.Required_Packages << "zlib\n%pre";
    QTest::newRow("line break in a package")
        << input << "ERR  The required package holds a line break or another control character: "
                    "'zlib\\x0A%pre'.";
    input = Safe_Input();
    input.Packager = "Ana <ana@example.org>\n%pre";
    QTest::newRow("line break in the packager")
        << input << "ERR  The packager holds a line break or another control character: "
                    "'Ana <ana@example.org>\\x0A%pre'.";

    const QStringList keyword_lines = {"%pre",         "%PRE",           "%%pre",
                                       "%{nil}%post",  "%files -f list", "%triggerin -- bash",
                                       "%filetriggerin -- /usr/lib", "%package -n other",
                                       "%changelog",   "%verifyscript",  "%transfiletriggerpostun"};
    for (const QString& line : keyword_lines)
    {
        const QString keyword = line.mid(line.lastIndexOf('%')).section(' ', 0, 0);
        input = Safe_Input();
        input.Description = "First line.\n" + line + "\nrm -rf /";
        QTest::addRow("description: %s", qPrintable(line))
            << input
            << QString("ERR  Line 2 of the description begins with the spec section keyword '%1'.")
                   .arg(keyword);
        input = Safe_Input();
        input.Changes += "\n" + line;
        QTest::addRow("change log: %s", qPrintable(line))
            << input
            << QString("ERR  Line 4 of the change log begins with the spec section keyword '%1'.")
                   .arg(keyword);
    }
    input = Safe_Input();
    input.Changes = "* Mon Dec 7 2026 Zoe\n- a NUL: " + QString(QChar(0));
    QTest::newRow("NUL in the change log")
        << input << "ERR  Line 2 of the change log holds a control character: '- a NUL: \\x00'.";
}

// Nothing is written: the text is empty and the message names the field.
void TSpecInputCheckTest::injectedLinesAreRefused()
{
    QFETCH(TSpecInput, input);
    QFETCH(QString, error);
    const TSpecText spec = Compose_Spec_Text(input);
    QCOMPARE(spec.Error, error);
    QVERIFY(spec.Text.isEmpty());
}

// Macros, an indented keyword (rpmbuild looks only at the start of a line),
// keywords later in a line or as part of a longer word, and tabs stay.
void TSpecInputCheckTest::textThatMerelyHoldsPercentIsWritten()
{
    TSpecInput input = Safe_Input();
    input.Variables.push_back({"%define prefix_dir", "%{_prefix}/%{name}"});
    input.Description = "%{name} shows 100% of it.\n  %pre is indented\nRun %post later.\n"
                        "%prefix and %preamble\n\tTabbed %{?dist}";
    input.Changes += "\n- Moved %files to %{_datadir}";
    const TSpecText spec = Compose_Spec_Text(input);
    QVERIFY2(spec.Is_Complete(), qPrintable(spec.Error));
    QVERIFY(spec.Text.contains("\n%description\n" + input.Description + "\n"));
    QVERIFY(spec.Text.contains("- Moved %files to %{_datadir}\n"));
}

QTEST_GUILESS_MAIN(TSpecInputCheckTest)
#include "tst_specinputcheck.moc"
