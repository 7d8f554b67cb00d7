// Playlist files: the bytes written, reading them back, odd files, and saves that fail.
#include "engine/mediagate.h"
#include "playlist/orvformat.h"
#include "playlist/pathstore.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Bytes of a literal, embedded NULs included.
template <std::size_t N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

QByteArray fileBytes(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool putFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// count path markers in a row, then a double quote: count entries, each but the last holding
// the marker's own text up to the quote that ends the next marker.
QByteArray markerRun(qsizetype count)
{
    const QByteArray marker(OrvFormat::PathMarker.data(), OrvFormat::PathMarker.size());
    return marker.repeated(count) + '"';
}

QStringList manyPaths(int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/home/viewer/Movies/Holiday %1/clip number %1.avi").arg(i);
    return paths;
}

// stat replaces the name swapAfterStat by swapIn just after its look, as another program could.
QByteArray swapAfterStat, swapIn;

qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System).size();
}

// A small file system of its own, so that a save can meet a full disk.
class SmallTmpfs
{
public:
    explicit SmallTmpfs(const QString& path) : m_path(path.toLocal8Bit())
    {
        m_mounted =
            ::mount("tmpfs", m_path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
    }
    ~SmallTmpfs()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

// Limits the size of every file this process writes, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

bool fillDisk(const QString& fileName)
{
    QFile filler(fileName);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    return true;
}

enum class Trouble
{
    FolderIsAFile,
    TargetIsAFolder,
    FullDisk,
    FileSizeLimit
};

// What stands at a playlist's name when it is read.
enum class Refused
{
    Missing,
    Folder,
    NamedPipe,
    PipeAfterTheCheck,
    LinkToEndlessDevice,
    OneBytePastTheLimit,
    OneEntryPastTheLimit
};

bool makeRefused(Refused kind, const QString& fileName)
{
    switch (kind) {
    case Refused::Missing:
        return true;
    case Refused::Folder:
        return QDir().mkdir(fileName);
    case Refused::NamedPipe:
        return ::mkfifo(QFile::encodeName(fileName).constData(), 0600) == 0;
    case Refused::PipeAfterTheCheck:
        swapIn = QFile::encodeName(fileName + QStringLiteral(".pipe"));
        swapAfterStat = QFile::encodeName(fileName);
        return putFile(fileName, "<ref href = \"/m/a.avi\"") && ::mkfifo(swapIn, 0600) == 0;
    case Refused::LinkToEndlessDevice:
        return QFile::link(QStringLiteral("/dev/zero"), fileName);
    case Refused::OneBytePastTheLimit: {
        // Sparse: takes no room on the disk. Read, it would pass the count limit first.
        QFile file(fileName);
        return file.open(QIODevice::WriteOnly) &&
               file.write(markerRun(OrvFormat::MaxEntries + 1)) &&
               file.resize(OrvFormat::MaxFileBytes + 1);
    }
    case Refused::OneEntryPastTheLimit:
        return putFile(fileName, markerRun(OrvFormat::MaxEntries + 1));
    }
    return false;
}

} // namespace

extern "C" int stat(const char* path, struct stat* info) noexcept
{
    const int result = ::fstatat(AT_FDCWD, path, info, 0);
    if (!swapAfterStat.isEmpty() && swapAfterStat == path) {
        swapAfterStat.clear();
        std::rename(swapIn.constData(), path);
    }
    return result;
}

class TestOrvFormat : public QObject
{
    Q_OBJECT
private slots:
    void writesExactBytes_data();
    void writesExactBytes();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void savingReplacesTheWholeFile();
    void refusesPathsItCannotHold_data();
    void refusesPathsItCannotHold();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void readsOddContent_data();
    void readsOddContent();
    void leavesOutEntriesLongerThanAPath_data();
    void leavesOutEntriesLongerThanAPath();
    void unreadableFileGivesNothing_data();
    void unreadableFileGivesNothing();
    void readsEntryNames_data();
    void readsEntryNames();
    void resolvesEntries_data();
    void resolvesEntries();
};

void TestOrvFormat::writesExactBytes_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QByteArray>("expected");

