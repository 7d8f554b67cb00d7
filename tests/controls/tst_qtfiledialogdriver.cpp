// The real save dialog under a virtual X server: a typed name, the default extension, the
// overwrite question and cancel, driven as a user would through the dialog's own widgets.
#include "controls/commondialog.h"
#include "controls/qtfiledialogdriver.h"
#include "whenshown.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

enum class Answer
{
    Type,
    TypeAndReplace,
    Cancel
};

} // namespace

class TestQtFileDialogDriver : public QObject
{
    Q_OBJECT
private slots:
    void saveDialog_data();
    void saveDialog();
};

void TestQtFileDialogDriver::saveDialog_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("typed without extension gets the default one")
        << Answer::Type << QStringLiteral("mylist") << QStringLiteral("mylist.txt");
    QTest::newRow("typed extension kept")
        << Answer::Type << QStringLiteral("mylist.orv") << QStringLiteral("mylist.orv");
    QTest::newRow("existing file: asks, then replaces")
        << Answer::TypeAndReplace << QStringLiteral("old.orv") << QStringLiteral("old.orv");
    QTest::newRow("cancel") << Answer::Cancel << QStringLiteral("ignored") << QString();
}

void TestQtFileDialogDriver::saveDialog()
{
    QFETCH(Answer, answer);
    QFETCH(QString, typed);
    QFETCH(QString, expectedName);

    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("old.orv")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();

    CommonDialog dialog(std::make_unique<QtFileDialogDriver>());
    dialog.setFilter(QStringLiteral("Orvella Playlist (orv)|*.orv"));
    dialog.setDialogTitle(QStringLiteral("Choose media to play"));
    dialog.setInitDir(dir.path());

    QString shownTitle;
    QString shownFilter;
    WhenShown<QMessageBox> replace(
        [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    WhenShown<QFileDialog> user([&](QFileDialog* fileDialog) {
        shownTitle = fileDialog->windowTitle();
        shownFilter = fileDialog->selectedNameFilter();
        auto* buttons = fileDialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (answer == Answer::Cancel) {
            buttons->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        buttons->button(QDialogButtonBox::Save)->click();
    });
    dialog.ShowSave();

    QVERIFY(user.seen());
    QCOMPARE(shownTitle, QStringLiteral("Choose media to play"));
    // The list shows each description as the filter text gives it, the first one chosen.
    QCOMPARE(shownFilter, QStringLiteral("Orvella Playlist (orv)"));
    QCOMPARE(replace.seen(), answer == Answer::TypeAndReplace);
    const QString expected = expectedName.isEmpty() ? QString() : dir.filePath(expectedName);
    QCOMPARE(dialog.filename(), expected);
}

QTEST_MAIN(TestQtFileDialogDriver)
#include "tst_qtfiledialogdriver.moc"
