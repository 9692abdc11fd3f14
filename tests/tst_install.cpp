#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QtTest>

#include "applicationicon.h"
#include "testsupport.h"

namespace
{
struct TRun
{
    int Exit;
    QString Out;
    QString Err;
};

// Runs `program` with no display of any kind in its environment, unless
// `platform` names one.
TRun Run(const QString& program, const QStringList& arguments, const QString& platform = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    if (!platform.isEmpty())
        environment.insert("QT_QPA_PLATFORM", platform);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        qFatal("%s did not finish", qPrintable(program));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The value of `key` in the desktop entry's main group, as written.
QString Entry_Value(const QString& entry, const QString& key)
{
    for (const QString& line : entry.split('\n'))
        if (line.startsWith(key + "="))
            return line.mid(key.size() + 1);
    return QString();
}
}

class TInstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void installPutsProgramsEntryAndIconsUnderThePrefix();
    void editorAnswersWithoutADisplay();
    void editorStillStartsOnAPlatformWithoutDisplay();

private:
    QTemporaryDir d_folder;
    QString d_prefix;
};

// Installs this build once, into a prefix with a space in its name.
void TInstallTest::initTestCase()
{
    d_prefix = d_folder.path() + "/my tools";
    const TRun install = Run(KV_CMAKE_COMMAND, {"--install", KV_BUILD_DIR, "--prefix", d_prefix});
    QVERIFY2(install.Exit == 0, qPrintable(install.Out + install.Err));
}

void TInstallTest::installPutsProgramsEntryAndIconsUnderThePrefix()
{
    for (const char* program : {"kestrelvantory", "kestrelvantory-cli"})
        QVERIFY2(QFileInfo(d_prefix + "/bin/" + program).isExecutable(), program);

    const QString entry_path = d_prefix + "/share/applications/kestrelvantory.desktop";
    const TRun validate = Run("desktop-file-validate", {entry_path});
    QCOMPARE(validate.Out + validate.Err, QString());
    QCOMPARE(validate.Exit, 0);
    const QString entry = QString::fromUtf8(Test::Read_File(entry_path));
    QCOMPARE(Entry_Value(entry, "Exec"), "\"" + d_prefix + "/bin/kestrelvantory\"");
    QCOMPARE(Entry_Value(entry, "Icon"), QString("kestrelvantory"));
    QCOMPARE(Entry_Value(entry, "Type"), QString("Application"));

    // The theme's pictures are the window's icon at the same sizes.
    const QIcon window_icon = Application_Icon();
    for (const int size : {48, 128, 256})
    {
        const QString path = QString("%1/share/icons/hicolor/%2x%2/apps/kestrelvantory.png")
                                 .arg(d_prefix).arg(size);
        const QImage installed(path);
        QCOMPARE(installed.size(), QSize(size, size));
        QCOMPARE(window_icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32),
                 installed.convertToFormat(QImage::Format_ARGB32));
    }
}

void TInstallTest::editorAnswersWithoutADisplay()
{
    const QString editor = d_prefix + "/bin/kestrelvantory";
    const TRun help = Run(editor, {"--help"});
    QCOMPARE(help.Exit, 0);
    QVERIFY2(help.Out.contains("--data-folder <folder>") && help.Out.contains("--version"),
             qPrintable(help.Out));
    const TRun version = Run(editor, {"--version"});
    QCOMPARE(version.Exit, 0);
    QCOMPARE(version.Out, QString("kestrelvantory 1.0\n"));

    const TRun start = Run(editor, {"--data-folder", d_folder.path() + "/panels"});
    QCOMPARE(start.Exit, 1);
    QVERIFY2(start.Err.contains("there is no display") &&
                 start.Err.contains("xvfb-run -a " + editor),
             qPrintable(start.Err));
    QVERIFY(!QFileInfo::exists(d_folder.path() + "/panels"));

    const TRun wrong = Run(editor, {"--data-folder"});
    QCOMPARE(wrong.Exit, 2);
    QVERIFY2(wrong.Err.contains("Usage:"), qPrintable(wrong.Err));
}

// The offscreen platform the tests use needs no display; the editor runs
// until it is stopped.
void TInstallTest::editorStillStartsOnAPlatformWithoutDisplay()
{
    Test::TFreshHome home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(d_prefix + "/bin/kestrelvantory", {"--data-folder", home.Path() + "/panels"});
    QVERIFY(editor.waitForStarted());
    QTRY_VERIFY(QFileInfo(home.Path() + "/panels").isDir());
    QCOMPARE(editor.state(), QProcess::Running);
    editor.kill();
    editor.waitForFinished();
}

QTEST_MAIN(TInstallTest)
#include "tst_install.moc"