    const QStringList header{
        QStringLiteral("<ORV Version = \"1.1\" >"),
        QString(),
        QStringLiteral("<Param Name = \"Name\" Value = \"Orvella Playlist - ORV Format - \" />"),
        QStringLiteral("<Param Name = \"AllowShuffle\" Value = \"yes\" />"),
        QString(),
    };
    const QString closing = QStringLiteral("</ORV>");

    QTest::newRow("empty playlist: six lines")
        << QStringList() << crlfLines(header + QStringList{closing});
    QTest::newRow("two entries")
        << QStringList{QStringLiteral("C:\\Movies\\a.avi"), QStringLiteral("D:\\Clips\\b.mpg")}
        << crlfLines(header + QStringList{
                                  QStringLiteral("<Entry>"),
                                  QStringLiteral("<Param Name = \"name\" Value = \"a.avi\" />"),
                                  QStringLiteral("<ref href = \"C:\\Movies\\a.avi\" />"),
                                  QStringLiteral("</Entry>"),
                                  QString(),
                                  QStringLiteral("<Entry>"),
                                  QStringLiteral("<Param Name = \"name\" Value = \"b.mpg\" />"),
                                  QStringLiteral("<ref href = \"D:\\Clips\\b.mpg\" />"),
                                  QStringLiteral("</Entry>"),
                                  QString(),
                                  closing,
                              });
}

void TestOrvFormat::writesExactBytes()
{
    QFETCH(QStringList, paths);
    QFETCH(QByteArray, expected);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QCOMPARE(OrvFormat::write(buffer, paths), QString());
    QCOMPARE(buffer.data(), expected);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.orv"));
    QCOMPARE(OrvFormat::save(fileName, paths), QString());
    QCOMPARE(fileBytes(fileName), expected);
}

void TestOrvFormat::readsBackWhatItWrote_data()
{
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("no entries") << QStringList();
    QTest::newRow("duplicates stay")
        << QStringList{QStringLiteral("/m/a.avi"), QStringLiteral("/m/a.avi")};
    QTest::newRow("spaces, angle brackets and accents")
        << QStringList{QStringLiteral("/m/Été à la plage <1>.mpg"), QStringLiteral("/m/映画.avi")};
    QTest::newRow("line ends inside a path")
        << QStringList{QStringLiteral("/m/two\r\nlines.avi"), QStringLiteral("/m/b.avi")};
    QTest::newRow("empty path") << QStringList{QString(), QStringLiteral("/m/b.avi")};
    QTest::newRow("marker text inside a path")
        << QStringList{QStringLiteral("/m/<ref href = x.avi")};
    QTest::newRow("past a megabyte of entries") << manyPaths(40000);
    QTest::newRow("one path as long as a path may be")
        << QStringList{QStringLiteral("/m/a.avi"), QStringLiteral("/m/") + QString(2046, u'é'),
                       QStringLiteral("/m/b.avi")};
}

void TestOrvFormat::readsBackWhatItWrote()
{
    QFETCH(QStringList, paths);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.orv"));
    QCOMPARE(OrvFormat::save(fileName, paths), QString());
    const OrvFormat::PathsRead read = OrvFormat::readPaths(fileName);
    QCOMPARE(read.paths, paths);
    QVERIFY(read.complete);

    // Packed as they are read, as the playlist keeps them, each resolved beside the file.
    PathStore packed;
    const OrvFormat::PathsTaken taken = OrvFormat::readPathsInto(fileName, dir.path(), packed);
    QStringList resolved;
    for (const QString& path : paths)
        resolved << OrvFormat::resolveEntry(path, dir.path());
    QCOMPARE(packed.toList(), resolved);
    QVERIFY(taken.complete);
}

