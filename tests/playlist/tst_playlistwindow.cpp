// The playlist window's adds, saves, loads and clears, with the dialogs answered by a
// script, and one save and load through Qt's real file dialog.
#include "common/plaintext.h"
#include "controls/commondialog.h"
#include "controls/glyphlabel.h"
#include "controls/picslider.h"
#include "playlist/orvformat.h"
#include "playlist/playlistwindow.h"
#include "scripteddialogs.h"
#include "whenshown.h"

#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <sys/stat.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestPlaylistWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Rig : Playlist::Player
    {
        ScriptedDialogs* dialogs;
        Playlist list;
        std::unique_ptr<PlaylistWindow> window;
        QStringList loaded;
        bool nowPlaying = false;
        Rig()
        {
            auto scripted = std::make_unique<ScriptedDialogs>();
            dialogs = scripted.get();
            window = std::make_unique<PlaylistWindow>(list, std::move(scripted));
            list.setPlayer(this);
        }
        bool openEntry(const QString& p) override
        {
            loaded << p;
            return true;
        }
        bool playing() const override { return nowPlaying; }
        Playlist& playlist() { return window->playlist(); }
        QString caption() { return window->findChild<QLabel*>("lbltotalfiles")->text(); }
    };

    QString orvWith(const QString& name, const QStringList& paths)
    {
        const QString path = m_dir.filePath(name);
        if (!OrvFormat::save(path, paths).isEmpty())
            return {};
        return path;
    }

