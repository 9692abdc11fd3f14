// The parts of the package report read from the built package: on which
// distribution releases its requirements can be met, and rpmlint's findings.

#include <QtTest>

#include "package/distributionreleases.h"
#include "package/lintreport.h"

namespace
{
// Two releases that differ in each library, the second older in all.
const std::vector<TDistributionRelease> Releases = {
    {"New 1 and its kin", "New 1", "2.36", "3.4.30", "1.3.13"},
    {"Old 2", "Old 2", "2.28", "3.4.25", "1.3.11"},
};

QStringList Requirements(const QString& symbols)
{
    QStringList requirements = {"/bin/sh", "libc.so.6()(64bit)", "rtld(GNU_HASH)"};
    for (const QString& symbol : symbols.split(' ', Qt::SkipEmptyParts))
    {
        const QString library = symbol.startsWith("GLIBC_") ? "libc.so.6" : "libstdc++.so.6";
        requirements << library + "(" + symbol + ")(64bit)";
    }
    return requirements;
}

// rpmlint's output on a bundled program, as Debian's rpmlint prints it.
const char* const Lint_Output = R"(============================ rpmlint session starts ============================
rpmlint: 2.4.0
configuration:
    /usr/lib/python3/dist-packages/rpmlint/configdefaults.toml
checks: 26, packages: 1

demo.x86_64: W: unstripped-binary-or-object /usr/lib64/demo/bin/demo
demo.x86_64: E: no-signature
demo.x86_64: E: missing-hash-section /usr/lib64/demo/lib/libQt5Core.so.5.15.8
demo.x86_64: E: missing-hash-section /usr/lib64/demo/lib/libQt5Gui.so.5.15.8
demo.x86_64: E: zero-length /usr/lib64/demo/W: odd
demo.x86_64: W: invalid-license MIT E: too
 1 packages and 0 specfiles checked; 4 errors, 2 warnings, 4 badness; has taken 5.5 s
)";
}

class TPackageReportTest : public QObject
{
    Q_OBJECT

private slots:
    void firstLackingLibraryIsNamed_data();
    void firstLackingLibraryIsNamed();
    void reportListsFittingReleasesThenTheOthers();
    void tableHoldsTheCurrentReleases();
    void lintFindingsAreCountedByKind();
};

void TPackageReportTest::firstLackingLibraryIsNamed_data()
{
    QTest::addColumn<QString>("symbols");
    QTest::addColumn<QString>("on_new");  // what the new release lacks
    QTest::addColumn<QString>("on_old");

    QTest::newRow("nothing versioned") << "" << "" << "";
    QTest::newRow("all met") << "GLIBC_2.2.5 GLIBC_2.28 GLIBCXX_3.4 GLIBCXX_3.4.25 CXXABI_1.3.11"
                             << "" << "";
    QTest::newRow("numbers, not text") << "GLIBC_2.4 GLIBC_2.3.4 GLIBCXX_3.4.9 CXXABI_1.3.2"
                                       << "" << "";
    QTest::newRow("C++ library too new")
        << "GLIBC_2.17 GLIBCXX_3.4.29" << "" << "needs GLIBCXX_3.4.29; Old 2 has up to 3.4.25";
    QTest::newRow("the newest needed, wherever listed")
        << "GLIBCXX_3.4.31 GLIBCXX_3.4.26 GLIBCXX_3.4.9"
        << "needs GLIBCXX_3.4.31; New 1 has up to 3.4.30"
        << "needs GLIBCXX_3.4.31; Old 2 has up to 3.4.25";
    QTest::newRow("C library before C++")
        << "GLIBCXX_3.4.30 GLIBC_2.34" << "" << "needs GLIBC_2.34; Old 2 has up to 2.28";
    QTest::newRow("C++ ABI alone")
        << "GLIBCXX_3.4.20 CXXABI_1.3.13" << "" << "needs CXXABI_1.3.13; Old 2 has up to 1.3.11";
    QTest::newRow("one number more") << "GLIBC_2.36.1" << "needs GLIBC_2.36.1; New 1 has up to 2.36"
                                     << "needs GLIBC_2.36.1; Old 2 has up to 2.28";
    QTest::newRow("private symbols name no release") << "GLIBC_PRIVATE GLIBCXX_TUNABLES" << ""
                                                     << "";
    QTest::newRow("relative relocations came with 2.36")
        << "GLIBC_ABI_DT_RELR" << "" << "needs GLIBC_ABI_DT_RELR; Old 2 has up to 2.28";
}

