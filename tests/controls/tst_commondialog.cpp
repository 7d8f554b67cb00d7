// The file dialog object's properties and what it asks the dialogs, answered by a script.
#include "controls/commondialog.h"
#include "controls/modbrowsefolder.h"
#include "scripteddialogs.h"

#include <QTest>

namespace {

const QString MediaFilter = QStringLiteral(
    "Supported Media Files|*.avi;*.asf;*.mpg;*.mpeg;*.wmv;*.divx;*.dat;*.orv|Divx/Avi files "
    "(divx avi)|*.avi;*.divx|Mpeg/MPG/Dat files (mpg mpeg dat)|*.mpg;*.mpeg;*.dat|Windows Media "
    "files (asf wmv)|*.asf;*.wmv|Orvella Playlist (orv)|*.orv");
const QString PlaylistFilter = QStringLiteral("Orvella Playlist (orv)|*.orv");

enum class Show
{
    Open,
    Save
};

struct Fixture
{
    Fixture()
    {
        auto scripted = std::make_unique<ScriptedDialogs>();
        script = scripted.get();
        dialog = std::make_unique<CommonDialog>(std::move(scripted));
    }
    void show(Show which)
    {
        if (which == Show::Open)
            dialog->ShowOpen();
        else
            dialog->ShowSave();
    }
    const FileDialogRequest& lastRequest() const { return script->asked.last().request; }

    ScriptedDialogs* script = nullptr; // owned by dialog
    std::unique_ptr<CommonDialog> dialog;
};

} // namespace

class TestCommonDialog : public QObject
{
    Q_OBJECT
private slots:
    void filenameReadsOnce_data();
    void filenameReadsOnce();
    void filterReadsBack_data();
    void filterReadsBack();
    void filterReachesDialog_data();
    void filterReachesDialog();
    void defaultExtension_data();
    void defaultExtension();
    void textsReachDialog();
    void fileTitleHoldsChosenName();
    void folderPickers_data();
    void folderPickers();
};

void TestCommonDialog::filenameReadsOnce_data()
{
    QTest::addColumn<Show>("show");
    QTest::addColumn<ScriptedDialogs::Kind>("kind");

    QTest::newRow("open") << Show::Open << ScriptedDialogs::Kind::Open;
    QTest::newRow("save") << Show::Save << ScriptedDialogs::Kind::Save;
}

void TestCommonDialog::filenameReadsOnce()
{
    QFETCH(Show, show);
    QFETCH(ScriptedDialogs::Kind, kind);

    Fixture f;
    f.script->answer(QStringLiteral("/m/a.avi"));
    f.show(show);
    QCOMPARE(f.script->asked.size(), 1);
    QCOMPARE(f.script->asked.last().kind, kind);
    QCOMPARE(f.dialog->filename(), QStringLiteral("/m/a.avi"));
    QCOMPARE(f.dialog->filename(), QString());

    // The next dialog starts with an empty name box; cancelled, it keeps the title.
    const QString title = f.dialog->FileTitle();
    f.script->cancel();
    f.show(show);
    QCOMPARE(f.lastRequest().fileName, QString());
    QCOMPARE(f.dialog->filename(), QString());
    QCOMPARE(f.dialog->FileTitle(), title);
}

void TestCommonDialog::filterReadsBack_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");

    QTest::newRow("playlist pair") << PlaylistFilter << PlaylistFilter;
    QTest::newRow("media filter") << MediaFilter << MediaFilter;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("trailing bars are dropped")
        << QStringLiteral("Text|*.txt||") << QStringLiteral("Text|*.txt");
}

void TestCommonDialog::filterReadsBack()
{
    QFETCH(QString, written);
    QFETCH(QString, read);

    Fixture f;
    QCOMPARE(f.dialog->Filter(), QString());
    f.dialog->setFilter(written);
    QCOMPARE(f.dialog->Filter(), read);
}

void TestCommonDialog::filterReachesDialog_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("playlist pair")
        << PlaylistFilter << QStringList{"Orvella Playlist (orv) (*.orv)"};
    QTest::newRow("media filter")
        << MediaFilter
        << QStringList{"Supported Media Files (*.avi *.asf *.mpg *.mpeg *.wmv *.divx *.dat *.orv)",
                       "Divx/Avi files (divx avi) (*.avi *.divx)",
                       "Mpeg/MPG/Dat files (mpg mpeg dat) (*.mpg *.mpeg *.dat)",
                       "Windows Media files (asf wmv) (*.asf *.wmv)",
                       "Orvella Playlist (orv) (*.orv)"};
    QTest::newRow("description without patterns dropped")
        << QStringLiteral("Text|*.txt|Lonely") << QStringList{"Text (*.txt)"};
    QTest::newRow("list ends at an empty text")
        << QStringLiteral("Text|*.txt||Hidden|*.h") << QStringList{"Text (*.txt)"};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestCommonDialog::filterReachesDialog()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);

    Fixture f;
    f.dialog->setFilter(filter);
    f.dialog->ShowOpen();
    QCOMPARE(f.lastRequest().nameFilters, expected);
    // The first pair is preselected every time.
    QCOMPARE(f.lastRequest().selectedNameFilter, expected.value(0));
}

