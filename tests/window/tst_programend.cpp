// The program's one end: a request to quit from outside (the session's end) closes the main
// window, also when another window refuses to close, and ends nothing by itself; an end that
// comes before the event loop runs is kept.
#include "window/programend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

namespace {

class RefusesToClose : public QWidget
{
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// Once the application exits, every event loop returns at once.
bool loopsStillRun()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 1;
}

} // namespace

class TestProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void quitClosesTheMainWindow_data()
    {
        QTest::addColumn<bool>("otherWindowRefuses");
        QTest::newRow("main window alone") << false;
        QTest::newRow("another window refuses to close") << true;
    }
    void quitClosesTheMainWindow()
    {
        QFETCH(bool, otherWindowRefuses);
        QWidget mainWindow;
        RefusesToClose other;
        mainWindow.show();
        other.setVisible(otherWindowRefuses);
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        const ProgramEnd end(mainWindow);
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
        QVERIFY(!mainWindow.isVisible());
        QVERIFY(loopsStillRun());
    }

    // Last: the application has exited afterwards.
    void endBeforeTheLoopStartsIsKept()
    {
        QWidget mainWindow;
        ProgramEnd end(mainWindow);
        end.end();
        // A loop that ran after all would be ended here instead, with another code.
        QTimer::singleShot(0, [] { QCoreApplication::exit(7); });
        QCOMPARE(end.exec(), 0);
    }
};

QTEST_MAIN(TestProgramEnd)
#include "tst_programend.moc"
