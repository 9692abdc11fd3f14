// End to end with real package managers: the command-line tool packages the
// sample Qt Widgets program twice, as 1.0-1 and 1.1-1, into one repository,
// signed with a throwaway GnuPG key. dnf --installroot then installs,
// upgrades, downgrades and erases it in a root whose only other package is
// a base system, with signature checking on, and refuses a package changed
// after signing; zypper --root installs and erases it too. The repository
// is made once, by the two signedRepository functions, in a folder of the
// build tree; each other test function, run as a ctest entry of its own,
// installs from it into a root of its own.

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

#include "basesystem.h"
#include "installroot.h"
#include "package/repository.h"
#include "package/signaturecheck.h"
#include "package/signingkey.h"
#include "packagemanagers.h"
#include "testsupport.h"

namespace
{
using Test::Run;
using Test::TRun;

QString Described(const TRun& run)
{
    return QString("exit %1\n%2\n%3").arg(run.Exit).arg(run.Out.right(3000), run.Err.right(3000));
}

// The folder the repository is made in, kept for the other test functions.
QString Work(const QString& relative = QString())
{
    return QDir::cleanPath(QString(KV_REPOSITORY_WORK) + "/" + relative);
}

QString Sample(const QString& file = QString())
{
    return QDir::cleanPath(QString(KV_TEST_DATA) + "/qtdemo/" + file);
}

// An environment whose GnuPG keyring is `keyring`.
QProcessEnvironment With_Keyring(const QString& keyring)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("GNUPGHOME", keyring);
    return environment;
}

// A new keyring holding one new key for `user`, with `passphrase` (which
// may be empty); gives the key's fingerprint.
QString Make_Key(const QString& keyring, const QString& user, const QString& passphrase)
{
    if (!QDir().mkpath(keyring) || !QFile::setPermissions(keyring, QFile::ReadOwner |
                                                                     QFile::WriteOwner |
                                                                     QFile::ExeOwner))
        return QString();
    const QProcessEnvironment environment = With_Keyring(keyring);
    const TRun made = Run("gpg", {"--batch", "--pinentry-mode", "loopback", "--passphrase",
                                  passphrase, "--quick-gen-key", user, "default", "default",
                                  "never"},
                          environment);
    const TRun listed =
        Run("gpg", {"--batch", "--with-colons", "--list-secret-keys", user}, environment);
    const QStringList fingerprints = listed.Out.split('\n').filter(QRegularExpression("^fpr:"));
    if (made.Exit != 0 || fingerprints.isEmpty())
        qWarning("%s\n%s", qPrintable(Described(made)), qPrintable(Described(listed)));
    return fingerprints.value(0).section(':', 9, 9);
}

