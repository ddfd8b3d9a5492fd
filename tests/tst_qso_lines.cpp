// The bands, modes, times and memos of whole zLOG logs are checked byte for byte in
// tst_convert_command; these are the shapes of line those logs do not hold.
#include "conversion/qso_lines.h"

#include "test_files.h"

#include <QtTest>

namespace
{

QsoLines convert(const QString &log, const QString &callsign = u"JA1AB"_s)
{
    return WriteQsoLines(log, callsign, 2026);
}

const QString good = u"4 29 2105 JA1XY 59910 59913 7 CW 1"_s;
const QString worked =
    u"QSO:  7000 CW 2026-04-29 1205 JA1AB         599 10     JA1XY         599 13     "_s;

// The good line, or its QSO line, with one field changed.
QString with(const QString &line, const QString &from, const QString &to)
{
    return QString(line).replace(u' ' + from + u' ', u' ' + to + u' ');
}

} // namespace

class TestQsoLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsOrRefusesLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected"); // its QSO line, or how the refusal of it begins
        QTest::newRow("good") << good << worked;
        QTest::newRow("exchange cut to seven")
            << u"4 29 0900 JA1XYZ/QRP/9 59912345678 599 7 CW 1"_s
            << u"QSO:  7000 CW 2026-04-29 0900 JA1AB         599 1234567JA1XYZ/QRP/9  599        "_s;
        QTest::newRow("lower-case mode")
            << with(good, u"CW"_s, u"cw"_s)
            << u"QSO:  7000 cw 2026-04-29 1205 JA1AB         59  910    JA1XY         59  913    "_s;
        QTest::newRow("three-digit time")
            << with(good, u"2105"_s, u"930"_s) << with(worked, u"1205"_s, u"930"_s);
        // zLOG reports "599" for the telegraphy and data modes, spelt as it spells them.
        for (const QString &mode : {u"RTTY"_s, u"FT4"_s, u"Oth"_s, u"Other"_s})
            QTest::newRow(qPrintable(u"mode "_s + mode))
                << with(good, u"CW"_s, mode) << with(worked, u"CW"_s, mode);
        // Too few fields are refused, not filled up from an earlier line.
        QTest::newRow("one field") << u"JA1XY"_s << u"ログの1行目は項目が1個しかありません"_s;
        QTest::newRow("eight fields")
            << good.chopped(2) << u"ログの1行目は項目が8個しかありません"_s;
        QTest::newRow("band no number")
            << with(good, u"7"_s, u"X"_s) << u"ログの1行目のバンド「X」"_s;
        QTest::newRow("band a frequency")
            << with(good, u"7"_s, u"7.0125"_s) << u"ログの1行目のバンド「7.0125」は"_s;
        QTest::newRow("band unknown")
            << with(good, u"7"_s, u"24G"_s) << u"ログの1行目のバンド「24G」は"_s;
        QTest::newRow("time five digits")
            << with(good, u"2105"_s, u"99999"_s) << u"ログの1行目の時刻「99999」"_s;
        // Ten digits no longer fit an int: summed up as the usual four are, 2^32 + 2105
        // would pass for 2105.
        QTest::newRow("time beyond an int")
            << with(good, u"2105"_s, u"4294969401"_s) << u"ログの1行目の時刻「4294969401」"_s;
        QTest::newRow("time 400 digits")
            << with(good, u"2105"_s, QString(400, u'9')) << u"ログの1行目の時刻"_s;
    }
    void convertsOrRefusesLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        const QsoLines result = convert(line + u"\r\n"_s + good);
        const QString error = result.error.value_or(QString());
        if (expected.startsWith(u"QSO:"_s)) {
            QCOMPARE(error, QString());
            QCOMPARE(result.lines, QStringList({expected, worked, u"END-OF-LOG: "_s}));
        } else {
            QVERIFY2(error.startsWith(expected), qPrintable(error));
            QVERIFY2(error.contains(line.left(100)), "the message shows the line to mend");
        }
    }

    void skipsLinesWithoutQso()
    {
        const QsoLines result =
            convert(u"header callsign\r\n          \r\nログデータ 2026\r\n\r\n"
                    u"4 29 2105 JA1XY 59910 59913 7 CW 1 the callsign was weak\r\n"
                    u"4 29 2106 JA1XZ 59910 59913 7 CW 1 Callsign\r\n"
                    u"4 29 2107 JA1XW 59910 59913 7 CW 1"_s);
        QCOMPARE(result.sourceLines, QList<int>({6, 7}));
        for (const QString &log : {QString(), u"    "_s, u"\r\n\r\n"_s})
            QCOMPARE(convert(log).lines, QStringList({u"END-OF-LOG: "_s}));
        QCOMPARE(convert(u"callsign\r\n\ny"_s).error.value_or(QString()),
                 u"ログの2行目がCRの無い改行（LF）だけの行です"_s);
        // The own callsign is cut to its fourteen characters, full-width ones too.
        QCOMPARE(convert(good, u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴＡＢＬＥ"_s).lines.value(0).mid(30, 18),
                 u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴ599 "_s);
    }
};

QTEST_GUILESS_MAIN(TestQsoLines)
#include "tst_qso_lines.moc"
