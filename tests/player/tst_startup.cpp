// Start-up's own files as another local user would meet them: a shared or planted folder for
// the single-instance lock, planted links where the start-up picture goes.
#include "player/startup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool makeFolder(const QString& path, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    // chmod as well: the umask must not decide what the row means.
    return ::mkdir(name.constData(), 0700) == 0 && ::chmod(name.constData(), mode) == 0;
}

// Puts at path what a row names: "missing", "private", "0755", "0777", "link" (to a private
// folder), "nobody" (a private folder of another user's) or "file".
bool plant(const QString& kind, const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (kind == "missing")
        return true;
    if (kind == "private")
        return makeFolder(path, 0700);
    if (kind == "0755")
        return makeFolder(path, 0755);
    if (kind == "0777")
        return makeFolder(path, 0777);
    if (kind == "link")
        return makeFolder(path + ".real", 0700) &&
               ::symlink(QFile::encodeName(path + ".real").constData(), name.constData()) == 0;
    if (kind == "nobody")
        return makeFolder(path, 0700) && ::chown(name.constData(), nobody, nobody) == 0;
    if (kind == "file") {
        QFile f(path);
        return f.open(QIODevice::WriteOnly);
    }
    return false;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void lockFolder_data()
    {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("runtime folder private") << "private"
                                                << "missing"
                                                << "runtime";
        QTest::newRow("no runtime folder") << "unset"
                                           << "missing"
                                           << "user";
        QTest::newRow("runtime folder open to others") << "0755"
                                                       << "missing"
                                                       << "user";
        QTest::newRow("runtime folder a link") << "link"
                                               << "missing"
                                               << "user";
        QTest::newRow("runtime folder another user's") << "nobody"
                                                       << "missing"
                                                       << "user";
        QTest::newRow("runtime folder relative") << "relative"
                                                 << "missing"
                                                 << "user";
        QTest::newRow("user folder made before") << "unset"
                                                 << "private"
                                                 << "user";
        QTest::newRow("user folder another user's") << "unset"
                                                    << "nobody"
                                                    << "none";
        QTest::newRow("user folder open to all") << "unset"
                                                 << "0777"
                                                 << "none";
        QTest::newRow("user folder a link") << "unset"
                                            << "link"
                                            << "none";
        QTest::newRow("user folder a file") << "unset"
                                            << "file"
                                            << "none";
    }
    void lockFolder()
    {
        QFETCH(QString, runtime);
        QFETCH(QString, user);
        QFETCH(QString, chosen);
        if ((runtime == "nobody" || user == "nobody") && ::getuid() != 0)
            QSKIP("only root can give a folder to another user");
        const QString base = m_dir.filePath(QTest::currentDataTag());
        QVERIFY(makeFolder(base, 0700));
        // The user folder's parent does not exist yet unless the row plants the folder.
        const QString userFolder = base + "/cache/orvella";
        if (user != "missing")
            QVERIFY(makeFolder(base + "/cache", 0700));
        QVERIFY(plant(user, userFolder));
        QString runtimeFolder;
        if (runtime == "relative") {
            QVERIFY(plant("private", base + "/run"));
            runtimeFolder = QDir::current().relativeFilePath(base + "/run");
        } else if (runtime != "unset") {
            runtimeFolder = base + "/run";
            QVERIFY(plant(runtime, runtimeFolder));
        }

        const Startup::LockFolder folder = Startup::lockFolder(runtimeFolder, userFolder);
        if (chosen == "none") {
            QCOMPARE(folder.path, QString());
            QVERIFY(folder.problem.startsWith(userFolder + ": "));
            return;
        }
        QCOMPARE(folder.path, chosen == "runtime" ? runtimeFolder : userFolder);
        QCOMPARE(folder.problem, QString());
        struct stat st
        {
        };
        QCOMPARE(::lstat(QFile::encodeName(folder.path).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
        QCOMPARE(st.st_uid, ::getuid());
    }

    void aLockThatCannotBeMadeStopsNoOne()
    {
        const QString path = m_dir.filePath("missing/orvella.lock");
        const Startup::SingleInstanceGuard first(path);
        const Startup::SingleInstanceGuard second(path);
        QVERIFY(first.isFirst());
        QVERIFY(second.isFirst());
    }

    // What a power cut or a planted name can leave where the lock goes: none of it may hang the
    // start or pass for another instance, and the lock made in its place must hold.
    void onlyALiveInstanceHoldsTheLock_data()
    {
        QTest::addColumn<QByteArray>("planted");
        QTest::newRow("nothing there") << QByteArray("missing");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("garbage content") << QByteArray("\x01\xff 4242\nnot a lock\n");
        QTest::newRow("a FIFO in its place") << QByteArray("fifo");
        QTest::newRow("a dangling symlink in its place") << QByteArray("link");
    }
    void onlyALiveInstanceHoldsTheLock()
    {
        QFETCH(QByteArray, planted);
        const QString path = m_dir.filePath(QTest::currentDataTag());
        const QByteArray name = QFile::encodeName(path);
        if (planted == "fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        } else if (planted == "link") {
            QCOMPARE(::symlink((name + ".target").constData(), name.constData()), 0);
        } else if (planted != "missing") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(planted) == planted.size());
        }

        auto first = std::make_unique<Startup::SingleInstanceGuard>(path);
        QVERIFY(first->isFirst());
        QVERIFY(!QFileInfo::exists(path + ".target"));
        QVERIFY(!Startup::SingleInstanceGuard(path).isFirst());
        first.reset();
        QVERIFY(Startup::SingleInstanceGuard(path).isFirst());
    }

    void startupPictureNeverWritesThroughALink_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<bool>("victimExists");
        QTest::newRow("at the old temporary name") << "default.jpg.part" << true;
        QTest::newRow("at the picture") << "default.jpg" << true;
        QTest::newRow("at the picture, to nowhere") << "default.jpg" << false;
    }
    void startupPictureNeverWritesThroughALink()
    {
        QFETCH(QString, planted);
        QFETCH(bool, victimExists);
        const QString base = m_dir.filePath(QTest::currentDataTag());
        QVERIFY(makeFolder(base, 0700));
        const QString folder = base + "/orvella";
        QVERIFY(makeFolder(folder, 0700));
        const QString victim = base + "/victim";
        if (victimExists) {
            QFile f(victim);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the victim's own");
        }
        QVERIFY(QFile::link(victim, folder + '/' + planted));

        Startup::ResourceResult error;
        const QString picture = Startup::startupPicturePath(folder, &error);
        QCOMPARE(error.errorText, QString());
        QCOMPARE(picture, folder + "/default.jpg");
        const QByteArray resource = readAll(":/default.jpg");
        QVERIFY(!resource.isEmpty());
        QCOMPARE(readAll(picture), resource);
        QVERIFY(!QFileInfo(picture).isSymLink());
        if (victimExists)
            QCOMPARE(readAll(victim), QByteArray("the victim's own"));
        else
            QVERIFY(!QFileInfo::exists(victim));
        // Nothing of the writing is left beside the picture.
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot),
                 (planted == "default.jpg" ? QStringList{"default.jpg"}
                                           : QStringList{"default.jpg", planted}));
    }

    // Names are relative to a folder holding "my", "film.avi" and "my film.avi", "a.mp4",
    // "b.mkv", and the folders "dir" and "my folder"; expected paths are in that folder.
    void severalNamesOnTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("the joined path first")
            << QStringList{"my", "film.avi"} << QStringList{} << QStringList{};
        QTest::newRow("one file") << QStringList{"a.mp4"} << QStringList{} << QStringList{};
        QTest::newRow("two files")
            << QStringList{"a.mp4", "b.mkv"} << QStringList{"a.mp4", "b.mkv"} << QStringList{};
        QTest::newRow("a folder") << QStringList{"dir"} << QStringList{"dir"} << QStringList{};
        QTest::newRow("a folder split by the shell")
            << QStringList{"my", "folder"} << QStringList{"my folder"} << QStringList{};
        QTest::newRow("a mix, in order, quotes removed")
            << QStringList{"b.mkv", "dir/", "\"a.mp4\"", "my"}
            << QStringList{"b.mkv", "dir", "a.mp4", "my"} << QStringList{};
        QTest::newRow("missing names told, the others taken")
            << QStringList{"gone.avi", "a.mp4", "lost.mkv"} << QStringList{"a.mp4"}
            << QStringList{"gone.avi", "lost.mkv"};
        QTest::newRow("an empty name names nothing")
            << QStringList{"a.mp4", ""} << QStringList{"a.mp4"} << QStringList{};
        QTest::newRow("nothing there: the joined path stands")
            << QStringList{"gone.avi", "lost.mkv"} << QStringList{} << QStringList{};
    }
    void severalNamesOnTheCommandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, paths);
        QFETCH(QStringList, missing);
        const QDir here(m_dir.filePath("names"));
        if (!here.exists()) {
            QVERIFY(here.mkpath("dir") && here.mkpath("my folder"));
            for (const char* name : {"my", "film.avi", "my film.avi", "a.mp4", "b.mkv"})
                QVERIFY(QFile(here.filePath(name)).open(QIODevice::WriteOnly));
        }
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.path()));
        const Startup::Named found = Startup::pathsFrom(args);
        QDir::setCurrent(before);
        for (QString& path : paths)
            path = here.filePath(path);
        for (QString& name : missing)
            name = QStringLiteral("No such file: ") + here.filePath(name);
        QCOMPARE(found.paths, paths);
        QCOMPARE(found.refusals, missing);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