// A data folder and %{_topdir} for the sample, with its desktop entry and
// icon; gives the package command's arguments for them.
QStringList Package_Setup(const QString& folder)
{
    const QString data = folder + "/data";
    const QString top = folder + "/top";
    if (Run(KV_CLI_PATH, {"init", "--data-folder", data}).Exit != 0 ||
        !QDir().mkpath(top + "/desktop_menu"))
        return {};
    Test::Write_File(top + "/desktop_menu/qtdemo.desktop",
                     "[Desktop Entry]\nType=Application\nName=Qt demo\nExec=qtdemo\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    icon.save(top + "/desktop_menu/qtdemo.png");
    return {"package", "--data-folder", data, "--set", "%define _topdir=" + top, "--set",
            "%define name=qtdemo", "--requirements", "ignore"};
}

// The files of the tool's .repo file, as the report ends with them.
QString Repo_Text_Of_Report(const QString& report)
{
    return report.section("for /etc/yum.repos.d/ or \"zypper addrepo\":\n", 1);
}

// The paths of the packages below `folder`.
QStringList Packages_In(const QString& folder)
{
    QStringList packages;
    QDirIterator found(folder, {"*.rpm"}, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        packages.append(found.next());
    packages.sort();
    return packages;
}

// The package manager did all it was asked, every scriptlet included.
void Verify_Done(const Test::TManagerRun& run)
{
    QVERIFY2(run.Ok && !run.Output.contains("scriptlet failed"), qPrintable(run.Output));
}

// A small noarch package "tiny" built below `top`; its path, or empty.
QString Tiny_Package(const QString& top)
{
    QDir().mkpath(top + "/SPECS");
    Test::Write_File(top + "/SPECS/tiny.spec",
                     "Name: tiny\nVersion: 1\nRelease: 1\nSummary: s\nLicense: MIT\n"
                     "BuildArch: noarch\n%description\nd\n%install\nmkdir -p %{buildroot}/opt\n"
                     "echo tiny > %{buildroot}/opt/tiny\n%files\n/opt/tiny\n");
    const TRun build = Run("rpmbuild", {"-bb", "--define", "_topdir " + top,
                                        top + "/SPECS/tiny.spec"});
    if (build.Exit != 0)
        qWarning("%s", qPrintable(Described(build)));
    const QString rpm = top + "/RPMS/noarch/tiny-1-1.noarch.rpm";
    return QFileInfo::exists(rpm) ? rpm : QString();
}

QString Installed_Version(const QString& root, const QString& name)
{
    const TRun query = Run("rpm", Test::Rpm_Root_Options(root) +
                                      QStringList{"-q", "--qf", "%{VERSION}-%{RELEASE}", name});
    return query.Exit == 0 ? query.Out : QString("not installed");
}
}

class TRepositoryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void repositoryFileNamesFolderAndKeyAsUrls();
    void signatureCheckWantsTheKeysOwnSignature();
    void publishingKeepsOtherVersionsAndTellsAReplacedOne();
    void unusableSigningKeysAreFoundBeforeBuilding();
    void signedRepositoryTakesTheFirstRelease();
    void signedRepositoryTakesTheNextRelease();
    void dnfInstallsUpgradesDowngradesAndErases();
    void dnfRefusesAPackageChangedAfterSigning();
    void zypperInstallsAndErases();
    void cleanupTestCase();

private:
    void Build_Sample();
    void Make_Release(const QStringList& setup, const QString& version);
    void Make_Base_System();
    void Need_Repository();
    void Make_Root(const QString& root);
    QString Path(const QString& relative) const { return d_temporary.path() + "/" + relative; }

    QTemporaryDir d_temporary;
};

