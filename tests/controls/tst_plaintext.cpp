// Tool tips for file names: ordinary names pass unchanged, and whatever a tool tip would take
// for markup still shows its own characters.
#include "common/plaintext.h"

#include <QTest>
#include <QTextDocument>

class TestPlainText : public QObject
{
    Q_OBJECT
private slots:
    void showsTheCharactersAsTheyAre_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("unchanged");

        QTest::newRow("ordinary name") << "Orvella: clip.avi 312x186" << true;
        QTest::newRow("ampersand and a greater-than sign") << "Tom & Jerry > 2.avi" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("a heading") << "<h1>big</h1>.avi" << false;
        QTest::newRow("after other text") << "Orvella: <b>bold</b> 312x186" << false;
        QTest::newRow("an escaped angle bracket") << "&lt;b&gt;.avi" << false;
        QTest::newRow("spaces and a second line") << "  <i>a</i>  &amp;\nb" << false;
    }
    void showsTheCharactersAsTheyAre()
    {
        QFETCH(QString, text);
        QFETCH(bool, unchanged);

        const QString tip = plainToolTip(text);
        QCOMPARE(tip == text, unchanged);
        // A tool tip renders markup exactly when Qt::mightBeRichText says so.
        QString shown = tip;
        if (Qt::mightBeRichText(tip)) {
            QTextDocument document;
            document.setHtml(tip);
            shown = document.toPlainText();
        }
        QCOMPARE(shown, text);
    }
};

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
