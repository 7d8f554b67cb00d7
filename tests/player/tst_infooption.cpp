// --help and --version: which command lines ask for them, and the real program answering with
// no display to open and no runtime folder touched.
#include "player/infooption.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using InfoOption::Asked;

class TestInfoOption : public QObject
{
    Q_OBJECT

private slots:
    void asked_data();
    void asked();
    void programAnswersAlone_data();
    void programAnswersAlone();
};

void TestInfoOption::asked_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Asked>("expected");
    QTest::newRow("none") << QStringList{} << Asked::Nothing;
    QTest::newRow("help") << QStringList{"--help"} << Asked::Help;
    QTest::newRow("version") << QStringList{"--version"} << Asked::Version;
    QTest::newRow("a file called --help") << QStringList{"./--help"} << Asked::Nothing;
    QTest::newRow("help and more") << QStringList{"--help", "clip.avi"} << Asked::Nothing;
    QTest::newRow("a file, then help") << QStringList{"clip.avi", "--help"} << Asked::Nothing;
    QTest::newRow("both") << QStringList{"--version", "--help"} << Asked::Nothing;
    QTest::newRow("short") << QStringList{"-h"} << Asked::Nothing;
    QTest::newRow("other case") << QStringList{"--Help"} << Asked::Nothing;
    QTest::newRow("blank after") << QStringList{"--help "} << Asked::Nothing;
    QTest::newRow("quoted") << QStringList{"\"--help\""} << Asked::Nothing;
}

void TestInfoOption::asked()
{
    QFETCH(QStringList, arguments);
    QFETCH(Asked, expected);
    QCOMPARE(InfoOption::asked(arguments), expected);
}

void TestInfoOption::programAnswersAlone_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("help") << "--help"
                          << "Usage: orvella [FILE...]";
    QTest::newRow("version") << "--version"
                             << QStringLiteral("Orvella %1.%2.%3")
                                    .arg(ORVELLA_VERSION_MAJOR)
                                    .arg(ORVELLA_VERSION_MINOR)
                                    .arg(ORVELLA_VERSION_PATCH);
}

void TestInfoOption::programAnswersAlone()
{
    QFETCH(QString, option);
    QFETCH(QString, firstLine);

    // No display at all: a program that got as far as its window would fail to start.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("XDG_CACHE_HOME", runtime.filePath("cache"));

    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ORVELLA_BINARY), {option});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.front(), firstLine);
    QCOMPARE(program.readAllStandardError(), QByteArray());
    // No lock, no start-up picture.
    QCOMPARE(QDir(runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

QTEST_GUILESS_MAIN(TestInfoOption)
#include "tst_infooption.moc"