void TRepositoryTest::initTestCase()
{
    for (const char* tool : {"gpg", "rpmsign", "rpmkeys", "createrepo_c", "dnf", "zypper",
                             "rpmbuild", "cmake", "busybox"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
}

void TRepositoryTest::cleanupTestCase()
{
    Test::Stop_Gpg_Agents(d_temporary.path());
    Test::Stop_Gpg_Agents(Work());
}

// The repository id is one dnf takes; paths become file URLs, encoded.
void TRepositoryTest::repositoryFileNamesFolderAndKeyAsUrls()
{
    QCOMPARE(Repo_File_Text("qt+demo", "/srv/my packages", QString()),
             QString("[qt_demo]\nname=qt_demo\nbaseurl=file:///srv/my%20packages\nenabled=1\n"
                     "gpgcheck=0\n"));
    QCOMPARE(Repo_File_Text("demo", "/srv/repo", "/srv/repo/RPM-GPG-KEY-demo"),
             QString("[demo]\nname=demo\nbaseurl=file:///srv/repo\nenabled=1\ngpgcheck=1\n"
                     "repo_gpgcheck=1\ngpgkey=file:///srv/repo/RPM-GPG-KEY-demo\n"));
}

// rpmkeys passes an unsigned package with its digests alone; the check
// wants a signature, and one of the signing key.
void TRepositoryTest::signatureCheckWantsTheKeysOwnSignature()
{
    const QString signer = Make_Key(Path("keys"), "Signer <signer@example.org>", "");
    const QString other = Make_Key(Path("keys"), "Other <other@example.org>", "");
    QVERIFY(!signer.isEmpty() && !other.isEmpty());
    const QString rpm = Tiny_Package(Path("tiny"));
    QVERIFY(!rpm.isEmpty());

    qputenv("GNUPGHOME", Path("keys").toLocal8Bit());
    QString error;
    const QByteArray signer_key = TSigningKey(signer).Public_Key(&error);
    const QByteArray other_key = TSigningKey(other).Public_Key(&error);
    QVERIFY2(!signer_key.isEmpty() && !other_key.isEmpty(), qPrintable(error));
    QVERIFY(Signature_Failure(rpm, signer_key).startsWith(
        "the package's signature does not verify with the signing key: "));
    QVERIFY2(TSigningKey(signer).Sign_Package(rpm, &error), qPrintable(error));
    QCOMPARE(Signature_Failure(rpm, signer_key), QString());
    QVERIFY(!Signature_Failure(rpm, other_key).isEmpty());
    qunsetenv("GNUPGHOME");
}

// Unsigned, the .repo file checks nothing and the report says so; a
// package of the same file name as one there is replaced, and told; no
// signature of earlier metadata stays.
void TRepositoryTest::publishingKeepsOtherVersionsAndTellsAReplacedOne()
{
    const QString rpm = Tiny_Package(Path("tiny"));
    QVERIFY(!rpm.isEmpty());
    const QString repository = Path("repository");
    QVERIFY(QDir().mkpath(repository));
    QVERIFY(QFile::copy(rpm, repository + "/tiny-0.9-1.noarch.rpm"));
    const TPublished first = Publish_Package(rpm, repository, "tiny", nullptr);
    QCOMPARE(first.Error, QString());
    QCOMPARE(first.Rpm, repository + "/tiny-1-1.noarch.rpm");
    QCOMPARE(first.Repo_Text, Repo_File_Text("tiny", repository, QString()));
    QCOMPARE(Test::Read_File(first.Repo_File), first.Repo_Text.toUtf8());
    QCOMPARE(first.Notes,
             QStringList({"the repository \"" + repository + "\" holds 2 packages; createrepo_c "
                          "refreshed its metadata",
                          "the package is not signed: package managers that check signatures "
                          "refuse it until a signing key signs it"}));
    QVERIFY(Test::Read_File(repository + "/repodata/repomd.xml").contains("primary"));

    // A signature of earlier metadata goes: it would not match the new.
    Test::Write_File(repository + "/repodata/repomd.xml.asc", "earlier signature");
    const TPublished again = Publish_Package(rpm, repository, "tiny", nullptr);
    QVERIFY(!QFileInfo::exists(repository + "/repodata/repomd.xml.asc"));
    QCOMPARE(again.Error, QString());
    QVERIFY2(again.Notes.value(1).startsWith("the repository held a package of this version and "
                                             "release already, which is now replaced"),
             qPrintable(again.Notes.join('\n')));
    QCOMPARE(QDir(repository).entryList({"*.rpm*"}, QDir::Files),
             QStringList({"tiny-0.9-1.noarch.rpm", "tiny-1-1.noarch.rpm"}));

    Test::Write_File(Path("not-a-folder"), "x");
    QVERIFY(Repository_Problems(Path("not-a-folder"))
                .contains("the repository \"" + Path("not-a-folder") + "\" is not a folder"));
    QVERIFY(!Publish_Package(rpm, Path("not-a-folder"), "tiny", nullptr).Error.isEmpty());
}

// A key that is not there, one without its secret part, and one whose
// passphrase nobody gave: each is told before anything is made, and
// nothing waits for a passphrase.
void TRepositoryTest::unusableSigningKeysAreFoundBeforeBuilding()
{
    const QString missing = Make_Key(Path("other"), "Other <other@example.org>", "");
    const QString locked = Make_Key(Path("locked"), "Locked <locked@example.org>", "secret");
    QVERIFY(!missing.isEmpty() && !locked.isEmpty());
    const TRun exported = Run("gpg", {"--batch", "--armor", "--export", missing},
                              With_Keyring(Path("other")));
    Test::Write_File(Path("other.asc"), exported.Out.toLatin1());
    const TRun imported = Run("gpg", {"--batch", "--import", Path("other.asc")},
                              With_Keyring(Path("locked")));
    QVERIFY2(imported.Exit == 0, qPrintable(Described(imported)));
    // The agent forgets the passphrase it was given when the key was made.
    Run("gpgconf", {"--kill", "gpg-agent"}, With_Keyring(Path("locked")));

    const QStringList setup = Package_Setup(Path("package"));
    QVERIFY(!setup.isEmpty());
    const struct
    {
        QString Key;
        QString Problem;
    } cases[] = {
        {"nobody@example.org", "the signing key \"nobody@example.org\" is not in the GnuPG "
                               "keyring " + Path("locked")},
        {missing, "the signing key \"" + missing + "\" has no secret part in the GnuPG keyring " +
                      Path("locked") + ": it can check signatures, not make them"},
        {locked, "the signing key \"" + locked + "\" needs its passphrase, which the GnuPG "
                 "agent does not hold and cannot ask for here"},
    };
    for (const auto& unusable : cases)
    {
        const TRun package = Run(KV_CLI_PATH,
                                 setup + QStringList{"--sign", unusable.Key, "--repository",
                                                     Path("repository")},
                                 With_Keyring(Path("locked")));
        QCOMPARE(package.Exit, 1);
        QVERIFY2(Test::Without_Warnings(package.Err)
                     .startsWith("kestrelvantory-cli: nothing was built; the preflight found:\n"),
                 qPrintable(Described(package)));
        QVERIFY2(package.Err.contains("\n  " + unusable.Problem), qPrintable(Described(package)));
        QCOMPARE(package.Err.count("signing key"), 1);
    }
    QVERIFY(!QFileInfo::exists(Path("package/top/SPECS")));
    QVERIFY(!QFileInfo::exists(Path("repository")));
}

void TRepositoryTest::Build_Sample()
{
    const TRun configure = Run("cmake", {"-S", Sample(), "-B", Work("qtdemo-build")});
    QVERIFY2(configure.Exit == 0, qPrintable(Described(configure)));
    const TRun build = Run("cmake", {"--build", Work("qtdemo-build")});
    QVERIFY2(build.Exit == 0, qPrintable(Described(build)));
    QVERIFY(QDir().mkpath(Work("home")));
    Test::Write_File(Work("home/.rpmmacros"), "%_binary_payload w1.gzdio\n");
}

// Packages the sample as `version`-1 into the repository, signed.
void TRepositoryTest::Make_Release(const QStringList& setup, const QString& version)
{
    QProcessEnvironment environment = With_Keyring(Work("gnupg"));
    environment.insert("HOME", Work("home"));
    const QString key = QString::fromLatin1(Test::Read_File(Work("key")));
    const TRun package =
        Run(KV_CLI_PATH,
            setup + QStringList{"--set", "%define version=" + version, "--program",
                                Work("qtdemo-build/qtdemo"), "--source", Sample(), "--generator",
                                "cmake", "--repository", Work("repository"), "--sign", key},
            environment);
    QVERIFY2(package.Exit == 0, qPrintable(Described(package)));

    // The report gives the package inside the repository, and ends with the
    // .repo file the repository now holds.
    const QString repository = Work("repository");
    const QString rpm = repository + "/qtdemo-" + version + "-1.x86_64.rpm";
    QVERIFY2(package.Out.contains("\n" + rpm + "\nThe repository file \"" + repository +
                                  "/qtdemo.repo\", "),
             qPrintable(Described(package)));
    const QString text = Repo_Text_Of_Report(package.Out);
    QCOMPARE(text, QString::fromUtf8(Test::Read_File(repository + "/qtdemo.repo")));
    QCOMPARE(text, QString("[qtdemo]\nname=qtdemo\nbaseurl=file://%1\nenabled=1\ngpgcheck=1\n"
                           "repo_gpgcheck=1\ngpgkey=file://%1/RPM-GPG-KEY-qtdemo\n")
                       .arg(repository));

    // Signed with the key, as rpm reads the signature.
    const TRun signature = Run("rpm", {"-qp", "--qf", "%{RSAHEADER:pgpsig}", rpm});
    QVERIFY2(signature.Out.contains(key.right(16).toLower()), qPrintable(Described(signature)));
}

// The base system the sample's packages need: what its bundle loads from
// the host.
void TRepositoryTest::Make_Base_System()
{
    QStringList shipped = {Work("qtdemo-build/qtdemo")};
    QDirIterator bundle(Work("package/top/shared_libs"), QDir::Files, QDirIterator::Subdirectories);
    while (bundle.hasNext())
        shipped.append(bundle.next());
    QString error;
    const Test::TBaseSystem base = Test::Base_System_For(shipped, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString built = Test::Build_Base_System_Package(base, Work(), &error);
    QVERIFY2(!built.isEmpty(), qPrintable(error));
}

// The first release goes into a new repository, signed, with signed
// metadata and the public key beside it.
void TRepositoryTest::signedRepositoryTakesTheFirstRelease()
{
    QVERIFY(QDir(Work()).removeRecursively());
    const QString key = Make_Key(Work("gnupg"), "Repository Test <repository@example.org>", "");
    QVERIFY(!key.isEmpty());
    Test::Write_File(Work("key"), key.toLatin1());
    CHECK(Build_Sample());
    const QStringList setup = Package_Setup(Work("package"));
    QVERIFY(!setup.isEmpty());
    CHECK(Make_Release(setup, "1.0"));

    const QString repository = Work("repository");
    const QByteArray public_key = Test::Read_File(repository + "/RPM-GPG-KEY-qtdemo");
    QVERIFY(public_key.startsWith("-----BEGIN PGP PUBLIC KEY BLOCK-----"));
    QCOMPARE(Test::Read_File(repository + "/repodata/repomd.xml.key"), public_key);
    CHECK(Make_Base_System());
    Test::Write_File(Work("setup"), setup.join('\n').toUtf8());
    Test::Stop_Gpg_Agents(Work());
}

// The next release joins it; the first stays, for downgrades, and the
// metadata, signed afresh, lists both.
void TRepositoryTest::signedRepositoryTakesTheNextRelease()
{
    const QString repository = Work("repository");
    QVERIFY2(QFileInfo::exists(Work("setup")),
             "signedRepositoryTakesTheFirstRelease makes the repository this one adds to");
    const QStringList setup = QString::fromUtf8(Test::Read_File(Work("setup"))).split('\n');
    CHECK(Make_Release(setup, "1.1"));
    QCOMPARE(Packages_In(repository), QStringList({repository + "/qtdemo-1.0-1.x86_64.rpm",
                                                   repository + "/qtdemo-1.1-1.x86_64.rpm"}));
    const QString repomd = repository + "/repodata/repomd.xml";
    const TRun verified = Run("gpg", {"--batch", "--verify", repomd + ".asc", repomd},
                              With_Keyring(Work("gnupg")));
    QVERIFY2(verified.Exit == 0, qPrintable(Described(verified)));
    Test::Stop_Gpg_Agents(Work());
}

void TRepositoryTest::Need_Repository()
{
    QVERIFY2(QFileInfo::exists(Work("repository/qtdemo.repo")) &&
                 !Packages_In(Work("base-system/RPMS")).isEmpty(),
             "signedRepositoryTakesTheNextRelease makes the repository the others use");
}

// An install root holding the base system, installed with rpm, and the
// shared folders a distribution's own file-system package brings along.
void TRepositoryTest::Make_Root(const QString& root)
{
    const QString made = Test::Make_Install_Root(root);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    for (const char* folder : {"/usr/lib", "/usr/lib64", "/usr/share/applications",
                               "/usr/share/pixmaps", "/var/tmp"})
        QVERIFY(QDir().mkpath(root + folder));
    const TRun base = Run("rpm", Test::Rpm_Root_Options(root) +
                                     QStringList{"-i", Packages_In(Work("base-system/RPMS"))[0]});
    QVERIFY2(base.Exit == 0, qPrintable(Described(base)));
}

void TRepositoryTest::dnfInstallsUpgradesDowngradesAndErases()
{
    if (geteuid() != 0)
        QSKIP("installing into a root with dnf or zypper needs root");
    CHECK(Need_Repository());
    const QString root = Path("root");
    CHECK(Make_Root(root));
    const QStringList before = Test::Root_Tree(root);
    const QString repos = Work("repository");

    const Test::TManagerRun install = Test::Dnf(root, repos, "qtdemo", {"install", "qtdemo-1.0"});
    CHECK(Verify_Done(install));
    QVERIFY2(install.Output.contains("Importing GPG key"), qPrintable(install.Output));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("1.0-1"));
    QVERIFY(QFileInfo(root + "/usr/bin/qtdemo").isSymLink());

    const Test::TManagerRun upgrade = Test::Dnf(root, repos, "qtdemo", {"upgrade", "qtdemo"});
    CHECK(Verify_Done(upgrade));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("1.1-1"));

    const Test::TManagerRun downgrade = Test::Dnf(root, repos, "qtdemo", {"downgrade", "qtdemo"});
    CHECK(Verify_Done(downgrade));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("1.0-1"));

    const Test::TManagerRun erase = Test::Dnf(root, repos, "qtdemo", {"remove", "qtdemo"});
    CHECK(Verify_Done(erase));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("not installed"));
    QCOMPARE(Test::Root_Tree(root), before);
    Test::Stop_Gpg_Agents(root);
}