void TestOrvFormat::savingReplacesTheWholeFile()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.orv"));
    QVERIFY(OrvFormat::save(fileName, manyPaths(50)).isEmpty());

    const QStringList shorter{QStringLiteral("/m/only.avi")};
    QCOMPARE(OrvFormat::save(fileName, shorter), QString());
    QCOMPARE(fileBytes(fileName), OrvFormat::serialize(shorter));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("list.orv")});
}

void TestOrvFormat::refusesPathsItCannotHold_data()
{
    QTest::addColumn<QString>("refused");

    QTest::newRow("double quote") << QStringLiteral("/m/say \"cheese\".avi");
    QTest::newRow("unpaired surrogate")
        << (QStringLiteral("/m/broken") + QChar(0xD800) + QStringLiteral(".avi"));
    QTest::newRow("ends in the marker text") << QStringLiteral("/m/x<ref href = ");
    QTest::newRow("longer than any path") << QStringLiteral("/m/") + QString(4093, u'x');
}

void TestOrvFormat::refusesPathsItCannotHold()
{
    QFETCH(QString, refused);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.orv"));
    const QByteArray old = OrvFormat::serialize({QStringLiteral("/m/old.avi")});
    QVERIFY(putFile(fileName, old));

    const QStringList paths{QStringLiteral("/m/fine.avi"), refused};
    const QString error = OrvFormat::save(fileName, paths);
    QVERIFY2(error.contains(MediaGate::printable(refused)), qPrintable(error));
    QCOMPARE(fileBytes(fileName), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("list.orv")});

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(!OrvFormat::write(buffer, paths).isEmpty());
    QCOMPARE(buffer.data(), QByteArray());
}

void TestOrvFormat::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("folder is a file") << Trouble::FolderIsAFile << 200 << QString();
    QTest::newRow("target is a folder") << Trouble::TargetIsAFolder << 200 << QString();
    QTest::newRow("full disk") << Trouble::FullDisk << 200
                               << QStringLiteral("No space left on device");
    // Small enough to sit in a write buffer until the end, large enough to pass the limit.
    QTest::newRow("file size limit, small playlist")
        << Trouble::FileSizeLimit << 20 << QStringLiteral("File too large");
    QTest::newRow("file size limit, large playlist")
        << Trouble::FileSizeLimit << 2000 << QStringLiteral("File too large");
}

void TestOrvFormat::failedSaveKeepsOldFile()
{
    QFETCH(Trouble, trouble);
    QFETCH(int, entries);
    QFETCH(QString, expectedError);

    QTemporaryDir dir;
    QString folder = dir.path();
    std::unique_ptr<SmallTmpfs> tmpfs;
    if (trouble == Trouble::FullDisk) {
        folder = dir.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkdir(folder));
        tmpfs = std::make_unique<SmallTmpfs>(folder);
        if (!tmpfs->mounted())
            QSKIP("cannot mount a small tmpfs here (needs root or CAP_SYS_ADMIN); the file size "
                  "limit row still covers a write that fails midway");
    }

    const QString oldFile = folder + QStringLiteral("/list.orv");
    const QByteArray old = OrvFormat::serialize({QStringLiteral("/m/old.avi")});
    QVERIFY(putFile(oldFile, old));

    QString target = oldFile;
    if (trouble == Trouble::FolderIsAFile)
        target = oldFile + QStringLiteral("/list.orv");
    if (trouble == Trouble::TargetIsAFolder) {
        target = folder + QStringLiteral("/folder.orv");
        QVERIFY(QDir().mkdir(target));
    }
    if (trouble == Trouble::FullDisk)
        QVERIFY(fillDisk(folder + QStringLiteral("/filler")));
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);

    const qsizetype descriptors = openDescriptors();
    QString error;
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (trouble == Trouble::FileSizeLimit)
            limit = std::make_unique<FileSizeLimit>(1024);
        error = OrvFormat::save(target, manyPaths(entries));
    }

    QVERIFY(!error.isEmpty());
    if (!expectedError.isEmpty())
        QVERIFY2(error.contains(expectedError), qPrintable(error));
    QCOMPARE(fileBytes(oldFile), old);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                    QDir::NoDotAndDotDot),
             before);
    QCOMPARE(openDescriptors(), descriptors);
    if (trouble == Trouble::TargetIsAFolder)
        QVERIFY(QFileInfo(target).isDir());
}

