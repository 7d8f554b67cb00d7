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
    QTest::newRow("short") << QStringList{"-h"} << Asked::Help;
    QTest::newRow("other case") << QStringList{"--Help"} << Asked::Unknown;
    QTest::newRow("an unknown option") << QStringList{"--fullscreen"} << Asked::Unknown;
    QTest::newRow("a dash alone is a name") << QStringList{"-"} << Asked::Nothing;
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
    QTest::addColumn<int>("exitCode");
    // On standard output when the exit code is 0, else on standard error.
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("help") << "--help" << 0 << "Usage: orvella [FILE...]";
    QTest::newRow("-h") << "-h" << 0 << "Usage: orvella [FILE...]";
    QTest::newRow("version") << "--version" << 0
                             << QStringLiteral("Orvella %1.%2.%3")
                                    .arg(ORVELLA_VERSION_MAJOR)
                                    .arg(ORVELLA_VERSION_MINOR)
                                    .arg(ORVELLA_VERSION_PATCH);
    QTest::newRow("unknown option")
        << "--bogus" << 2 << "Usage: orvella [FILE...]   (orvella --help tells more)";
}

void TestInfoOption::programAnswersAlone()
{
    QFETCH(QString, option);
    QFETCH(int, exitCode);
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
    QCOMPARE(program.exitCode(), exitCode);
    const QByteArray told = program.readAllStandardOutput();
    const QByteArray error = program.readAllStandardError();
    QCOMPARE(QString::fromLocal8Bit(exitCode == 0 ? told : error).section('\n', 0, 0), firstLine);
    QCOMPARE(exitCode == 0 ? error : told, QByteArray());
    // No lock, no start-up picture.
    QCOMPARE(QDir(runtime.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{});
}

QTEST_GUILESS_MAIN(TestInfoOption)
#include "tst_infooption.moc"