// The 1.1 package of a copy of the repository has some bytes changed after
// signing, and the metadata is made and signed afresh to match it, so that
// only the package's own signature can tell: dnf installs 1.0, then refuses
// the update and leaves 1.0 in place.
void TRepositoryTest::dnfRefusesAPackageChangedAfterSigning()
{
    if (geteuid() != 0)
        QSKIP("installing into a root with dnf or zypper needs root");
    CHECK(Need_Repository());
    const QString copy = Path("tampered");
    QVERIFY(QDir().mkpath(copy));
    for (const QString& file : QDir(Work("repository")).entryList(QDir::Files))
        QVERIFY(QFile::copy(Work("repository/" + file), copy + "/" + file));
    Test::Write_File(copy + "/qtdemo.repo", Test::Read_File(copy + "/qtdemo.repo")
                                                .replace(Work("repository").toUtf8(),
                                                         copy.toUtf8()));
    QFile package(copy + "/qtdemo-1.1-1.x86_64.rpm");
    QVERIFY(package.open(QIODevice::ReadWrite));
    package.seek(package.size() / 2);
    const QByteArray bytes = package.read(16);
    package.seek(package.size() / 2);
    QByteArray changed = bytes;
    for (char& byte : changed)
        byte = char(~byte);
    package.write(changed);
    package.close();
    const TRun createrepo = Run("createrepo_c", {"--quiet", copy});
    QVERIFY2(createrepo.Exit == 0, qPrintable(Described(createrepo)));
    const TRun signed_again =
        Run("gpg", {"--batch", "--yes", "--armor", "--detach-sign", "--local-user",
                    QString::fromLatin1(Test::Read_File(Work("key"))),
                    copy + "/repodata/repomd.xml"},
            With_Keyring(Work("gnupg")));
    QVERIFY2(signed_again.Exit == 0, qPrintable(Described(signed_again)));
    Test::Write_File(copy + "/repodata/repomd.xml.key",
                     Test::Read_File(copy + "/RPM-GPG-KEY-qtdemo"));

    const QString root = Path("root");
    CHECK(Make_Root(root));
    const Test::TManagerRun install = Test::Dnf(root, copy, "qtdemo", {"install", "qtdemo-1.0"});
    CHECK(Verify_Done(install));
    const Test::TManagerRun upgrade = Test::Dnf(root, copy, "qtdemo", {"upgrade", "qtdemo"});
    QVERIFY2(!upgrade.Ok && upgrade.Output.contains("GPG check FAILED"),
             qPrintable(upgrade.Output));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("1.0-1"));
    Test::Stop_Gpg_Agents(root);
    Test::Stop_Gpg_Agents(Work());
}

void TRepositoryTest::zypperInstallsAndErases()
{
    if (geteuid() != 0)
        QSKIP("installing into a root with dnf or zypper needs root");
    CHECK(Need_Repository());
    const QString root = Path("root");
    CHECK(Make_Root(root));
    const QStringList before = Test::Root_Tree(root);
    const Test::TManagerRun added =
        Test::Zypper(root, {"addrepo", Work("repository/qtdemo.repo")});
    CHECK(Verify_Done(added));
    const Test::TManagerRun install = Test::Zypper(root, {"install", "qtdemo"});
    CHECK(Verify_Done(install));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("1.1-1"));
    const Test::TManagerRun erase = Test::Zypper(root, {"remove", "qtdemo"});
    CHECK(Verify_Done(erase));
    QCOMPARE(Installed_Version(root, "qtdemo"), QString("not installed"));
    QCOMPARE(Test::Root_Tree(root), before);
}

QTEST_MAIN(TRepositoryTest)
#include "tst_repository.moc"
