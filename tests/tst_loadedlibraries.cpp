#include <QLibraryInfo>
#include <QProcess>
#include <QtTest>

#include "elf/lddoutput.h"
#include "elf/elfobject.h"
#include "elf/ldcache.h"
#include "elf/libraryresolver.h"
#include "elf/librarylisting.h"
#include "elf/loadedlibraries.h"
#include "elf/loaderhost.h"
#include "scan/requirementscan.h"

#include <sys/stat.h>

#include "craftedelf.h"
#include "testsupport.h"

namespace
{
QString Output_Of(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList Rows(const std::vector<TLoadedLibrary>& libraries)
{
    QStringList rows;
    for (const TLoadedLibrary& library : libraries)
        rows.append(library.Name + " => " + library.Path);
    return rows;
}

QStringList Ldd_Rows(const QString& file)
{
    return Rows(Ldd_Libraries(Output_Of("ldd", {file})));
}

// What "readelf" shows of the dynamic section: "NEEDED name", "SONAME name",
// "RUNPATH path" and "RPATH path" lines, in the section's order.
QStringList Readelf_Rows(const QString& file)
{
    static const QRegularExpression entry(
        "\\((NEEDED|SONAME|RUNPATH|RPATH)\\)\\s+\\S+ \\S+: \\[(.*)\\]");
    QStringList rows;
    for (const QString& line : Output_Of("readelf", {"-dW", file}).split('\n'))
    {
        const QRegularExpressionMatch match = entry.match(line);
        if (match.hasMatch())
            rows.append(match.captured(1) + " " + match.captured(2));
    }
    return rows;
}

QStringList Reader_Rows(const TElfObject& object)
{
    QStringList rows;
    for (const QByteArray& name : object.Needed)
        rows.append("NEEDED " + QString::fromUtf8(name));
    if (!object.Soname.isEmpty())
        rows.append("SONAME " + QString::fromUtf8(object.Soname));
    if (object.Has_Runpath)
        rows.append("RUNPATH " + QString::fromUtf8(object.Runpath));
    if (object.Has_Rpath)
        rows.append("RPATH " + QString::fromUtf8(object.Rpath));
    return rows;
}

QByteArray Bytes_Of(const QString& file)
{
    QFile input(file);
    return input.open(QIODevice::ReadOnly) ? input.readAll() : QByteArray();
}

void Patch(const QStringList& arguments)
{
    QProcess patchelf;
    patchelf.start("patchelf", arguments);
    QVERIFY(patchelf.waitForFinished(60000) && patchelf.exitCode() == 0);
}
}

// The reader against the real "ldd", "readelf" and "ldconfig" on real files,
// copies of them with search paths of their own, and damaged bytes.
class TLoadedLibrariesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readerListsWhatLddLists_data();
    void readerListsWhatLddLists();
    void dynamicSectionAsReadelfShowsIt();
    void cacheGivesTheLoadersPaths();
    void undecidedFilesAreLeftToLdd();
    void damagedBytesAreRefused();
    void hostileFilesAreRefusedAtOnce();
    void searchOfAWholeChainIsBounded();
    void filesThatAreNotRegularAreRefusedWithoutLdd();

private:
    QTemporaryDir d_folder;
    QString d_qt;
    QString d_plugins;
};

// An application folder as packagers make it: the Qt libraries in "lib"
// finding each other through $ORIGIN, the platform plug-in in "platforms"
// through $ORIGIN/../lib; and a plug-in whose old-style RPATH alone finds
// the libraries that its libraries load.
void TLoadedLibrariesTest::initTestCase()
{
    d_qt = QLibraryInfo::location(QLibraryInfo::LibrariesPath);
    d_plugins = QLibraryInfo::location(QLibraryInfo::PluginsPath);
    const QDir folder(d_folder.path());
    for (const char* name : {"lib", "platforms", "rpath"})
        QVERIFY(folder.mkpath(name));
    for (const char* name :
         {"libQt5Core.so.5", "libQt5Gui.so.5", "libQt5XcbQpa.so.5", "libQt5DBus.so.5"})
    {
        QVERIFY(QFile::copy(d_qt + "/" + name, folder.filePath(QString("lib/") + name)));
        Patch({"--set-rpath", "$ORIGIN", folder.filePath(QString("lib/") + name)});
    }
    QVERIFY(
        QFile::copy(d_plugins + "/platforms/libqxcb.so", folder.filePath("platforms/libqxcb.so")));
    Patch({"--set-rpath", "$ORIGIN/../lib", folder.filePath("platforms/libqxcb.so")});
    QVERIFY(QFile::copy(d_plugins + "/platforms/libqxcb.so", folder.filePath("rpath/libqxcb.so")));
    Patch({"--force-rpath", "--set-rpath", "/nowhere:${ORIGIN}/../lib",
           folder.filePath("rpath/libqxcb.so")});
    QVERIFY(Loader_Host().Error.isEmpty());
}

