#include "conversion/qso_lines.h"

#include "test_files.h"

#include <QtTest>

namespace
{

const QString own = QStringLiteral("JA1AB");
constexpr int year = 2026;

} // namespace

class TestQsoLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsDataLine_data();
    void convertsDataLine();
    void refusesUndefinedLine_data();
    void refusesUndefinedLine();
    void skipsHeaderAndBlankLines();
    void emptyLogGivesOnlyTheEndLine();
    void ownCallsignIsCutToItsColumn();
    void numbersLinesAsTheLogTextDoes();
};

void TestQsoLines::convertsDataLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    const QString cw = QStringLiteral("QSO:  7000 CW 2026-04-29 1205 JA1AB         599 10     "
                                      "JA1XY         599 13     ");
    QTest::newRow("nine fields, no multiplier")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW 1") << cw;
    QTest::newRow("ten fields, with multiplier")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 13 7 CW 1") << cw;
    QTest::newRow("zLOG columns with blanks")
        << QStringLiteral(
               "  4  29 2105 JA1XY      59910        59913            13     7  CW  1   ")
        << cw;
    QTest::newRow("memo behind points, no multiplier")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW 1 (7012.5)") << cw;
    QTest::newRow("operator, dupe and memo, no multiplier")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW 1 %%JA1AB%% -DUPE- QSB") << cw;
    QTest::newRow("operator and memo, with multiplier")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 13 7 CW 1 %%JA1AB%% (7012.5)") << cw;
    QTest::newRow("phone reports are two characters")
        << QStringLiteral("4 29 2105 JA1XY 5910 5913 14 SSB 1")
        << QStringLiteral("QSO: 14000 SSB 2026-04-29 1205 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("RTTY reports 599 like CW")
        << QStringLiteral("4 29 0900 JA1XY 59910 59913 14 RTTY 1")
        << QStringLiteral("QSO: 14000 RTTY 2026-04-29 0900 JA1AB         599 10     "
                          "JA1XY         599 13     ");
    QTest::newRow("FT8 reports 599 like CW")
        << QStringLiteral("4 29 0900 JA1XY 59910 59913 14 FT8 1")
        << QStringLiteral("QSO: 14000 FT8 2026-04-29 0900 JA1AB         599 10     "
                          "JA1XY         599 13     ");
    QTest::newRow("lower-case cw is another mode")
        << QStringLiteral("4 29 0900 JA1XY 59910 59913 7 cw 1")
        << QStringLiteral("QSO:  7000 cw 2026-04-29 0900 JA1AB         59  910    "
                          "JA1XY         59  913    ");
    QTest::newRow("1.9 MHz, month and day padded")
        << QStringLiteral("4 9 0900 JA1XY 59910 59913 1.9 CW 1")
        << QStringLiteral("QSO:  1900 CW 2026-04-09 0900 JA1AB         599 10     "
                          "JA1XY         599 13     ");
    QTest::newRow("3.5 MHz, December")
        << QStringLiteral("12 31 0900 JA1XY 59910 59913 3.5 CW 1")
        << QStringLiteral("QSO:  3500 CW 2026-12-31 0900 JA1AB         599 10     "
                          "JA1XY         599 13     ");
    QTest::newRow("50 MHz fits five digits")
        << QStringLiteral("4 29 0900 JA1XY 5910 5913 50 FM 1")
        << QStringLiteral("QSO: 50000 FM 2026-04-29 0900 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("144 MHz becomes its band designator")
        << QStringLiteral("4 29 0900 JA1XY 5910 5913 144 FM 1")
        << QStringLiteral("QSO:   144 FM 2026-04-29 0900 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("430 MHz is the 432 band")
        << QStringLiteral("4 29 0900 JA1XY 5910 5913 430 FM 1")
        << QStringLiteral("QSO:   432 FM 2026-04-29 0900 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("1200 MHz is 1.2G")
        << QStringLiteral("4 29 0900 JA1XY 5910 5913 1200 FM 1")
        << QStringLiteral("QSO:  1.2G FM 2026-04-29 0900 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("10G without a multiplier")
        << QStringLiteral("4 29 0900 JA1XY 5910 5913 10G SSB 1 (10368000)")
        << QStringLiteral("QSO:   10G SSB 2026-04-29 0900 JA1AB         59  10     "
                          "JA1XY         59  13     ");
    QTest::newRow("1101 is 0201") << QStringLiteral("4 29 1101 JA1XY 59910 59913 7 CW 1")
                                  << QStringLiteral(
                                         "QSO:  7000 CW 2026-04-29 0201 JA1AB         599 10     "
                                         "JA1XY         599 13     ");
    QTest::newRow("2359 is 1459") << QStringLiteral("4 29 2359 JA1XY 59910 59913 7 CW 1")
                                  << QStringLiteral(
                                         "QSO:  7000 CW 2026-04-29 1459 JA1AB         599 10     "
                                         "JA1XY         599 13     ");
    QTest::newRow("1100 stays") << QStringLiteral("4 29 1100 JA1XY 59910 59913 7 CW 1")
                                << QStringLiteral(
                                       "QSO:  7000 CW 2026-04-29 1100 JA1AB         599 10     "
                                       "JA1XY         599 13     ");
    QTest::newRow("three-digit time is copied as it is")
        << QStringLiteral("4 29 930 JA1XY 59910 59913 7 CW 1")
        << QStringLiteral("QSO:  7000 CW 2026-04-29 930 JA1AB         599 10     "
                          "JA1XY         599 13     ");
    QTest::newRow("long exchange is cut to seven")
        << QStringLiteral("4 29 0900 JA1XYZ/QRP/9 59912345678 599 7 CW 1")
        << QStringLiteral("QSO:  7000 CW 2026-04-29 0900 JA1AB         599 1234567"
                          "JA1XYZ/QRP/9  599        ");
    QTest::newRow("capital Callsign in a remark is data")
        << QStringLiteral("4 29 0900 JA1XY 59910 59913 7 CW 1 Callsign")
        << QStringLiteral("QSO:  7000 CW 2026-04-29 0900 JA1AB         599 10     "
                          "JA1XY         599 13     ");
}

void TestQsoLines::convertsDataLine()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    const QsoLines result = WriteQsoLines(crlfLines({line}), own, year);
    QVERIFY2(!result.error, qPrintable(result.error.value_or(QString())));
    QCOMPARE(result.lines, QStringList({expected, QStringLiteral("END-OF-LOG: ")}));
}

void TestQsoLines::refusesUndefinedLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    // A one-word line would otherwise repeat the QSO before it.
    QTest::newRow("one word") << QStringLiteral("JA1XY")
                              << QStringLiteral("ログの3行目は項目が1個しかありません");
    QTest::newRow("eight fields") << QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW")
                                  << QStringLiteral("ログの3行目は項目が8個しかありません");
    QTest::newRow("band is no number") << QStringLiteral("4 29 2105 JA1XY 59910 59913 X CW 1")
                                       << QStringLiteral("ログの3行目のバンド「X」");
    QTest::newRow("frequency wider than five")
        << QStringLiteral("4 29 2105 JA1XY 59910 59913 7.0125 CW 1")
        << QStringLiteral("ログの3行目のバンド「7.0125」はCabrillo");
    QTest::newRow("unknown G band") << QStringLiteral("4 29 2105 JA1XY 5910 5913 24G SSB 1")
                                    << QStringLiteral("ログの3行目のバンド「24G」はCabrillo");
    QTest::newRow("time beyond 16 bits") << QStringLiteral("4 29 99999 JA1XY 59910 59913 7 CW 1")
                                         << QStringLiteral("ログの3行目の時刻「99999」");
    QTest::newRow("time of endless digits")
        << QStringLiteral("4 29 ") + QString(400, QLatin1Char('9')) +
               QStringLiteral(" JA1XY 59910 59913 7 CW 1")
        << QStringLiteral("ログの3行目の時刻");
}

void TestQsoLines::refusesUndefinedLine()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    const QString good = QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW 1");
    const QsoLines result = WriteQsoLines(crlfLines({good, QString(), line, good}), own, year);
    QVERIFY(result.error);
    QVERIFY2(result.error->startsWith(message), qPrintable(*result.error));
    QVERIFY2(result.error->contains(line.left(100)), "the message shows the line to mend");
}

void TestQsoLines::skipsHeaderAndBlankLines()
{
    const QString log = crlfLines({
        QStringLiteral(
            "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo"),
        QStringLiteral("          "),
        QStringLiteral("ログデータ 2026"),
        QStringLiteral("4 29 2105 JA1XY 59910 59913 7 CW 1 the callsign was weak"),
        QStringLiteral("4 29 2106 JA1XZ 59910 59913 7 CW 1"),
    });
    const QsoLines result = WriteQsoLines(log, own, year);
    QVERIFY(!result.error);
    QCOMPARE(result.lines.size(), 2);
    QVERIFY(result.lines.first().contains(QStringLiteral("JA1XZ")));
    QCOMPARE(result.sourceLines, QList<int>({5}));
}

void TestQsoLines::emptyLogGivesOnlyTheEndLine()
{
    for (const QString &log : {QString(), QStringLiteral("    "), QStringLiteral("\r\n\r\n")})
        QCOMPARE(WriteQsoLines(log, own, year).lines,
                 QStringList({QStringLiteral("END-OF-LOG: ")}));

    const QsoLines twoLineFeeds = WriteQsoLines(QStringLiteral("callsign\r\n\ny"), own, year);
    QCOMPARE(twoLineFeeds.error,
             std::optional<QString>(QStringLiteral("ログの2行目がCRの無い改行（LF）だけの行です")));
}

void TestQsoLines::ownCallsignIsCutToItsColumn()
{
    const QString line = crlfLines({QStringLiteral("4 29 0900 JA1XY 59910 59913 7 CW 1")});
    const QString portable = WriteQsoLines(line, QStringLiteral("JA1AB/1"), year).lines.first();
    QCOMPARE(portable.mid(30, 14), QStringLiteral("JA1AB/1       "));
    const QString longCall =
        WriteQsoLines(line, QStringLiteral("ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴＡＢＬＥ"), year)
            .lines.first();
    QCOMPARE(longCall.mid(30, 18), QStringLiteral("ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴ599 "));
}

void TestQsoLines::numbersLinesAsTheLogTextDoes()
{
    const QString log =
        QStringLiteral("header callsign\r\n\r\n4 29 2105 JA1XY 59910 59913 7 CW 1\r\n"
                       "4 29 2105 JA1XZ 59910 59913 7 CW 1");
    const QsoLines result = WriteQsoLines(log, own, year);
    QCOMPARE(result.sourceLines, QList<int>({3, 4}));
    QCOMPARE(result.lines.size(), 3);
}

QTEST_GUILESS_MAIN(TestQsoLines)
#include "tst_qso_lines.moc"
