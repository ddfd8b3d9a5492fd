#include "conversion/qso_lines.h"

#include "test_files.h"

#include <QtTest>

namespace
{

QsoLines convert(const QString &log, const QString &callsign = u"JA1AB"_s)
{
    return WriteQsoLines(log, callsign, 2026);
}

void row(const char *name, const char *band, const char *mode, const char *time,
         const char *frequency, const char *utc, bool threeDigitReport)
{
    QTest::newRow(name) << QString::fromUtf8(band) << QString::fromUtf8(mode)
                        << QString::fromUtf8(time) << QString::fromUtf8(frequency)
                        << QString::fromUtf8(utc) << threeDigitReport;
}

} // namespace

class TestQsoLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsDataLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        const QString worked =
            u"QSO:  7000 CW 2026-04-29 1205 JA1AB         599 10     JA1XY         599 13     "_s;
        QTest::newRow("worked example") << u"4 29 2105 JA1XY 59910 59913 7 CW 1"_s << worked;
        QTest::newRow("with multiplier") << u"4 29 2105 JA1XY 59910 59913 13 7 CW 1"_s << worked;
        QTest::newRow("zLOG columns")
            << u"  4  29 2105 JA1XY      59910        59913            13     7  CW  1   "_s
            << worked;
        QTest::newRow("memo behind points, no multiplier")
            << u"4 29 2105 JA1XY 59910 59913 7 CW 1 (7012.5)"_s << worked;
        QTest::newRow("operator, dupe and memo, with multiplier")
            << u"4 29 2105 JA1XY 59910 59913 13 7 CW 1 %%JA1AB%% -DUPE- (7012.5)"_s << worked;
        QTest::newRow("10G with memo, no multiplier")
            << u"4 29 0900 JA1XY 5910 5913 10G SSB 1 (10368000)"_s
            << u"QSO:   10G SSB 2026-04-29 0900 JA1AB         59  10     JA1XY         59  13     "_s;
        QTest::newRow("long exchange is cut to seven")
            << u"4 29 0900 JA1XYZ/QRP/9 59912345678 599 7 CW 1"_s
            << u"QSO:  7000 CW 2026-04-29 0900 JA1AB         599 1234567JA1XYZ/QRP/9  599        "_s;
    }
    void convertsDataLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        const QsoLines result = convert(crlfLines({line}));
        QVERIFY2(!result.error, qPrintable(result.error.value_or(QString())));
        QCOMPARE(result.lines, QStringList({expected, u"END-OF-LOG: "_s}));
    }

    void bandModeAndTime_data()
    {
        for (const char *column : {"band", "mode", "time", "frequency", "utc"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<bool>("threeDigitReport");
        row("1.9 MHz", "1.9", "CW", "0900", " 1900", "0900", true);
        row("50 MHz fits five digits", "50", "FM", "0900", "50000", "0900", false);
        row("144 MHz", "144", "FM", "0900", "  144", "0900", false);
        row("430 MHz is the 432 band", "430", "FM", "0900", "  432", "0900", false);
        row("1200 MHz", "1200", "FM", "0900", " 1.2G", "0900", false);
        row("2400 MHz", "2400", "FM", "0900", " 2.3G", "0900", false);
        row("5600 MHz", "5600", "FM", "0900", " 5.7G", "0900", false);
        for (const char *mode : {"RTT", "RTTY", "FT4", "FT8", "Oth", "Other"})
            row(mode, "14", mode, "0900", "14000", "0900", true);
        for (const char *mode : {"SSB", "AM", "cw"})
            row(mode, "14", mode, "0900", "14000", "0900", false);
        row("1101 is 0201", "7", "CW", "1101", " 7000", "0201", true);
        row("2359 is 1459", "7", "CW", "2359", " 7000", "1459", true);
        row("1100 stays", "7", "CW", "1100", " 7000", "1100", true);
        row("three-digit time is copied", "7", "CW", "930", " 7000", "930", true);
    }
    void bandModeAndTime()
    {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, time);
        QFETCH(QString, frequency);
        QFETCH(QString, utc);
        QFETCH(bool, threeDigitReport);
        const QString line = u"12 9 %1 JA1XY 59910 59913 %2 %3 1"_s.arg(time, band, mode);
        const QString reports = threeDigitReport ? u"599 10     JA1XY         599 13     "_s
                                                 : u"59  910    JA1XY         59  913    "_s;
        QCOMPARE(convert(line).lines.value(0),
                 u"QSO: %1 %2 2026-12-09 %3 JA1AB         "_s.arg(frequency, mode, utc) + reports);
    }

    void refusesUndefinedLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        // A one-word line would otherwise repeat the QSO before it.
        QTest::newRow("one word") << u"JA1XY"_s << u"ログの3行目は項目が1個しかありません"_s;
        QTest::newRow("eight fields")
            << u"4 29 2105 JA1XY 59910 59913 7 CW"_s << u"ログの3行目は項目が8個しかありません"_s;
        QTest::newRow("band is no number")
            << u"4 29 2105 JA1XY 59910 59913 X CW 1"_s << u"ログの3行目のバンド「X」"_s;
        QTest::newRow("frequency wider than five")
            << u"4 29 2105 JA1XY 59910 59913 7.0125 CW 1"_s << u"ログの3行目のバンド「7.0125」は"_s;
        QTest::newRow("unknown G band")
            << u"4 29 2105 JA1XY 5910 5913 24G SSB 1"_s << u"ログの3行目のバンド「24G」は"_s;
        QTest::newRow("time beyond 16 bits")
            << u"4 29 99999 JA1XY 59910 59913 7 CW 1"_s << u"ログの3行目の時刻「99999」"_s;
        QTest::newRow("time of endless digits")
            << u"4 29 "_s + QString(400, u'9') + u" JA1XY 59910 59913 7 CW 1"_s
            << u"ログの3行目の時刻"_s;
    }
    void refusesUndefinedLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        const QString good = u"4 29 2105 JA1XY 59910 59913 7 CW 1"_s;
        const QsoLines result = convert(crlfLines({good, QString(), line, good}));
        QVERIFY2(result.error.value_or(QString()).startsWith(message),
                 qPrintable(result.error.value_or(QString())));
        QVERIFY2(result.error->contains(line.left(100)), "the message shows the line to mend");
    }

    void skipsHeaderAndBlankLines()
    {
        const QsoLines result =
            convert(u"header callsign\r\n          \r\nログデータ 2026\r\n\r\n"
                    u"4 29 2105 JA1XY 59910 59913 7 CW 1 the callsign was weak\r\n"
                    u"4 29 2106 JA1XZ 59910 59913 7 CW 1 Callsign\r\n"
                    u"4 29 2107 JA1XW 59910 59913 7 CW 1"_s);
        QVERIFY(!result.error);
        QCOMPARE(result.sourceLines, QList<int>({6, 7}));
        QCOMPARE(result.lines.size(), 3);
        QVERIFY(result.lines.first().contains(u"JA1XZ"_s));
    }

    void emptyLogGivesOnlyTheEndLine()
    {
        for (const QString &log : {QString(), u"    "_s, u"\r\n\r\n"_s})
            QCOMPARE(convert(log).lines, QStringList({u"END-OF-LOG: "_s}));
        QCOMPARE(convert(u"callsign\r\n\ny"_s).error.value_or(QString()),
                 u"ログの2行目がCRの無い改行（LF）だけの行です"_s);
    }

    void ownCallsignIsCutToItsColumn()
    {
        const QString log = crlfLines({u"4 29 0900 JA1XY 59910 59913 7 CW 1"_s});
        const QString line = convert(log, u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴＡＢＬＥ"_s).lines.value(0);
        QCOMPARE(line.mid(30, 18), u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴ599 "_s);
    }
};

QTEST_GUILESS_MAIN(TestQsoLines)
#include "tst_qso_lines.moc"