void TestCommonDialog::defaultExtension_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("stored");

    QTest::newRow("never written") << false << QString() << QStringLiteral("txt");
    QTest::newRow("with leading dot") << true << QStringLiteral(".orv") << QStringLiteral("orv");
    QTest::newRow("without dot") << true << QStringLiteral("orv") << QStringLiteral("orv");
    QTest::newRow("every dot removed")
        << true << QStringLiteral("tar.gz") << QStringLiteral("targz");
}

void TestCommonDialog::defaultExtension()
{
    QFETCH(bool, write);
    QFETCH(QString, written);
    QFETCH(QString, stored);

    Fixture f;
    if (write)
        f.dialog->setDefaultExt(written);
    QCOMPARE(f.dialog->DefaultExt(), stored);
    f.dialog->ShowSave();
    QCOMPARE(f.lastRequest().defaultSuffix, stored);
}

void TestCommonDialog::textsReachDialog()
{
    Fixture f;
    QCOMPARE(f.dialog->DialogTitle(), QString());
    f.dialog->ShowOpen();
    QCOMPARE(f.lastRequest().title, QString());

    f.dialog->setDialogTitle(QStringLiteral("Choose media to play"));
    f.dialog->setInitDir(QStringLiteral("/m"));
    f.dialog->setFilename(QStringLiteral("start.avi"));
    QCOMPARE(f.dialog->DialogTitle(), QStringLiteral("Choose media to play"));
    QCOMPARE(f.dialog->InitDir(), QStringLiteral("/m"));

    f.dialog->ShowOpen();
    QCOMPARE(f.lastRequest().title, QStringLiteral("Choose media to play"));
    QCOMPARE(f.lastRequest().initialDir, QStringLiteral("/m"));
    QCOMPARE(f.lastRequest().fileName, QStringLiteral("start.avi"));
    // Cancelled: the name written before is still there, once.
    QCOMPARE(f.dialog->filename(), QStringLiteral("start.avi"));
    QCOMPARE(f.dialog->filename(), QString());
}

void TestCommonDialog::fileTitleHoldsChosenName()
{
    Fixture f;
    QCOMPARE(f.dialog->FileTitle(), QString(CommonDialog::FileTitleLength, QChar(0)));

    f.script->answer(QStringLiteral("/m/movie.avi"));
    f.dialog->ShowOpen();
    const QString title = f.dialog->FileTitle();
    QCOMPARE(title.size(), CommonDialog::FileTitleLength);
    QVERIFY(title.startsWith(QStringLiteral("movie.avi")));
    QCOMPARE(title.mid(9), QString(CommonDialog::FileTitleLength - 9, QChar(0)));

    f.dialog->setFileTitle(QStringView(u"kept\0as is", 10).toString());
    QCOMPARE(f.dialog->FileTitle(), QStringView(u"kept\0as is", 10).toString());
}

void TestCommonDialog::folderPickers_data()
{
    QTest::addColumn<bool>("browse");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expectedTitle");

    QTest::newRow("BrowseFolder chosen") << true << QStringLiteral("/m") << "Select Directory";
    QTest::newRow("BrowseFolder cancelled") << true << QString() << "Select Directory";
    QTest::newRow("GetFolderName chosen") << false << QStringLiteral("/m") << "Where?";
    QTest::newRow("GetFolderName cancelled") << false << QString() << "Where?";
}

void TestCommonDialog::folderPickers()
{
    QFETCH(bool, browse);
    QFETCH(QString, answer);
    QFETCH(QString, expectedTitle);

    Fixture f;
    f.script->answer(answer);
    const QString chosen =
        browse ? modBrowseFolder::BrowseFolder(*f.script) : f.dialog->GetFolderName(expectedTitle);
    QCOMPARE(chosen, answer);
    QCOMPARE(f.script->asked.size(), 1);
    QCOMPARE(f.script->asked.last().kind, ScriptedDialogs::Kind::Folder);
    QCOMPARE(f.lastRequest().title, expectedTitle);
}

QTEST_GUILESS_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
