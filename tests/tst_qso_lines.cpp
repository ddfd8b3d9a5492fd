// The bands, modes, times and memos of whole zLOG logs are checked byte for byte in
// tst_convert_command; these are the shapes of line those logs do not hold.
#include "log_support.h"

#include "test_files.h"

#include <QtTest>

namespace
{

QsoLines convert(const QString &log, const QString &callsign = u"JA1AB"_s)
{
    return ConvertLogText(log, callsign, 2026);
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
        // A field too long for its column is written whole, a blank behind it.
        QTest::newRow("long fields whole")
            << u"4 29 0900 JA1XYZ/QRP/99 59912345678 59912345678 7 CW 1"_s
            << u"QSO:  7000 CW 2026-04-29 0900 JA1AB         599 12345678 JA1XYZ/QRP/99 599 12345678"_s;
        QTest::newRow("three-digit time")
            << with(good, u"2105"_s, u"930"_s) << with(worked, u"1205"_s, u"930"_s);
        QTest::newRow("band with idle zeros") << with(good, u"7"_s, u"07.00"_s) << worked;

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
        QTest::newRow("band between bands")
            << with(good, u"7"_s, u"7.01"_s)
            << u"ログの1行目のバンド「7.01」はzLOGのバンドにありません"_s;
        // zLOG writes its modes so; anything else means the fields have shifted.
        QTest::newRow("lower-case mode")
            << with(good, u"CW"_s, u"cw"_s)
            << u"ログの1行目のモード「cw」はzLOGのモードにありません"_s;
        QTest::newRow("received field missing")
            << u"4 29 1000 JE1RZP 59910 7 CW 1 two words"_s << u"ログの1行目のバンド「1」"_s;
        QTest::newRow("received report missing")
            << u"4 29 1000 JE1RZP 59910 13 7 CW 1"_s
            << u"ログの1行目の受信欄「13」にCWのレポート（3桁）がありません"_s;
        QTest::newRow("month 13")
            << u"13 00"_s + good.mid(4)
            << u"ログの1行目の日付「13/00」は2026年の日付として正しくありません"_s;
        QTest::newRow("31 April") << with(good, u"29"_s, u"31"_s)
                                  << u"ログの1行目の日付「4/31」は"_s;
        QTest::newRow("29 February of 2026")
            << u"2"_s + good.mid(1) << u"ログの1行目の日付「2/29」は2026年の"_s;
        QTest::newRow("full-width time")
            << with(good, u"2105"_s, u"０９０２"_s) << u"ログの1行目の時刻「０９０２」は"_s;
        QTest::newRow("time 2400") << with(good, u"2105"_s, u"2400"_s)
                                   << u"ログの1行目の時刻「2400」は時刻として正しくありません"_s;
        QTest::newRow("minute 60") << with(good, u"2105"_s, u"1260"_s) << u"ログの1行目の時刻"_s;
        QTest::newRow("negative time")
            << with(good, u"2105"_s, u"-100"_s) << u"ログの1行目の時刻"_s;
        QTest::newRow("fractional time")
            << with(good, u"2105"_s, u"12.5"_s) << u"ログの1行目の時刻"_s;
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
                    u"4 29 2105 JA1XY 59910 59913 7 CW 1 ログデータ callsign\r\n"
                    u"4 29 2106 JA1XZ 59910 59913 7 CW 1 Callsign\r\n"
                    u"4 29 2107 JA1XW 59910 59913 7 CW 1"_s);
        // Only zLOG's header is passed over: a memo may say anything.
        QCOMPARE(result.sourceLines, QList<int>({5, 6, 7}));
        for (const QString &log : {QString(), u"    "_s, u"\r\n\r\n"_s})
            QCOMPARE(convert(log).lines, QStringList({u"END-OF-LOG: "_s}));
        QCOMPARE(convert(u"callsign\r\n\ny"_s).error.value_or(QString()),
                 u"ログの2行目がCRの無い改行（LF）だけの行です"_s);
        // The own callsign too long for its column is written whole, counted in characters.
        QCOMPARE(convert(good, u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴＡＢＬＥ"_s).lines.value(0).mid(30, 23),
                 u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲＴＡＢＬＥ 599 "_s);
        QCOMPARE(convert(good, u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲ"_s).lines.value(0).mid(30, 18),
                 u"ＪＡ１ＡＢ/ＱＲＰ/ＰＯＲ 599 "_s);
    }
};

QTEST_GUILESS_MAIN(TestQsoLines)
#include "tst_qso_lines.moc"
