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
};

QTEST_GUILESS_MAIN(TestPictureDrawing)
#include "tst_picturedrawing.moc"
