// How the picture is drawn: OpenGL only where a graphics card draws it, unless the user says.
#include "engine/picturedrawing.h"

#include <QTest>

using PictureDrawing::Kind;

class TestPictureDrawing : public QObject
{
    Q_OBJECT

private slots:
    void choose_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("softwareGlAsked");
        QTest::addColumn<bool>("directRendering");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("graphics card") << QString() << false << true << Kind::OpenGl;
        QTest::newRow("no graphics card (Xvfb, a virtual machine)")
            << QString() << false << false << Kind::Software;
        QTest::newRow("software OpenGL asked for") << QString() << true << true << Kind::Software;
        QTest::newRow("opengl asked for, without a card")
            << QStringLiteral("OpenGL") << false << false << Kind::OpenGl;
        QTest::newRow("software asked for, with a card")
            << QStringLiteral("software") << false << true << Kind::Software;
        QTest::newRow("unknown word: the machine decides")
            << QStringLiteral("vulkan") << false << true << Kind::OpenGl;
    }

    void choose()
    {
        QFETCH(QString, asked);
        QFETCH(bool, softwareGlAsked);
        QFETCH(bool, directRendering);
        QFETCH(Kind, kind);
        QCOMPARE(PictureDrawing::choose(asked, softwareGlAsked, directRendering), kind);
    }

    // A picture zoomed past any screen is drawn no larger than the screen, in its own shape.
    void boundedSize_data()
    {
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("drawn");
        const QSize hd(1920, 1080);
        QTest::newRow("window on the screen") << QSize(960, 540) << hd << QSize(960, 540);
        QTest::newRow("full screen") << hd << hd << hd;
        QTest::newRow("square zoomed past the screen")
            << QSize(28000, 28000) << hd << QSize(1080, 1080);
        QTest::newRow("wide zoomed past the screen") << QSize(7680, 2160) << hd << QSize(1920, 540);
        QTest::newRow("no screen known: 2^31 bytes at most")
            << QSize(46341, 46341) << QSize() << QSize(23170, 23170);
        QTest::newRow("empty") << QSize(0, 0) << hd << QSize(1, 1);
    }

    void boundedSize()
    {
        QFETCH(QSize, wanted);
        QFETCH(QSize, screen);
        QFETCH(QSize, drawn);
        QCOMPARE(PictureDrawing::boundedSize(wanted, screen), drawn);
    }

    // A frame drawn ahead is shown at its time, never before and never long after the asking.
    void waitBeforeShowing_data()
    {
        QTest::addColumn<qint64>("showAt");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<qint64>("waitUs");
        QTest::newRow("drawn ahead") << qint64(1'050'000) << qint64(1'000'000) << qint64(50'000);
        QTest::newRow("its time") << qint64(1'000'000) << qint64(1'000'000) << qint64(0);
        QTest::newRow("late") << qint64(1'000'000) << qint64(1'020'000) << qint64(0);
        QTest::newRow("a redraw has no time") << qint64(0) << qint64(1'000'000) << qint64(0);
        QTest::newRow("a time far off") << qint64(61'000'000) << qint64(1'000'000)
                                        << qint64(PictureDrawing::longestWait.count());
    }

    void waitBeforeShowing()
    {
        QFETCH(qint64, showAt);
        QFETCH(qint64, now);
        QFETCH(qint64, waitUs);
        QCOMPARE(PictureDrawing::waitBeforeShowing(showAt, now).count(), waitUs);
    }
};

QTEST_GUILESS_MAIN(TestPictureDrawing)
#include "tst_picturedrawing.moc"
