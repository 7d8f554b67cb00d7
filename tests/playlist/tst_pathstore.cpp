// The packed paths: blocks filled to their edge, a path longer than its block, a pack onto a pack.
#include "playlist/pathstore.h"

#include <QTest>

namespace {
PathStore packed(const QStringList& paths)
{
    PathStore store;
    for (const QString& path : paths)
        store.append(path);
    return store;
}
} // namespace

class TestPathStore : public QObject
{
    Q_OBJECT
private slots:
    void keepsEveryPath_data()
    {
        // The length of each path; each record is its length's four bytes and the path.
        QTest::addColumn<QList<qsizetype>>("lengths");
        constexpr qsizetype first = qsizetype(64) << 10, later = qsizetype(2) << 20;
        QTest::newRow("empty") << QList<qsizetype>{};
        QTest::newRow("first block filled to its edge") << QList<qsizetype>{10, first - 18, 0};
        QTest::newRow("one byte past the first block") << QList<qsizetype>{10, first - 17};
        QTest::newRow("longer than the first block") << QList<qsizetype>{first};
        QTest::newRow("longer than a later block") << QList<qsizetype>{10, later + 1, 10};
        QTest::newRow("past the first block of slots") << QList<qsizetype>(first / 8 + 1, 2);
    }
    void keepsEveryPath()
    {
        QFETCH(QList<qsizetype>, lengths);
        QStringList paths;
        for (const qsizetype length : lengths)
            paths << QString(length, QChar(char16_t(u'a' + paths.size() % 26)));
        QCOMPARE(packed(paths).toList(), paths);
        // A read file's paths packed onto a list that holds some already.
        PathStore onto = packed({QStringLiteral("/m/é.avi")});
        onto.append(packed(paths));
        QCOMPARE(onto.toList(), QStringList{QStringLiteral("/m/é.avi")} + paths);
    }
};

QTEST_GUILESS_MAIN(TestPathStore)
#include "tst_pathstore.moc"