void TLoadedLibrariesTest::readerListsWhatLddLists_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("current_folder");
    QTest::addColumn<QByteArray>("library_path");

    const QString copies = d_folder.path();
    QTest::newRow("system library") << d_qt + "/libQt5Widgets.so.5" << QString() << QByteArray();
    QTest::newRow("system plug-in")
        << d_plugins + "/platforms/libqxcb.so" << QString() << QByteArray();
    QTest::newRow("program") << QString("/usr/bin/rpm") << QString() << QByteArray();
    QTest::newRow("RUNPATH $ORIGIN/../lib")
        << copies + "/platforms/libqxcb.so" << QString() << QByteArray();
    QTest::newRow("RPATH of the first file")
        << copies + "/rpath/libqxcb.so" << QString() << QByteArray();
    QTest::newRow("relative path") << "../platforms/libqxcb.so" << copies + "/lib" << QByteArray();
    QTest::newRow("bare name") << "libQt5Gui.so.5" << copies + "/lib" << QByteArray();
    QTest::newRow("LD_LIBRARY_PATH") << d_plugins + "/platforms/libqxcb.so" << QString()
                                     << (copies + "/nowhere::" + copies + "/lib").toUtf8();
}

void TLoadedLibrariesTest::readerListsWhatLddLists()
{
    QFETCH(QString, file);
    QFETCH(QString, current_folder);
    QFETCH(QByteArray, library_path);
    const QString previous_folder = QDir::currentPath();
    if (!current_folder.isEmpty())
        QDir::setCurrent(current_folder);
    qputenv("LD_LIBRARY_PATH", library_path);

    const TResolution resolution = TLibraryResolver().Resolve(file);
    const QStringList expected = Ldd_Rows(file);
    const TLoadedLibraries loaded = Loaded_Libraries(file);
    qunsetenv("LD_LIBRARY_PATH");
    QDir::setCurrent(previous_folder);

    QCOMPARE(resolution.Outcome, TResolution::Resolved);
    QVERIFY(expected.size() > 3);
    QCOMPARE(Rows(resolution.Libraries), expected);
    QVERIFY(loaded.Ok);
    QCOMPARE(Rows(loaded.Libraries), expected);
}

void TLoadedLibrariesTest::dynamicSectionAsReadelfShowsIt()
{
    for (const QString& file : {d_qt + "/libQt5Gui.so.5", d_folder.filePath("rpath/libqxcb.so"),
                                d_folder.filePath("lib/libQt5Core.so.5"), QString("/usr/bin/rpm")})
    {
        const TElfObject object = Read_Elf_Object(Bytes_Of(file));
        QVERIFY2(object.Is_Read(), qPrintable(file));
        QStringList expected = Readelf_Rows(file);
        std::stable_sort(expected.begin(), expected.end(),
                         [](const QString& left, const QString& right)
                         {
                             const QStringList order = {"NEEDED", "SONAME", "RUNPATH", "RPATH"};
                             return order.indexOf(left.section(' ', 0, 0)) <
                                    order.indexOf(right.section(' ', 0, 0));
                         });
        QCOMPARE(Reader_Rows(object), expected);
    }
}

void TLoadedLibrariesTest::cacheGivesTheLoadersPaths()
{
    const TLdCache cache = TLdCache::From_Bytes(Bytes_Of("/etc/ld.so.cache"));
    const QString listing = Output_Of("/sbin/ldconfig", {"-p"});
    for (const char* name : {"libz.so.1", "libc.so.6", "libQt5Core.so.5", "libstdc++.so.6"})
    {
        QByteArray path;
        QCOMPARE(cache.Find(name, Loader_Host().Cache_Kind, &path), TLdCache::Found);
        QVERIFY2(listing.contains(QString("\t%1 (libc6,x86-64) => %2\n").arg(name, QString(path))),
                 path.constData());
    }
    QByteArray path;
    QCOMPARE(cache.Find("libkv-nothing.so.1", Loader_Host().Cache_Kind, &path), TLdCache::Absent);
    const TLdCache cut = TLdCache::From_Bytes(Bytes_Of("/etc/ld.so.cache").left(1000));
    QCOMPARE(cut.Find("libz.so.1", Loader_Host().Cache_Kind, &path), TLdCache::Undecided);
}