void TPackageReportTest::firstLackingLibraryIsNamed()
{
    QFETCH(QString, symbols);
    QFETCH(QString, on_new);
    QFETCH(QString, on_old);
    QCOMPARE(Missing_Capability(Requirements(symbols), Releases[0]), on_new);
    QCOMPARE(Missing_Capability(Requirements(symbols), Releases[1]), on_old);
}

// 32-bit requirements carry no "(64bit)".
void TPackageReportTest::reportListsFittingReleasesThenTheOthers()
{
    QCOMPARE(Where_It_Installs({"libc.so.6(GLIBC_2.0)"}, Releases),
             QStringList{"Installs on: New 1 and its kin, Old 2"});
    QCOMPARE(Where_It_Installs({"libc.so.6(GLIBC_2.34)", "libstdc++.so.6(GLIBCXX_3.4.30)"},
                               Releases),
             QStringList({"Installs on: New 1 and its kin",
                          "Does not install on Old 2: needs GLIBC_2.34; Old 2 has up to 2.28"}));
    QCOMPARE(Where_It_Installs(Requirements("GLIBC_2.40"), Releases),
             QStringList({"Installs on: none of the releases known",
                          "Does not install on New 1 and its kin: needs GLIBC_2.40; New 1 has up "
                          "to 2.36",
                          "Does not install on Old 2: needs GLIBC_2.40; Old 2 has up to 2.28"}));
}

// A package built on Debian 12 (glibc 2.36, gcc 12) needs what the older
// enterprise releases lack, and every family the report promises is there.
void TPackageReportTest::tableHoldsTheCurrentReleases()
{
    const QStringList lines = Where_It_Installs(Requirements("GLIBC_2.34 GLIBCXX_3.4.30 CXXABI_1.3.13"));
    QCOMPARE(lines.size(), 3);
    for (const char* release : {"Fedora 4", "RHEL 10 and its rebuilds", "openSUSE Leap 15.",
                                   "openSUSE Tumbleweed", "Mageia 9"})
        QVERIFY2(lines[0].contains(release), qPrintable(lines[0]));
    QCOMPARE(lines[1], QString("Does not install on RHEL 8 and its rebuilds: needs GLIBC_2.34; "
                               "RHEL 8 has up to 2.28"));
    QCOMPARE(lines[2], QString("Does not install on RHEL 9 and its rebuilds: needs "
                               "GLIBCXX_3.4.30; RHEL 9 has up to 3.4.29"));
    for (const TDistributionRelease& release : Distribution_Releases())
        for (const QString& version : {release.Glibc, release.Glibcxx, release.Cxxabi})
            QVERIFY2(QRegularExpression("^[0-9]+(\\.[0-9]+)+$").match(version).hasMatch(),
                     qPrintable(release.Name));
}

// Only the finding lines count, each once, by the kind that follows the
// letter; the kinds every bundle gets say why.
void TPackageReportTest::lintFindingsAreCountedByKind()
{
    const TLintFindings findings = Read_Lint_Output(Lint_Output);
    QCOMPARE(findings.Errors, (std::map<QString, int>{
                                  {"missing-hash-section", 2}, {"no-signature", 1}, {"zero-length", 1}}));
    QCOMPARE(findings.Warnings, (std::map<QString, int>{{"invalid-license", 1},
                                                        {"unstripped-binary-or-object", 1}}));
    const QStringList lines = Lint_Report_Lines(findings);
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QString("rpmlint: 4 errors, 2 warnings"));
    QVERIFY2(lines[1].startsWith("rpmlint E: missing-hash-section (2): the bundled libraries "),
             qPrintable(lines[1]));
    QCOMPARE(lines[2], QString("rpmlint E: no-signature (1): sign the package before publishing it"));
    QCOMPARE(lines[3], QString("rpmlint E: zero-length (1)"));
    QCOMPARE(lines[4], QString("rpmlint W: invalid-license (1)"));
    QCOMPARE(Lint_Report_Lines(Read_Lint_Output("")),
             QStringList{"rpmlint: 0 errors, 0 warnings"});
}

QTEST_MAIN(TPackageReportTest)
#include "tst_packagereport.moc"
