// Stepping through the playlist: wrap-around, the start-up timer and start check, refused
// files and the edges of an empty or one-entry list.
#include "engine/mediaengine.h"
#include "playlist/displayname.h"
#include "playlist/playlist.h"

#include <QSignalSpy>
#include <QTest>

class TestPlaylistNavigation : public QObject
{
    Q_OBJECT

    struct Rig : Playlist::Player
    {
        Playlist playlist;
        QStringList loaded;
        QStringList refused;
        int playState = PlayStates::Stopped;

        explicit Rig(int entries)
        {
            playlist.setPlayer(this);
            for (int i = 1; i <= entries; ++i)
                playlist.append(path(i), QStringLiteral("e%1").arg(i));
        }
        bool openEntry(const QString& path) override
        {
            loaded << path;
            return !refused.contains(path);
        }
        bool playing() const override { return playState == PlayStates::Playing; }
        static QString path(int i) { return QStringLiteral("/m/e%1.avi").arg(i); }
        void setCurrent(int item)
        {
            playlist.setSelectedItem(item);
            playlist.playSelected();
            loaded.clear();
        }
    };

private slots:
    void nextAndPreviousWrapAround()
    {
        Rig rig(3);
        rig.setCurrent(3);
        rig.playlist.PlayNext();
        QCOMPARE(rig.loaded, QStringList{Rig::path(1)});
        QCOMPARE(rig.playlist.CurrentIndex(), 1);
        QCOMPARE(rig.playlist.selectedItem(), 1);
        QCOMPARE(rig.playlist.sliderValue(), 1);

        rig.loaded.clear();
        rig.playlist.PlayPrev();
        QCOMPARE(rig.loaded, QStringList{Rig::path(3)});
        QCOMPARE(rig.playlist.CurrentIndex(), 3);
        QCOMPARE(rig.playlist.currentPath(), Rig::path(3));
        QCOMPARE(rig.playlist.pathListIndex(), 2);
    }

    void fromNoCurrentEntryNextPlaysTheFirstAndPreviousTheLast()
    {
        for (const bool next : {true, false}) {
            Rig rig(3);
            QCOMPARE(rig.playlist.CurrentIndex(), 0);
            next ? rig.playlist.PlayNext() : rig.playlist.PlayPrev();
            QCOMPARE(rig.loaded, QStringList{Rig::path(next ? 1 : 3)});
            QCOMPARE(rig.playlist.CurrentIndex(), next ? 1 : 3);
        }
    }

    void emptyPlaylistStepsDoNothing()
    {
        Rig rig(0);
        rig.playlist.PlayNext();
        rig.playlist.PlayPrev();
        rig.playlist.playSelected();
        rig.playlist.Go();
        rig.playlist.firstGo();
        QVERIFY(rig.loaded.isEmpty());
        QCOMPARE(rig.playlist.CurrentIndex(), 0);
        QCOMPARE(rig.playlist.currentPath(), QStringLiteral("No File"));
        QVERIFY(!rig.playlist.startupTimer().isActive());
    }

    void oneEntry()
    {
        Rig rig(1);
        rig.playlist.nextFileClicked();
        rig.playlist.previousFileClicked();
        QVERIFY(rig.loaded.isEmpty());
        // The main window's commands still step, and replay the one entry.
        rig.playlist.PlayNext();
        rig.playlist.PlayNext();
        QCOMPARE(rig.loaded, (QStringList{Rig::path(1), Rig::path(1)}));
    }

    void buttonsStepWithTwoEntries()
    {
        Rig rig(2);
        rig.playlist.nextFileClicked();
        rig.playlist.nextFileClicked();
        rig.playlist.previousFileClicked();
        QCOMPARE(rig.loaded, (QStringList{Rig::path(1), Rig::path(2), Rig::path(1)}));
    }

    void firstGoShowsTheLastEntryThenTheTimerPlaysTheFirst()
    {
        Rig rig(5);
        QSignalSpy shown(&rig.playlist, &Playlist::currentPathShown);
        rig.playlist.firstGo();
        QCOMPARE(rig.playlist.currentPath(), Rig::path(5));
        QCOMPARE(rig.playlist.CurrentIndex(), 5);
        QCOMPARE(rig.playlist.sliderMax(), 5);
        QVERIFY(rig.loaded.isEmpty());
        QVERIFY(rig.playlist.startupTimer().isActive());
        QCOMPARE(rig.playlist.startupTimer().interval(), 500);

        QTRY_COMPARE_WITH_TIMEOUT(rig.loaded, QStringList{Rig::path(1)}, 5000);
        QVERIFY(!rig.playlist.startupTimer().isActive());
        QCOMPARE(rig.playlist.startTrigger(), QStringLiteral("0"));
        QCOMPARE(rig.playlist.sliderValue(), 1);
        QCOMPARE(rig.playlist.CurrentIndex(), 1);
        QVERIFY(shown.count() >= 2);
    }