// A library nowhere to be found, or a file that is not ELF at all: "ldd"
// decides, and the listing says what it said.
void TLoadedLibrariesTest::undecidedFilesAreLeftToLdd()
{
    const QString missing = d_folder.filePath("lib/libQt5DBus.so.5");
    Patch({"--add-needed", "libkv-missing.so.1", missing});
    QCOMPARE(TLibraryResolver().Resolve(missing).Outcome, TResolution::Needs_Ldd);
    const TLoadedLibraries loaded = Loaded_Libraries(missing);
    QVERIFY(loaded.Ok);
    QCOMPARE(Rows(loaded.Libraries), Ldd_Rows(missing));
    QVERIFY(Rows(loaded.Libraries).contains("libkv-missing.so.1 => "));

    const QString text = d_folder.filePath("notes.txt");
    QFile notes(text);
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Not a library.\n") > 0);
    notes.close();
    const TLoadedLibraries refused = Loaded_Libraries(text);
    QVERIFY(!refused.Ok);
    QVERIFY2(refused.Error.contains("not an ELF file"), qPrintable(refused.Error));
    QVERIFY(!Loaded_Libraries(d_folder.filePath("absent.so")).Ok);
}

// Truncated at any length, or with offsets and sizes overwritten, a real
// library never reads as a whole one.
void TLoadedLibrariesTest::damagedBytesAreRefused()
{
    const QByteArray whole = Bytes_Of(d_qt + "/libQt5Xml.so.5");
    QVERIFY(Read_Elf_Object(whole).Is_Read());
    QCOMPARE(Read_Elf_Object(whole.left(3)).Status, TElfObject::Not_Elf);
    QCOMPARE(Read_Elf_Object(whole.left(40)).Status, TElfObject::Too_Short);
    for (int length = whole.size() - 1; length > 0; length -= 1 + length / 64)
        QVERIFY2(!Read_Elf_Object(whole.left(length)).Is_Read(),
                 qPrintable(QString::number(length)));
    // Cut after its dynamic section, it still says which libraries it needs.
    const int dynamic_end = Test::Dynamic_Section_End(whole);
    const TElfObject cut = Read_Elf_Object(whole.left(dynamic_end));
    QCOMPARE(cut.Status, TElfObject::Cut_Short);
    QVERIFY2(cut.Error.startsWith(
                 QString("the file is cut short: it ends at byte %1 of the ").arg(dynamic_end)),
             qPrintable(cut.Error));

    // Program-header offset, entry count, and every 8 bytes of the program
    // headers set to all ones in turn.
    for (int at : {32, 56})
    {
        QByteArray damaged = whole;
        damaged.replace(at, 8, QByteArray(8, '\xff'));
        QVERIFY(!Read_Elf_Object(damaged).Is_Read());
    }
    for (int at = 64; at < 64 + 56 * 12; at += 8)
    {
        QByteArray damaged = whole;
        damaged.replace(at, 8, QByteArray(8, '\xff'));
        const TElfObject object = Read_Elf_Object(damaged);
        QVERIFY(object.Is_Read() || !object.Error.isEmpty());
    }
}

// Files no real program resembles end at once, refused by name; "ldd" is
// not asked, as it would take minutes and gigabytes on them.
void TLoadedLibrariesTest::hostileFilesAreRefusedAtOnce()
{
    const quint16 machine = Loader_Host().Machine;
    QList<quint32> one_name;
    for (int index = 0; index < 65000; ++index)
        one_name.append(1);
    const QByteArray flood =
        Test::Crafted_Elf(machine, one_name, '\0' + QByteArray(65000, 'a') + '\0');

    QByteArray strings(1, '\0');
    QList<quint32> names;
    for (int index = 0; index < 300; ++index)
    {
        names.append(static_cast<quint32>(strings.size()));
        strings += "libkv-none" + QByteArray::number(index) + ".so" + '\0';
    }
    const qint64 rpath = strings.size();
    QByteArrayList folders;
    for (int index = 0; index < 3800; ++index)
        folders.append("/nowhere/" + QByteArray::number(index));
    const QByteArray searching =
        Test::Crafted_Elf(machine, names, strings + folders.join(':') + '\0', rpath);
    // A usable file whose library is the flood.
    const QByteArray loading =
        Test::Crafted_Elf(machine, {1}, QByteArray("\0libkv-flood.so\0$ORIGIN\0", 24), 16);

    const QString lib = d_folder.filePath("hostile/lib");
    QDir().mkpath(lib);
    const struct
    {
        QString File;
        QByteArray Bytes;
        QString Refused;
        QString Reason;
    } cases[] = {
        {"libkv-flood.so", flood, "libkv-flood.so", "it needs 65000 libraries, more than 1024"},
        {"libkv-search.so", searching, "libkv-search.so",
         "its search paths of 3800 folders for 300 libraries make more than 20000 places to "
         "look into"},
        {"libkv-loading.so", loading, "libkv-flood.so", "it needs 65000 libraries, more than 1024"},
    };
    QStringList refusals;
    for (const auto& hostile : cases)
    {
        QFile file(lib + "/" + hostile.File);
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(hostile.Bytes) == hostile.Bytes.size());
        file.close();
        const TLoadedLibraries loaded = Loaded_Libraries(file.fileName());
        QVERIFY(!loaded.Ok);
        refusals.append(
            QString("\"%1/%2\" is not examined: %3").arg(lib, hostile.Refused, hostile.Reason));
        QCOMPARE(loaded.Error, refusals.last());
    }

    // The requirements scan names each file it did not examine.
    TRequirementScan scan(TRequirementScan::Default_Wait_Ms);
    scan.Scan(d_folder.filePath("hostile"), {"lib"});
    QStringList reported = scan.Report().Refused_Files;
    reported.sort();
    refusals.sort();
    QCOMPARE(reported, refusals);
    QVERIFY2(Scan_Problems(scan.Report()).contains(refusals.first()),
             qPrintable(Scan_Problems(scan.Report())));
}