void TestOrvFormat::readsOddContent_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("complete");

    QTest::newRow("empty file") << QByteArray() << QStringList() << true;
    QTest::newRow("no marker") << QByteArray("<ORV Version = \"1.1\" >\r\n</ORV>\r\n")
                               << QStringList() << true;
    QTest::newRow("upper-case marker")
        << QByteArray("<REF HREF = \"/m/a.avi\" />\r\n") << QStringList() << true;
    QTest::newRow("no spaces around the equals sign")
        << QByteArray("<ref href=\"/m/a.avi\" />\r\n") << QStringList() << true;
    QTest::newRow("last marker without closing quote")
        << QByteArray("<ref href = \"/m/a.avi\" />\r\n<ref href = \"/m/b.avi />\r\n")
        << QStringList{QStringLiteral("/m/a.avi")} << false;
    QTest::newRow("marker at the very end")
        << QByteArray("<ref href = \"") << QStringList() << false;
    QTest::newRow("empty path") << QByteArray("<ref href = \"\" />") << QStringList{QString()}
                                << true;
    QTest::newRow("path across a line end") << QByteArray("<ref href = \"/m/a\r\nb.avi\" />")
                                            << QStringList{QStringLiteral("/m/a\r\nb.avi")} << true;
    QTest::newRow("a marker inside a path starts another one")
        << QByteArray("<ref href = \"<ref href = \"/m/b.avi\" />")
        << QStringList{QStringLiteral("<ref href = "), QStringLiteral("/m/b.avi")} << true;
    QTest::newRow("text around the markers is ignored")
        << QByteArray("junk<ref href = \"/m/a.avi\"more junk\r\n\r\n <Entry> "
                      "<ref href = \"/m/b.avi\"")
        << QStringList{QStringLiteral("/m/a.avi"), QStringLiteral("/m/b.avi")} << true;
    QTest::newRow("binary garbage around a marker")
        << raw("\x00\xff\xfe\x80\x01<ref href = \"/m/a.avi\"\x00\xc3\x28\x9f")
        << QStringList{QStringLiteral("/m/a.avi")} << true;
    QTest::newRow("accented path") << QString::fromUtf8("<ref href = \"/m/été.avi\"").toLocal8Bit()
                                   << QStringList{QStringLiteral("/m/été.avi")} << true;
    QTest::newRow("byte order mark starts a path")
        << QByteArray("<ref href = \"\xef\xbb\xbf/m/a.avi\"")
        << QStringList{QChar(0xfeff) + QStringLiteral("/m/a.avi")} << true;
    QTest::newRow("bytes the encoding cannot read in a path")
        << QByteArray("<ref href = \"/m/\xc3(\xff.avi\"")
        << QStringList{QStringLiteral("/m/\ufffd(\ufffd.avi")} << true;
    QStringList atTheLimit(OrvFormat::MaxEntries - 1, QStringLiteral("<ref href = "));
    atTheLimit << QString();
    QTest::newRow("as many entries as the limit allows")
        << markerRun(OrvFormat::MaxEntries) << atTheLimit << true;

    // Files are read in blocks of 64 KiB: an entry across a block's end, and a first
    // non-ASCII byte only in a later block.
    const QByteArray first("<ref href = \"/m/a.avi\"");
    const QStringList both{QStringLiteral("/m/a.avi"), QStringLiteral("/m/b.avi")};
    for (const int into : {1, 12, 13, 14, 21})
        QTest::addRow("block ends %d bytes into an entry", into)
            << first + QByteArray(65536 - first.size() - into, ' ') + "<ref href = \"/m/b.avi\""
            << both << true;
    QTest::newRow("marker cut off at a block's end")
        << first + QByteArray(65536 - first.size() - 5, ' ') + "<ref " << QStringList{both[0]}
        << true;
    const QByteArray prefix =
        first + QByteArray(65536 - first.size() - 17, ' ') + "<ref href = \"/m/";
    QTest::newRow("a character across a block's end")
        << prefix + QString::fromUtf8("é.avi\"").toLocal8Bit()
        << QStringList{both[0], QStringLiteral("/m/é.avi")} << true;
    QTest::newRow("accented path in a later block")
        << first + QByteArray(70000, ' ') + QString::fromUtf8("<ref href = \"/m/é\"").toLocal8Bit()
        << QStringList{both[0], QStringLiteral("/m/é")} << true;
}

