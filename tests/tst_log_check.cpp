// The check of a log before it is sent: one row per warning, and a log without any.
#include "conversion/log_check.h"
#include "core/contests.h"

#include "test_files.h"

namespace
{

// A clean 7 MHz log of 2026-11-23, as zLOG exports it; zLOG marked the last QSO a dupe.
const QStringList clean = {
    u"mon day time  callsign      sent         rcvd      multi   MHz mode pts memo"_s,
    u" 11  23 0902 JH1QXK     59910        59913            13     7  CW  1   "_s,
    u" 11  23 1101 JA3FBN     59910        59925            25     7  CW  1   (7012.5)"_s,
    u" 11  23 1205 JH1QXK     59910        59913            13     7  CW  0   -DUPE-"_s,
};

} // namespace

class TestLogCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsMistakes_data()
    {
        // the category; a line put in place of the clean log's line (index, text); the
        // rule expected to speak, and the lines it names
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QList<int>>("lines");
        QTest::newRow("clean") << Contests::clubSingleBand << 0 << clean.at(0) << QString()
                               << QList<int>();
        QTest::newRow("band outside the category")
            << Contests::clubTwoBands << 2
            << u" 11  23 1101 JA3FBN     59910        59925            25    21  CW  1"_s
            << u"band"_s << QList<int>{3};
        QTest::newRow("duplicate without the mark")
            << Contests::clubSingleBand << 3
            << u" 11  23 1205 JH1QXK     59910        59913            13     7  CW  0"_s
            << u"duplicate"_s << QList<int>{2, 4};
        QTest::newRow("report without a number")
            << Contests::clubSingleBand << 2
            << u" 11  23 1101 JA3FBN     59910        599              25     7  CW  1"_s
            << u"number"_s << QList<int>{3};
        QTest::newRow("dates spread over days")
            << Contests::clubSingleBand << 2
            << u" 11  27 1101 JA3FBN     59910        59925            25     7  CW  1"_s
            << u"dates"_s << QList<int>{2, 3};
        QTest::newRow("sent multiplier differs")
            << Contests::clubSingleBand << 2
            << u" 11  23 1101 JA3FBN     59911        59925            25     7  CW  1"_s
            << u"sent"_s << QList<int>{2, 3};
    }
    void findsMistakes()
    {
        QFETCH(QString, category);
        QFETCH(int, at);
        QFETCH(QString, line);
        QFETCH(QString, rule);
        QFETCH(QList<int>, lines);
        StationEntries entries;
        entries.contest = Contests::club.name;
        entries.category = category;
        QStringList log = clean;
        log[at] = line;
        const LogCheck check =
            CheckLog(entries, LinesOfLogText(crlfLines(log)), {2026, false}, QDate(2026, 12, 1));
        QCOMPARE(check.findings.size(), rule.isEmpty() ? 0 : 1);
        if (!rule.isEmpty()) {
            QCOMPARE(check.findings.first().rule, rule);
            QCOMPARE(check.findings.first().lines, lines);
            const QString first = log.at(lines.first() - 1).trimmed();
            QVERIFY2(check.findings.first().where.startsWith(
                         u"ログの%1行目「%2」"_s.arg(lines.first()).arg(first)),
                     qPrintable(check.findings.first().where));
            return;
        }
        QCOMPARE(SummaryLine(check), u"QSO 3 件（7MHz 3）、11-23 0902〜0305、警告 0 件"_s);
        QCOMPARE(check.summary.receivedMultipliers, 2);
        QCOMPARE(check.summary.markedDuplicates, 1);
        // A year far from today, as last year's file gives, is found too.
        QCOMPARE(
            CheckLog(entries, LinesOfLogText(crlfLines(log)), {2025, false}, QDate(2026, 12, 1))
                .findings.first()
                .text,
            u"QSOの日付が2025-11-23〜2025-11-23です。年とログファイルが正しいか確かめて下さい"_s);
    }
};

QTEST_GUILESS_MAIN(TestLogCheck)
#include "tst_log_check.moc"
