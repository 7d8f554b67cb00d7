// The "+DIR" folder scan against throw-away folders: pattern order, which names count, and
// name order within a pattern whatever order the file system lists them in.
#include "playlist/folderscan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// Builds entries in folder: "name" a file, "name/" a folder, "sub/name" a file in a folder,
// "name->target" a symbolic link, "name|" a named pipe.
bool build(const QString& folder, const QStringList& entries)
{
    QDir dir(folder);
    for (const QString& entry : entries) {
        if (entry.endsWith(u'|')) {
            if (::mkfifo(QFile::encodeName(dir.filePath(entry.chopped(1))).constData(), 0600) != 0)
                return false;
        } else if (entry.contains(QStringLiteral("->"))) {
            const QStringList link = entry.split(QStringLiteral("->"));
            if (!QFile::link(link[1], dir.filePath(link[0])))
                return false;
        } else if (entry.endsWith(u'/')) {
            if (!dir.mkpath(entry))
                return false;
        } else {
            QFile file(dir.filePath(entry));
            if (!file.open(QIODevice::WriteOnly))
                return false;
        }
    }
    return true;
}

// The names as the operating system lists them, read without Qt.
QStringList listedOrder(const QString& folder)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (dir == nullptr)
        return names;
    while (const dirent* entry = ::readdir(dir))
        names << QFile::decodeName(entry->d_name);
    ::closedir(dir);
    return names;
}

} // namespace

class TestFolderScan : public QObject
{
    Q_OBJECT
private slots:
    void collectsMediaFiles_data();
    void collectsMediaFiles();
    void sortsWhateverTheListingOrder();
    void missingFolderGivesNothing();
};

void TestFolderScan::collectsMediaFiles_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("expectedNames");
    QTest::addColumn<QStringList>("expectedDisplayNames");

    QTest::newRow("all six patterns")
        << QStringList{"f.dat", "e.divx", "d.asf", "c.avi", "b.mpeg", "a.mpg"}
        << QStringList{"a.mpg", "b.mpeg", "c.avi", "d.asf", "e.divx", "f.dat"}
        << QStringList{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("today's types after the six, in the open dialog's order")
        << QStringList{"c.mp3", "b.webm", "a.avi", "d.mkv", "e.MP4", "f.m2ts", "g.ts"}
        << QStringList{"a.avi", "e.MP4", "d.mkv", "b.webm", "g.ts", "f.m2ts", "c.mp3"}
        << QStringList{"a", "e", "d", "b", "g", "f", "c"};
    QTest::newRow("natural order, case aside")
        << QStringList{"ep10.avi", "Ep2.avi", "ep1.avi", "EP03.avi", "b.avi", "B.avi"}
        << QStringList{"B.avi", "b.avi", "ep1.avi", "Ep2.avi", "EP03.avi", "ep10.avi"}
        << QStringList{"B", "b", "ep1", "Ep2", "EP03", "ep10"};
    QTest::newRow("wmv files only")
        << QStringList{"a.wmv", "b.WMV"} << QStringList() << QStringList();
    QTest::newRow("upper-case extensions")
        << QStringList{"LOUD.AVI", "Mixed.MpG"} << QStringList{"Mixed.MpG", "LOUD.AVI"}
        << QStringList{"Mixed", "LOUD"};
    QTest::newRow("display name ends at the first dot")
        << QStringList{"my.film.avi"} << QStringList{"my.film.avi"} << QStringList{"my"};
    QTest::newRow("extension as written, not a longer one")
        << QStringList{"a.mpgx", "b.xmpg", "c.avi.txt", "d.mp", "noextension"} << QStringList()
        << QStringList();
    QTest::newRow("hidden files left out") << QStringList{".secret.avi", ".mpg", "shown.avi"}
                                           << QStringList{"shown.avi"} << QStringList{"shown"};
    QTest::newRow("folders left out, subfolders not searched")
        << QStringList{"x.avi/", "sub/", "sub/inner.mpg"} << QStringList() << QStringList();
    QTest::newRow("links to files taken, links to folders and broken links not")
        << QStringList{"real.bin", "linked.avi->real.bin", "folder/", "dirlink.mpg->folder",
                       "broken.mpg->missing.bin"}
        << QStringList{"linked.avi"} << QStringList{"linked"};
    // Reading any of these could block or never end.
    QTest::newRow("only regular files: no pipe, device or folder, nor links to them")
        << QStringList{"a.avi",
                       "pipe.avi|",
                       "null.avi->/dev/null",
                       "zero.mpg->/dev/zero",
                       "folder.mpg/",
                       "pipelink.avi->pipe.avi",
                       "b.mpg->a.avi"}
        << QStringList{"b.mpg", "a.avi"} << QStringList{"b", "a"};
}

void TestFolderScan::collectsMediaFiles()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, expectedNames);
    QFETCH(QStringList, expectedDisplayNames);

    QTemporaryDir dir;
    QVERIFY(build(dir.path(), entries));

    // A folder given with a trailing separator joins its names with that one separator.
    for (const QString& folder : {dir.path(), dir.path() + u'/'}) {
        QStringList paths;
        QStringList displayNames;
        for (const PlaylistEntry& entry : FolderScan::scan(folder).entries) {
            paths << entry.path;
            displayNames << entry.displayName;
        }
        QStringList expectedPaths;
        for (const QString& name : expectedNames)
            expectedPaths << dir.path() + u'/' + name;
        QCOMPARE(paths, expectedPaths);
        QCOMPARE(displayNames, expectedDisplayNames);
    }
}

void TestFolderScan::sortsWhateverTheListingOrder()
{
    // tmpfs lists the newest file first and ext4 in hash order: names made in their own order
    // come back listed in another.
    QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                          ? QStringLiteral("/dev/shm/scan-XXXXXX")
                          : QString());
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected << QStringLiteral("ep%1.avi").arg(i);
    QVERIFY(build(dir.path(), expected));
    QStringList listed = listedOrder(dir.path());
    listed.removeAll(QStringLiteral("."));
    listed.removeAll(QStringLiteral(".."));
    QVERIFY(listed != expected);

    QStringList names;
    const FolderScan::Found all = FolderScan::scan(dir.path());
    for (const PlaylistEntry& entry : all.entries)
        names << entry.path.section(u'/', -1);
    QCOMPARE(names, expected);
    QVERIFY(!all.cut);

    // A list with room for five stops the listing at the fifth match.
    const FolderScan::Found some = FolderScan::scan(dir.path(), 5);
    QCOMPARE(some.entries.size(), 5);
    QVERIFY(some.cut);
}

void TestFolderScan::missingFolderGivesNothing()
{
    QTemporaryDir dir;
    QVERIFY(build(dir.path(), {"here.avi"}));
    QVERIFY(FolderScan::scan(dir.filePath(QStringLiteral("missing"))).entries.isEmpty());
    // An empty folder text is a cancelled picker, never the working folder.
    const QString working = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const bool empty = FolderScan::scan(QString()).entries.isEmpty();
    QVERIFY(QDir::setCurrent(working));
    QVERIFY(empty);
}

QTEST_GUILESS_MAIN(TestFolderScan)
#include "tst_folderscan.moc"