void TestOrvFormat::readsOddContent()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QFETCH(bool, complete);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("odd.orv"));
    QVERIFY(putFile(fileName, content));
    const OrvFormat::PathsRead read = OrvFormat::readPaths(fileName);
    QCOMPARE(read.paths, expected);
    QCOMPARE(read.complete, complete);
}

void TestOrvFormat::leavesOutEntriesLongerThanAPath_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("leftOut");
    QTest::addColumn<bool>("complete");
    const QByteArray a = "<ref href = \"/m/a.avi\" />\r\n";
    const auto entry = [](qsizetype bytes) {
        return "<ref href = \"/" + QByteArray(bytes - 1, 'x') + "\" />\r\n";
    };
    QTest::newRow("4095 bytes") << a + entry(4095) + a
                                << QStringList{"/m/a.avi", '/' + QString(4094, u'x'), "/m/a.avi"}
                                << 0 << true;
    QTest::newRow("4096 bytes") << a + entry(4096) + a << QStringList{"/m/a.avi", "/m/a.avi"} << 1
                                << true;
    QTest::newRow("5000 bytes, twice")
        << entry(5000) + a + entry(5000) << QStringList{"/m/a.avi"} << 2 << true;
    QTest::newRow("across many blocks")
        << a + entry(200000) << QStringList{"/m/a.avi"} << 1 << true;
    // The reader still takes a marker inside the value left out, as it would in any value.
    QTest::newRow("an entry inside one left out")
        << "<ref href = \"/" + QByteArray(5000, 'x') + a << QStringList{"/m/a.avi"} << 1 << true;
    QTest::newRow("never closed") << a + "<ref href = \"/" + QByteArray(300000, 'x')
                                  << QStringList{"/m/a.avi"} << 1 << true;
}

void TestOrvFormat::leavesOutEntriesLongerThanAPath()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QFETCH(int, leftOut);
    QFETCH(bool, complete);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("long.orv"));
    QVERIFY(putFile(fileName, content));
    PathStore packed;
    const OrvFormat::PathsTaken taken = OrvFormat::readPathsInto(fileName, dir.path(), packed);
    QCOMPARE(packed.toList(), expected);
    QCOMPARE(taken.complete, complete);
    QCOMPARE(taken.notice.isEmpty(), leftOut == 0);
    if (leftOut > 0)
        QVERIFY2(taken.notice.contains(QStringLiteral("Left out %1 ").arg(leftOut)),
                 qPrintable(taken.notice));
}

void TestOrvFormat::unreadableFileGivesNothing_data()
{
    QTest::addColumn<Refused>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << Refused::Missing << QStringLiteral("No such file");
    QTest::newRow("a folder") << Refused::Folder << QStringLiteral("it is a folder, not a file");
    // A pipe would block the read for good, a device would never end it.
    QTest::newRow("a named pipe") << Refused::NamedPipe
                                  << QStringLiteral("it is a named pipe, not a file");
    // The name may point elsewhere once it is opened.
    QTest::newRow("a named pipe once checked")
        << Refused::PipeAfterTheCheck << QStringLiteral("it is a named pipe, not a file");
    QTest::newRow("a link to /dev/zero")
        << Refused::LinkToEndlessDevice << QStringLiteral("it is a device, not a file");
    QTest::newRow("one byte past the size limit")
        << Refused::OneBytePastTheLimit << QStringLiteral("is too large: more than 256 MiB");
    QTest::newRow("one entry past the count limit")
        << Refused::OneEntryPastTheLimit
        << QStringLiteral("is too large: more than 1048576 entries");
}

