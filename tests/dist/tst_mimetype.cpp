// The installed MIME package and desktop file as a desktop sees them through QMimeDatabase.
// Run by check-desktop-files.sh twice: with ORVELLA_DIST_PREFIX set to the install prefix and
// its share folder in XDG_DATA_DIRS, and with it empty and only the system's own types, to show
// that the detection comes from the package.
#include "playlist/orvformat.h"
#include "supportedmimetypes.h"

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
    QFile file(prefix() + QStringLiteral("/share/applications/org.orvella.orvella.desktop"));
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
    void desktopTypesAreKnown();
    void desktopTypesAreTheMediaControls();
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
    QTest::addColumn<bool>("playlist");
    // As the player reads them: by the extension alone, in lower case.
    QTest::newRow("by extension") << QStringLiteral("list.orv") << true;
    QTest::newRow("by content alone") << QStringLiteral("list") << false;
    QTest::newRow("extension in capitals") << QStringLiteral("LIST.ORV") << false;
}

void TestMimeType::savedPlaylist()
{
    QFETCH(QString, name);
    QFETCH(bool, playlist);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath(name);
    QCOMPARE(OrvFormat::save(fileName, {QStringLiteral("/home/viewer/Movies/clip.avi")}),
             QString());
    QCOMPARE(OrvFormat::isPlaylistPath(fileName), playlist);

    const QString found = QMimeDatabase().mimeTypeForFile(fileName).name();
    if (prefix().isEmpty() || !playlist)
        QVERIFY2(found != PlaylistType, qPrintable(name + QStringLiteral(" is claimed")));
    else
        QCOMPARE(found, PlaylistType);
}

void TestMimeType::desktopTypesAreKnown()
{
    if (prefix().isEmpty())
        QSKIP("needs the installed desktop file");
    const QStringList types = desktopMimeTypes();
    QVERIFY2(!types.isEmpty(), "the installed desktop file has no MimeType= line");
    // A name the database does not know, as a type or an alias, would never match a file.
    for (const QString& name : types) {
        QVERIFY2(QMimeDatabase().mimeTypeForName(name).isValid(),
                 qPrintable(name + QStringLiteral(" is unknown")));
    }
}

void TestMimeType::desktopTypesAreTheMediaControls()
{
    if (prefix().isEmpty())
        QSKIP("needs the installed desktop file");
    QCOMPARE(desktopMimeTypes(), supportedMimeTypes());
}

void TestMimeType::mediaFilesMatchDesktopTypes_data()
{
    QTest::addColumn<QString>("name");
    // .dat (Video CD) has no type of its own in shared-mime-info, so it is not listed.
    const QString extensions =
        QStringLiteral("avi divx mpg mpeg asf wmv orv mp4 m4v mkv webm mov ogv flv m2ts 3gp mp3 "
                       "flac ogg opus m4a wav wma aac mka");
    for (const QString& extension : extensions.split(u' '))
        QTest::newRow(qPrintable(extension)) << QStringLiteral("a.") + extension;
}

void TestMimeType::mediaFilesMatchDesktopTypes()
{
    QFETCH(QString, name);
    if (prefix().isEmpty())
        QSKIP("needs the installed desktop file");
    const QString type =
        QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
    QVERIFY2(desktopMimeTypes().contains(type),
             qPrintable(name + QStringLiteral(" is ") + type +
                        QStringLiteral(", not in the desktop file")));
}

QTEST_GUILESS_MAIN(TestMimeType)
#include "tst_mimetype.moc"