// Each library of a chain needs the next one, found in the last of 6,000
// folders of its RPATH: 12,000 steps a library (the folders, then a look into
// each), well under the bound of one file's own search paths. Eight links
// resolve; the ninth takes the whole search past its bound of 100,000.
void TLoadedLibrariesTest::searchOfAWholeChainIsBounded()
{
    const quint16 machine = Loader_Host().Machine;
    QByteArrayList folders;
    for (int index = 0; index < 5999; ++index)
        folders.append("/n" + QByteArray::number(index));
    folders.append("$ORIGIN");
    const QString lib = d_folder.filePath("chain");
    QVERIFY(QDir().mkpath(lib));
    const auto link = [&](int index) {
        return lib + "/libkv-chain" + QString::number(index) + ".so";
    };
    for (int index = 0; index <= 9; ++index)
    {
        const QByteArray next = "libkv-chain" + QByteArray::number(index + 1) + ".so";
        const QByteArray bytes =
            index == 9 ? Test::Crafted_Elf(machine, {}, QByteArray(1, '\0'))
                       : Test::Crafted_Elf(machine, {1}, '\0' + next + '\0' + folders.join(':') +
                                                             '\0',
                                           next.size() + 2);
        QFile file(link(index));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const TLibraryResolver resolver;
    const TResolution eight = resolver.Resolve(link(1));
    QVERIFY2(eight.Outcome == TResolution::Resolved, qPrintable(eight.Reason));
    QCOMPARE(int(eight.Libraries.size()), 8);
    const TResolution nine = resolver.Resolve(link(0));
    QCOMPARE(nine.Outcome, TResolution::Refused);
    QCOMPARE(nine.Reason, QString("\"%1\" is not examined: finding its libraries takes more than "
                                  "100000 searches")
                              .arg(link(0)));
}

// A named pipe would keep "ldd" waiting for a writer forever: neither the
// file asked about nor a library found on the way is opened for reading.
void TLoadedLibrariesTest::filesThatAreNotRegularAreRefusedWithoutLdd()
{
    const QString folder = d_folder.filePath("irregular");
    QVERIFY(QDir().mkpath(folder + "/lib"));
    const QString fifo = folder + "/program";
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString library_fifo = folder + "/lib/libkv-fifo.so";
    QCOMPARE(mkfifo(QFile::encodeName(library_fifo).constData(), 0600), 0);
    const QByteArray strings = QByteArray(1, '\0') + "libkv-fifo.so" + '\0' + "$ORIGIN/lib" + '\0';
    const QByteArray loading = Test::Crafted_Elf(Loader_Host().Machine, {1}, strings, 15);
    Test::Write_File(folder + "/loading.so", loading);
    const struct
    {
        QString File;
        QString Refused;
    } cases[] = {
        {fifo, fifo},
        {folder + "/lib", folder + "/lib"},
        {"/dev/null", "/dev/null"},
        {folder + "/loading.so", library_fifo},
    };
    for (const auto& irregular : cases)
    {
        const TLibraryListing listing =
            List_Libraries(TLibraryResolver(), irregular.File, 60000, nullptr);
        QVERIFY2(!listing.Libraries.Ok, qPrintable(irregular.File));
        QVERIFY2(!listing.Ldd_Asked, qPrintable(irregular.File));
        QCOMPARE(listing.Libraries.Error,
                 QString("\"%1\" is not examined: it is not a regular file").arg(irregular.Refused));
    }
}

QTEST_MAIN(TLoadedLibrariesTest)
#include "tst_loadedlibraries.moc"