private slots:
    void addToAnEmptyPlaylistStartsIt()
    {
        Rig rig;
        rig.dialogs->answer("/m/my.film.avi");
        rig.window->add();
        QCOMPARE(rig.playlist().count(), 1);
        QCOMPARE(rig.playlist().entry(1).displayName, QStringLiteral("my.film.avi"));
        QVERIFY(!rig.window->ListWasEmpty);
        QCOMPARE(rig.playlist().currentPath(), QStringLiteral("/m/my.film.avi"));
        QCOMPARE(rig.caption(), QStringLiteral("1"));
        // The open dialog was asked with the media filter and title.
        QCOMPARE(rig.dialogs->asked.size(), 1);
        QCOMPARE(rig.dialogs->asked[0].request.title, QStringLiteral("Choose media to play"));
        QCOMPARE(rig.window->commonDialog().Filter(), MediaFilter);
        // The program's own types first and in their order, the first chosen; then the others.
        const FileDialogRequest& asked = rig.dialogs->asked[0].request;
        QCOMPARE(
            asked.nameFilters,
            (QStringList{
                "Supported Media Files (*.avi *.asf *.mpg *.mpeg *.wmv *.divx *.dat *.orv)",
                "Divx/Avi files (divx avi) (*.avi *.divx)",
                "Mpeg/MPG/Dat files (mpg mpeg dat) (*.mpg *.mpeg *.dat)",
                "Windows Media files (asf wmv) (*.asf *.wmv)", "Orvella Playlist (orv) (*.orv)",
                "Other media files (*.mp4 *.m4v *.mkv *.webm *.mov *.ogv *.flv *.3gp *.ts "
                "*.m2ts *.mts *.vob *.flac *.ogg *.opus *.m4a *.aac *.wav *.mp3 *.mka *.wma)",
                "All files (*)"}));
        QCOMPARE(asked.selectedNameFilter, asked.nameFilters.first());
        QTRY_COMPARE_WITH_TIMEOUT(rig.loaded, QStringList{"/m/my.film.avi"}, 5000);
    }

    void addToANonEmptyPlaylistAppends()
    {
        Rig rig;
        rig.playlist().append("/m/a.avi", "a.avi");
        rig.nowPlaying = true;           // something plays
        rig.dialogs->answer("/m/b.ORV"); // upper case: a media entry
        rig.window->add();
        QCOMPARE(rig.playlist().count(), 2);
        QCOMPARE(rig.playlist().entry(2).path, QStringLiteral("/m/b.ORV"));
        QCOMPARE(rig.playlist().currentPath(), QStringLiteral("/m/a.avi")); // the selected entry
        QTRY_VERIFY_WITH_TIMEOUT(!rig.playlist().startupTimer().isActive(), 5000);
        QVERIFY(rig.loaded.isEmpty());
        QCOMPARE(rig.playlist().CurrentIndex(), 0);
    }

    void playlistReadIntoAnEmptyList()
    {
        Rig rig;
        const QString orv = orvWith("three.orv", {"/m/1.avi", "/m/2.avi", "/m/3.avi"});
        rig.dialogs->answer(orv);
        rig.window->add();
        QCOMPARE(rig.playlist().count(), 3);
        // firstGo shows the last entry; the flag stays set for the next add.
        QCOMPARE(rig.playlist().currentPath(), QStringLiteral("/m/3.avi"));
        QVERIFY(rig.window->ListWasEmpty);
        QCOMPARE(rig.caption(), QStringLiteral("3"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.loaded, QStringList{"/m/1.avi"}, 5000);

        // Still flagged: a second playlist read also ends in firstGo.
        rig.dialogs->answer(orv);
        rig.window->add();
        QCOMPARE(rig.playlist().count(), 6);
        QCOMPARE(rig.playlist().CurrentIndex(), 6);
    }

    void playlistReadByFileButtonGoesToTheSelectedEntry()
    {
        Rig rig;
        rig.dialogs->answer(orvWith("two.orv", {"/m/1.avi", "/m/2.avi"}));
        rig.window->addFileClicked();
        QCOMPARE(rig.playlist().currentPath(), QStringLiteral("/m/1.avi"));
        QVERIFY(!rig.window->ListWasEmpty);
    }

    void playlistReadIntoANonEmptyList()
    {
        Rig rig;
        rig.playlist().append("/m/a.avi", "a.avi");
        rig.window->ListWasEmpty = false;
        rig.dialogs->answer(orvWith("one.orv", {"/m/z.avi"}));
        rig.window->add();
        QCOMPARE(rig.playlist().paths(), (QStringList{"/m/a.avi", "/m/z.avi"}));
        QVERIFY(!rig.window->ListWasEmpty);
        QCOMPARE(rig.playlist().CurrentIndex(), 1);
    }

    void cancelOnAnEmptyList()
    {
        Rig rig;
        rig.dialogs->cancel();
        rig.window->add();
        QVERIFY(rig.window->ListWasEmpty);
        QCOMPARE(rig.window->MoviePath, QString());
        QCOMPARE(rig.playlist().count(), 0);

        rig.dialogs->cancel();
        rig.window->addFileClicked();
        QVERIFY(!rig.window->ListWasEmpty);
        QVERIFY(!rig.playlist().startupTimer().isActive());
        QCOMPARE(rig.playlist().CurrentIndex(), 0);
    }

    void folderAddsItsMediaFiles()
    {
        Rig rig;
        const QString folder = m_dir.filePath("folder");
        QDir().mkpath(folder);
        for (const char* name : {"b.avi", "a.mpg", "c.mpeg", "d.wmv", "my.film.avi"})
            QVERIFY(writeFile(folder + '/' + name, "x"));
        rig.dialogs->answer(folder);
        rig.window->addFolderClicked();
        QCOMPARE(rig.playlist().count(), 4);
        QCOMPARE(rig.playlist().entry(1).displayName, QStringLiteral("a"));
        QCOMPARE(rig.playlist().entry(2).displayName, QStringLiteral("c"));
        QCOMPARE(rig.playlist().entry(1).path, folder + "/a.mpg");
        QCOMPARE(rig.playlist().sliderMax(), 4);
        QVERIFY(rig.playlist().startupTimer().isActive());
        QCOMPARE(rig.dialogs->asked.last().request.title, QStringLiteral("Select Directory"));

        rig.dialogs->cancel();
        rig.window->addFolderClicked();
        QCOMPARE(rig.playlist().count(), 4);
    }

    void saveWritesTheListAndCancelWritesNothing()
    {
        Rig rig;
        rig.playlist().append({{"/m/a.avi", "a.avi"}, {"/m/b.mpg", "b.mpg"}});
        const QString target = m_dir.filePath("saved.orv");
        rig.dialogs->answer(target);
        rig.window->saveClicked();
        QCOMPARE(rig.dialogs->asked.last().request.defaultSuffix, QStringLiteral("orv"));
        QCOMPARE(rig.window->commonDialog().Filter(), PlaylistFilter);
        QCOMPARE(bytesOf(target), OrvFormat::serialize({"/m/a.avi", "/m/b.mpg"}));

        const QString other = m_dir.filePath("never.orv");
        rig.dialogs->cancel();
        rig.window->saveClicked();
        QVERIFY(!QFile::exists(other));
    }

    void failedSaveShowsTheMessageAndKeepsTheOldFile()
    {
        Rig rig;
        rig.playlist().append("/m/new.avi", "new.avi");
        const QString old = orvWith("old.orv", {"/m/old.avi"});
        const QByteArray before = bytesOf(old);

        QString title, text;
        const auto read = [&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        };
        {
            WhenShown<QMessageBox> answer(read);
            // A folder that is really a file: fails for every user, root included.
            rig.window->WriteToORV(old + "/inside.orv");
            QVERIFY(answer.seen());
        }
        QCOMPARE(title, QStringLiteral("Orvella"));
        QVERIFY2(text.startsWith("There was an Error writing To the playlist: ") &&
                     text.size() > 44,
                 qPrintable(text));

        rig.playlist().append("/m/say \"hi\".avi", "say");
        {
            WhenShown<QMessageBox> answer(read);
            rig.window->WriteToORV(old);
            QVERIFY(answer.seen());
        }
        QVERIFY2(text.contains("/m/say \"hi\".avi"), qPrintable(text));
        QCOMPARE(bytesOf(old), before);
    }

    void readerOddities()
    {
        Rig rig;
        rig.playlist().append("/m/a.avi", "a.avi");
        rig.playlist().refreshCount();
        const QString cut = m_dir.filePath("cut.orv");
        QVERIFY(writeFile(cut, "<ref href = \"/m/x.avi\" />\r\n<ref href = \"/m/y.avi"));
        rig.window->PullFromORV(cut);
        QCOMPARE(rig.playlist().paths(), (QStringList{"/m/a.avi", "/m/x.avi"}));
        QCOMPARE(rig.caption(), QStringLiteral("1")); // left alone

        rig.window->PullFromORV(m_dir.filePath("missing.orv"));
        QCOMPARE(rig.playlist().count(), 2);

        const QString none = m_dir.filePath("none.orv");
        QVERIFY(writeFile(none, "<REF HREF = \"/m/no.avi\" />"));
        rig.window->PullFromORV(none);
        QCOMPARE(rig.playlist().count(), 2);
        QCOMPARE(rig.caption(), QStringLiteral("2"));
    }

    void refusedPlaylistAddsNothing_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a named pipe") << true << "it is a named pipe";
        QTest::newRow("past the size limit") << false << "is too large";
    }
    void refusedPlaylistAddsNothing()
    {
        QFETCH(bool, pipe);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("list.orv");
        if (pipe) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QFile huge(path); // sparse
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(OrvFormat::MaxFileBytes + 1));
        }
        Rig rig;
        rig.playlist().append("/m/a.avi", "a.avi");
        QSignalSpy refused(rig.window.get(), &PlaylistWindow::refused);
        rig.window->PullFromORV(path);
        QCOMPARE(rig.playlist().paths(), QStringList{"/m/a.avi"});
        QCOMPARE(rig.caption(), QStringLiteral("0")); // left alone
        QCOMPARE(refused.size(), 1);
        const QString text = refused.at(0).at(0).toString();
        QVERIFY2(text.contains(path) && text.contains(reason), qPrintable(text));
    }

    void playlistEntriesAreTakenFromItsFolder()
    {
        Rig rig;
        QDir().mkpath(m_dir.filePath("lists"));
        const QString orv = orvWith("lists/relative.orv",
                                    {"a.avi", "../b.avi", "/m/c.avi", "https://example.org/d.avi"});
        rig.window->PullFromORV(orv);
        QCOMPARE(rig.playlist().paths(),
                 (QStringList{m_dir.filePath("lists/a.avi"), m_dir.filePath("b.avi"), "/m/c.avi",
                              "https://example.org/d.avi"}));
    }

    void folderWithoutMediaIsRefused()
    {
        Rig rig;
        rig.playlist().append("/m/a.avi", "a.avi");
        const QString folder = m_dir.filePath("nomedia");
        QDir().mkpath(folder);
        QVERIFY(writeFile(folder + "/d.wmv", "x"));
        QSignalSpy refused(rig.window.get(), &PlaylistWindow::refused);
        rig.dialogs->answer(folder);
        rig.window->addFolderClicked();
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.at(0).at(0).toString(), "No media files in " + folder);
        QCOMPARE(rig.playlist().count(), 1);
        QVERIFY(rig.playlist().startupTimer().isActive()); // Go ran all the same
    }

    void fileNameWithMarkupShowsLiterally()
    {
        Rig rig;
        const QString path = "/m/<h1>big.avi";
        rig.playlist().append(path, QString());
        rig.playlist().setCurrentPath(path);
        auto* title = rig.window->findChild<QLabel*>("Label1");
        QCOMPARE(title->text(), "ORV Playlist: <h1>big.avi");
        QCOMPARE(title->textFormat(), Qt::PlainText);
        QCOMPARE(title->toolTip(), plainToolTip(title->text()));
        QCOMPARE(rig.playlist().index(0).data(Qt::ToolTipRole).toString(), plainToolTip(path));
        QVERIFY(plainToolTip(path) != path);
    }

    void viewTakesTheListWhenShown()
    {
        // A hidden view would lay out every entry of a long list for nothing.
        Rig rig;
        rig.playlist().append({{"/m/a.avi", "a.avi"}, {"/m/b.avi", "b.avi"}, {"/m/c.avi", "c"}});
        rig.playlist().setSelectedItem(3);
        QTreeView* view = rig.window->listview1();
        QVERIFY(!view->model());
        rig.window->show();
        QCOMPARE(view->model(), &rig.playlist());
        QCOMPARE(view->currentIndex().row(), 2);
        view->setCurrentIndex(rig.playlist().index(0));
        QCOMPARE(rig.playlist().selectedItem(), 1);
    }

    void clearEmptiesTheListsOnly()
    {
        Rig rig;
        rig.window->show();
        rig.playlist().append({{"/m/a.avi", "a.avi"}, {"/m/b.avi", "b.avi"}});
        rig.playlist().PlayNext();
        rig.window->clearClicked();
        QCOMPARE(rig.playlist().count(), 0);
        QCOMPARE(rig.window->listview1()->model()->rowCount(), 0);
        QCOMPARE(rig.caption(), QStringLiteral("2"));
        QCOMPARE(rig.playlist().currentPath(), QStringLiteral("/m/a.avi"));
        QCOMPARE(rig.playlist().CurrentIndex(), 1);
    }

    void cosmeticsReaderAddsNamesOnly()
    {
        Rig rig;
        const QString orv = orvWith("named.orv", {"/m/a.avi", "/m/b.mpg"});
        rig.window->PullCosmeticsORV(orv);
        QCOMPARE(rig.playlist().count(), 2);
        QCOMPARE(rig.playlist().entry(1).displayName, QStringLiteral("a.avi"));
        QCOMPARE(rig.playlist().entry(1).path, QString());
        QCOMPARE(rig.caption(), QStringLiteral("0"));

        QString text;
        WhenShown<QMessageBox> answer([&](QMessageBox* box) {
            text = box->text();
            box->accept();
        });
        rig.window->PullCosmeticsORV(m_dir.filePath("missing.orv"));
        QVERIFY(answer.seen());
        QVERIFY(text.startsWith("There was an Error reading from the playlist: "));
    }

    void largePlaylistFillsTheView()
    {
        Rig rig;
        QStringList paths;
        for (int i = 0; i < 100000; ++i)
            paths << QStringLiteral("/media/films/film %1.avi").arg(i);
        const QString orv = orvWith("big.orv", paths);
        rig.window->show();
        rig.window->PullFromORV(orv);
        QCOMPARE(rig.playlist().count(), 100000);
        QTreeView* view = rig.window->listview1();
        QCOMPARE(view->model()->rowCount(), 100000);
        QCOMPARE(rig.caption(), QStringLiteral("100000"));
        // The far end of the list can be reached, selected and played.
        const QModelIndex last = view->model()->index(99999, 0);
        view->scrollTo(last);
        view->setCurrentIndex(last);
        QCOMPARE(rig.playlist().selectedItem(), 100000);
        rig.playlist().playSelected();
        QCOMPARE(rig.loaded, QStringList{paths.last()});
    }

    void saveAndLoadThroughTheRealDialogs()
    {
        Playlist list;
        auto owner = std::make_unique<PlaylistWindow>(list);
        PlaylistWindow& pls = *owner;
        pls.playlist().append({{"/m/a.avi", "a.avi"}, {"/m/b.mpg", "b.mpg"}});
        const QString folder = m_dir.filePath("real");
        QDir().mkpath(folder);

        const auto type = [](const QString& path) {
            return [path](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
                auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
                QPushButton* accept = buttons->button(QDialogButtonBox::Save);
                if (!accept)
                    accept = buttons->button(QDialogButtonBox::Open);
                accept->click();
            };
        };
        {
            WhenShown<QFileDialog> answer(type(folder + "/mine"));
            pls.saveClicked();
            QVERIFY(answer.seen());
        }
        // Typed without extension: saved as a playlist file.
        QCOMPARE(bytesOf(folder + "/mine.orv"), OrvFormat::serialize({"/m/a.avi", "/m/b.mpg"}));

        pls.clearClicked();
        {
            WhenShown<QFileDialog> answer(type(folder + "/mine.orv"));
            pls.add();
            QVERIFY(answer.seen());
        }
        QCOMPARE(pls.playlist().paths(), (QStringList{"/m/a.avi", "/m/b.mpg"}));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels"); // 15 twips to the pixel
        QTest::newRow("Label1") << "Label1" << QRect(32, 0, 435, 13);
        QTest::newRow("lbltotalfiles") << "lbltotalfiles" << QRect(468, 0, 13, 13);
        QTest::newRow("Command7") << "Command7" << QRect(488, 0, 17, 13);
        QTest::newRow("Line1") << "Line1" << QRect(380, 0, 20, 1);
        QTest::newRow("listview1: past the right edge") << "listview1" << QRect(0, 12, 569, 245);
        QTest::newRow("PicVScroll1") << "PicVScroll1" << QRect(496, 15, 8, 241);
        QTest::newRow("Command4") << "Command4" << QRect(0, 256, 45, 17);
        QTest::newRow("Command3") << "Command3" << QRect(44, 256, 45, 17);
        QTest::newRow("Command2") << "Command2" << QRect(212, 256, 45, 17);
        QTest::newRow("Command1") << "Command1" << QRect(256, 256, 45, 17);
        QTest::newRow("Command5") << "Command5" << QRect(408, 256, 45, 17);
        QTest::newRow("Command6") << "Command6" << QRect(452, 256, 45, 17);
    }
    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        Rig rig;
        QCOMPARE(rig.window->size(), QSize(504, 274));
        QVERIFY(rig.window->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(rig.window->findChild<QWidget*>(name)->geometry(), pixels);
    }

    void bottomRowCaptionsFit_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name :
             {"Command4", "Command3", "Command2", "Command1", "Command5", "Command6"})
            QTest::newRow(name) << name;
    }
    void bottomRowCaptionsFit()
    {
        QFETCH(QString, name);
        Rig rig;
        const auto* button = rig.window->findChild<GlyphLabel*>(name);
        QVERIFY(button);
        // Neighbours overlap by a pixel: a caption wider than its button touches the next.
        const int width = QFontMetrics(button->captionFont()).horizontalAdvance(button->text());
        QVERIFY2(width < button->width() - 2, qPrintable(QString::number(width)));
        QCOMPARE(button->captionFont().pixelSize(), 11); // 8.25 pt at 96 dpi
        QVERIFY(QFontMetrics(button->captionFont()).height() <= button->height());
    }

    void titleDragsOnlyWhenNotDocked()
    {
        Rig rig;
        bool docked = false;
        rig.window->setAttachedReader([&] { return docked; });
        rig.window->move(200, 200);
        rig.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
        auto* title = rig.window->findChild<QLabel*>("Label1");
        const auto drag = [&](Qt::MouseButton button, QPoint by) {
            QTest::mousePress(title, button, {}, QPoint(100, 5));
            QTest::mouseMove(title, QPoint(100, 5) + by);
            QTest::mouseRelease(title, button, {}, QPoint(100, 5) + by);
        };
        drag(Qt::LeftButton, QPoint(30, 10));
        QCOMPARE(rig.window->pos(), QPoint(230, 210));
        QCOMPARE(rig.window->DragX(), 1500);
        drag(Qt::RightButton, QPoint(30, 10));
        QTest::mouseDClick(title, Qt::LeftButton, {}, QPoint(100, 5));
        docked = true;
        drag(Qt::LeftButton, QPoint(30, 10));
        QCOMPARE(rig.window->pos(), QPoint(230, 210));
    }

    void sliderScrollsTheEntryAfterItsValue()
    {
        Rig rig;
        rig.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
        // Enough entries that the view cannot show them all.
        for (int i = 1; i <= 40; ++i)
            rig.playlist().append(QStringLiteral("/m/%1.avi").arg(i), QString::number(i));
        QTreeView* view = rig.window->listview1();
        const auto shown = [&](int row) {
            return view->viewport()->rect().contains(
                view->visualRect(rig.playlist().index(row)).center());
        };
        view->scrollToBottom();
        QVERIFY(!shown(5));
        picSlider* slider = rig.window->PicVScroll1();
        slider->setMax(40);
        slider->setValue(5);
        QVERIFY(shown(5)); // item 6
        view->scrollToBottom();
        slider->setValue(0); // no change reported: nothing scrolls
        QVERIFY(!shown(5));
        slider->setValue(40); // nothing after the last entry: silently nothing
        QVERIFY(!shown(5));

        // The slider keeps its width; a resize puts the thumb back at the top.
        slider->resize(50, slider->height());
        QCOMPARE(slider->width(), 8);
        QCOMPARE(slider->thumb()->y(), 0);
        // Read back Value, Max, Min in that order: the thumb follows.
        slider->readProperties({{"Value", 20}, {"Max", 40}, {"Min", 0}});
        QCOMPARE(slider->properties(), (QVariantMap{{"Value", 20}, {"Max", 40}, {"Min", 0}}));
        QCOMPARE(slider->thumb()->y(), 112); // half way down a 241 - 18 pixel track
    }

    void firstShowAfterStepsWhileHidden()
    {
        Rig rig;
        for (int i = 1; i <= 40; ++i)
            rig.playlist().append(QStringLiteral("/m/%1.avi").arg(i), QString::number(i));
        rig.playlist().setSliderMax(40);
        for (int i = 0; i < 30; ++i)
            rig.playlist().PlayNext();
        rig.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
        QTreeView* view = rig.window->listview1();
        QVERIFY(view->viewport()->rect().contains(view->visualRect(rig.playlist().index(29))));
        QCOMPARE(rig.window->PicVScroll1()->thumb()->y(), 167); // 30 / 40 of 241 - 18 pixels
    }

    void countFitsThreeDigits()
    {
        Rig rig;
        const auto* count = rig.window->findChild<QLabel*>("lbltotalfiles");
        QVERIFY(QFontMetrics(count->font()).horizontalAdvance("100") <= count->width());
    }

    void dropsAddAsTheAddButtonsDo()
    {
        const QString folder = m_dir.filePath("dropped");
        QDir().mkpath(folder);
        for (const char* name : {"b.avi", "a.mpg"})
            QVERIFY(writeFile(folder + '/' + name, "x"));
        const QString list = m_dir.filePath("dropped.orv");
        QVERIFY(OrvFormat::save(list, {"/m/1.avi", "/m/2.avi"}).isEmpty());
        const auto drop = [](QWidget* target, const QList<QUrl>& urls) {
            QMimeData data;
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &enter);
            QDropEvent dropEvent(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &dropEvent);
            return enter.isAccepted();
        };

        Rig rig;
        QVERIFY(!drop(rig.window.get(), {QUrl("https://example.org/a.avi")}));
        QCOMPARE(rig.playlist().count(), 0);
        // One file into the empty list: it is made current and the timer starts it.
        QVERIFY(drop(rig.window.get(), {QUrl::fromLocalFile("/m/one.avi")}));
        QCOMPARE(rig.playlist().paths(), QStringList{"/m/one.avi"});
        QVERIFY(rig.playlist().startupTimer().isActive());
        // A mix: a playlist through the reader, a folder through the scan, the web link
        // left out.
        QVERIFY(drop(rig.window.get(), {QUrl::fromLocalFile(list), QUrl("https://example.org/x"),
                                        QUrl::fromLocalFile(folder)}));
        QCOMPARE(rig.playlist().paths(), (QStringList{"/m/one.avi", "/m/1.avi", "/m/2.avi",
                                                      folder + "/a.mpg", folder + "/b.avi"}));
        QCOMPARE(rig.playlist().entry(4).displayName, QStringLiteral("a"));
    }
};

QTEST_MAIN(TestPlaylistWindow)
#include "tst_playlistwindow.moc"
