// The installed MIME package and desktop file as a desktop sees them through QMimeDatabase.
// Run by check-desktop-files.sh twice: with ORVELLA_DIST_PREFIX set to the install prefix and
// its share folder in XDG_DATA_DIRS, and with it empty and only the system's own types, to show
// that the detection comes from the package.
#include "playlist/orvformat.h"

#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString PlaylistType = QStringLiteral("application/x-orvella-playlist");

QString prefix()
{
    return qEnvironmentVariable("ORVELLA_DIST_PREFIX");
}

// The MimeType= entries of the installed desktop file.
QStringList desktopMimeTypes()
{
    QFile file(prefix() + QStringLiteral("/share/applications/orvella.desktop"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("MimeType=")))
            return line.mid(9).split(u';', Qt::SkipEmptyParts);
    }
    return {};
}

} // namespace

class TestMimeType : public QObject
{
    Q_OBJECT

private slots:
    void playlistType();
    void savedPlaylist_data();
    void savedPlaylist();
    void plainTextStaysPlain();
    void desktopTypesAreCanonical();
    void mediaFilesMatchDesktopTypes_data();
    void mediaFilesMatchDesktopTypes();
};

void TestMimeType::playlistType()
{
    const QMimeType type = QMimeDatabase().mimeTypeForName(PlaylistType);
    if (prefix().isEmpty()) {
        QVERIFY2(!type.isValid(), "the playlist type is known without the installed package");
        return;
    }
    QVERIFY2(type.isValid(), "the installed package does not define the playlist type");
    QCOMPARE(type.comment(), QStringLiteral("Orvella playlist"));
    QCOMPARE(type.globPatterns(), QStringList{QStringLiteral("*.orv")});
    QVERIFY(type.inherits(QStringLiteral("text/plain")));
}

void TestMimeType::savedPlaylist_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("by extension and content") << QStringLiteral("list.orv");
    QTest::newRow("by content alone") << QStringLiteral("list");
}

void TestMimeType::savedPlaylist()
{
    QFETCH(QString, name);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(name);
    QCOMPARE(OrvFormat::save(fileName, {QStringLiteral("/home/viewer/Movies/clip.avi")}),
             QString());

    const QString found = QMimeDatabase().mimeTypeForFile(fileName).name();
    if (prefix().isEmpty())
        QVERIFY2(found != PlaylistType, "detected without the installed package");
    else
        QCOMPARE(found, PlaylistType);
}

void TestMimeType::plainTextStaysPlain()
{
    // The magic must not claim text that merely starts with a tag.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("notes")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write("<ORV> is not a playlist header\r\njust notes\r\n") > 0);
    file.close();
    QCOMPARE(QMimeDatabase().mimeTypeForFile(file.fileName()).name(), QStringLiteral("text/plain"));
}

void TestMimeType::desktopTypesAreCanonical()
{
    if (prefix().isEmpty())
        QSKIP("needs the installed desktop file");
    const QStringList types = desktopMimeTypes();
    QVERIFY2(!types.isEmpty(), "the installed desktop file has no MimeType= line");
    // An alias or a name the database does not know would never match a file.
    for (const QString& name : types) {
        const QMimeType type = QMimeDatabase().mimeTypeForName(name);
        QVERIFY2(type.isValid(), qPrintable(name + QStringLiteral(" is unknown")));
        QVERIFY2(type.name() == name,
                 qPrintable(name + QStringLiteral(" is an alias of ") + type.name()));
    }
}

void TestMimeType::mediaFilesMatchDesktopTypes_data()
{
    QTest::addColumn<QString>("name");
    // .dat (Video CD) has no type of its own in shared-mime-info, so it is not listed.
    for (const char* name : {"a.avi", "a.divx", "a.mpg", "a.mpeg", "a.asf", "a.wmv", "a.orv"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMimeType::mediaFilesMatchDesktopTypes()
{
    QFETCH(QString, name);
    if (prefix().isEmpty())
        QSKIP("needs the installed desktop file");
    const QString type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
    QVERIFY2(desktopMimeTypes().contains(type),
             qPrintable(name + QStringLiteral(" is ") + type + QStringLiteral(", not in the desktop file")));
}

QTEST_GUILESS_MAIN(TestMimeType)
#include "tst_mimetype.moc"