    void goWhilePlayingOnlyResetsThePosition()
    {
        Rig rig(2);
        rig.playlist.PlayNext();
        rig.playlist.PlayNext(); // entry 2 plays
        rig.playState = PlayStates::Playing;
        rig.loaded.clear();

        rig.playlist.append(Rig::path(3), QStringLiteral("e3"));
        rig.playlist.Go();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.playlist.startupTimer().isActive(), 5000);
        QVERIFY(rig.loaded.isEmpty());
        QCOMPARE(rig.playlist.CurrentIndex(), 0);
        rig.playlist.PlayNext();
        QCOMPARE(rig.loaded, QStringList{Rig::path(1)});
    }

    void goMarksTheSelectedEntry()
    {
        Rig rig(3);
        rig.playlist.setSelectedItem(2);
        rig.playlist.Go();
        QCOMPARE(rig.playlist.CurrentIndex(), 2);
        QCOMPARE(rig.playlist.currentPath(), Rig::path(2));
        QVERIFY(rig.loaded.isEmpty());
        QCOMPARE(rig.playlist.sliderMax(), 3);
    }

    void refusedFileStopsTheStepHalfWay()
    {
        Rig rig(3);
        rig.playlist.PlayNext(); // entry 1 plays
        rig.refused << Rig::path(2);
        rig.loaded.clear();
        rig.playlist.PlayNext();
        QCOMPARE(rig.loaded, QStringList{Rig::path(2)});
        QCOMPARE(rig.playlist.CurrentIndex(), 2);
        QCOMPARE(rig.playlist.currentPath(), Rig::path(2));
        // The view's selection and the slider still show the entry that played.
        QCOMPARE(rig.playlist.selectedItem(), 1);
        QCOMPARE(rig.playlist.sliderValue(), 1);
    }

    void doubleClickPlaysAtOnceWithoutTheSlider()
    {
        Rig rig(3);
        QSignalSpy slider(&rig.playlist, &Playlist::sliderValueChanged);
        rig.playlist.setSelectedItem(2);
        rig.playlist.playSelected();
        QCOMPARE(rig.loaded, QStringList{Rig::path(2)});
        QCOMPARE(rig.playlist.CurrentIndex(), 2);
        QCOMPARE(slider.count(), 0);
        QVERIFY(!rig.playlist.startupTimer().isActive());
    }

    void countCaptionRefreshesOnlyWhenAsked()
    {
        Rig rig(0);
        rig.playlist.append(Rig::path(1), QStringLiteral("e1"));
        QCOMPARE(rig.playlist.shownCount(), 0);
        rig.playlist.entryClicked();
        QCOMPARE(rig.playlist.shownCount(), 1);
        rig.playlist.clear();
        QCOMPARE(rig.playlist.count(), 0);
        QCOMPARE(rig.playlist.shownCount(), 1);
        QCOMPARE(rig.playlist.selectedItem(), 0);
    }

    void firstEntryAddedIsSelected()
    {
        Rig rig(0);
        QCOMPARE(rig.playlist.selectedItem(), 0);
        rig.playlist.append(Rig::path(1), QStringLiteral("e1"));
        rig.playlist.append(Rig::path(2), QStringLiteral("e2"));
        QCOMPARE(rig.playlist.selectedItem(), 1);
    }

    // However entries come, the list stops at its limit and says how many it left out.
    void fullListTakesNoMore()
    {
        Rig rig(0);
        QSignalSpy full(&rig.playlist, &Playlist::full);
        PathStore almost;
        for (qsizetype i = 1; i < Playlist::MaxEntries; ++i)
            almost.appendUtf8("/m/a.avi");
        rig.playlist.append(std::move(almost));
        QCOMPARE(full.count(), 0);
        rig.playlist.append({{Rig::path(1), {}}, {Rig::path(2), {}}, {Rig::path(3), {}}});
        QCOMPARE(rig.playlist.count(), Playlist::MaxEntries);
        QCOMPARE(rig.playlist.entry(rig.playlist.count()).path, Rig::path(1));
        PathStore more;
        more.append(Rig::path(4));
        more.append(Rig::path(5));
        rig.playlist.append(std::move(more));
        QCOMPARE(rig.playlist.count(), Playlist::MaxEntries);
        QCOMPARE(full.count(), 2);
        QCOMPARE(full.at(0).at(0).value<qsizetype>(), 2);
        QCOMPARE(full.at(1).at(0).value<qsizetype>(), 2);
    }

    void displayNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("file") << "/home/a/b.avi"
                              << "b.avi";
        QTest::newRow("trailing separator") << "/home/Movies/"
                                            << "Movies/";
        QTest::newRow("no separator") << "a.avi"
                                      << "a.avi";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("backslash is ordinary") << "C:\\Movies\\a.avi"
                                               << "C:\\Movies\\a.avi";
        QTest::newRow("single separator") << "/"
                                          << "/";
    }
    void displayNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(Paths::nameAfterLastSeparator(path), name);
    }
};

QTEST_GUILESS_MAIN(TestPlaylistNavigation)
#include "tst_playlistnavigation.moc"