void TestOrvFormat::unreadableFileGivesNothing()
{
    QFETCH(Refused, kind);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("list.orv"));
    QVERIFY(makeRefused(kind, fileName));
    const qsizetype descriptors = openDescriptors();

    const OrvFormat::PathsRead read = OrvFormat::readPaths(fileName);
    QCOMPARE(read.paths, QStringList());
    QVERIFY(!read.complete);
    QVERIFY2(read.refusal.startsWith(QStringLiteral("The playlist file ") + fileName) &&
                 read.refusal.contains(reason),
             qPrintable(read.refusal));

    // The names are counted by their own marker, which this file lacks.
    if (kind != Refused::OneEntryPastTheLimit) {
        const OrvFormat::NamesRead names = OrvFormat::readNames(fileName);
        QCOMPARE(names.names, QStringList());
        QCOMPARE(names.error, read.refusal);
    }
    QCOMPARE(openDescriptors(), descriptors);
}

void TestOrvFormat::readsEntryNames_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("fails");

    QTest::newRow("a written playlist")
        << OrvFormat::serialize({QStringLiteral("C:\\Movies\\a.avi"), QStringLiteral("/m/b.mpg")})
        << QStringList{QStringLiteral("a.avi"), QStringLiteral("b.mpg")} << false;
    QTest::newRow("header's own name parameter is not an entry")
        << OrvFormat::serialize({}) << QStringList() << false;
    QTest::newRow("name without closing quote")
        << QByteArray("<Param Name = \"name\" Value = \"one\" />"
                      "<Param Name = \"name\" Value = \"two />")
        << QStringList{QStringLiteral("one")} << true;
}

void TestOrvFormat::readsEntryNames()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QFETCH(bool, fails);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("names.orv"));
    QVERIFY(putFile(fileName, content));
    const OrvFormat::NamesRead read = OrvFormat::readNames(fileName);
    QCOMPARE(read.names, expected);
    QCOMPARE(!read.error.isEmpty(), fails);
}

void TestOrvFormat::resolvesEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    const QString lists = QStringLiteral("/home/viewer/lists");
    QTest::newRow("absolute") << "/m/a.avi" << lists << "/m/a.avi";
    QTest::newRow("relative, in a subfolder")
        << "./sub//b.avi" << lists << "/home/viewer/lists/sub/b.avi";
    QTest::newRow("relative, upwards") << "../../c.avi" << lists << "/home/c.avi";
    QTest::newRow("beside a list in the root folder") << "a.avi"
                                                      << "/"
                                                      << "/a.avi";
    QTest::newRow("empty stays empty") << "" << lists << "";
    QTest::newRow("file URL kept") << "file:///m/a.avi" << lists << "file:///m/a.avi";
    QTest::newRow("scheme with plus, digit and dot kept")
        << "rtsp+tcp.2://host/x" << lists << "rtsp+tcp.2://host/x";
    QTest::newRow("a scheme begins with a letter")
        << "2x://host/x" << lists << "/home/viewer/lists/2x:/host/x";
    QTest::newRow("a drive letter is no scheme")
        << "C:\\Movies\\a.avi" << lists << "/home/viewer/lists/C:\\Movies\\a.avi";
}

void TestOrvFormat::resolvesEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, folder);
    QFETCH(QString, expected);

    QCOMPARE(OrvFormat::resolveEntry(entry, folder), expected);
}

QTEST_GUILESS_MAIN(TestOrvFormat)
#include "tst_orvformat.moc"
