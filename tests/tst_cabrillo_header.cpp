#include "conversion/cabrillo_header.h"
#include "conversion/contests.h"

#include <QtTest>

namespace
{

StationEntries filledEntries(const QString &contest)
{
    StationEntries e = InitialStationEntries();
    e.contest = contest;
    e.category = QStringLiteral("一般局部門");
    e.callsign = QStringLiteral("JA1ABC/1");
    e.name = QStringLiteral("山田");
    e.address = QStringLiteral("東京都");
    return e;
}

QStringList between(const QStringList &lines, const QString &first, const QString &last)
{
    const qsizetype from = lines.indexOf(first);
    const qsizetype to = lines.indexOf(last);
    return lines.mid(from, to - from + 1);
}

} // namespace

class TestCabrilloHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clubContestWithEmptyOptionalEntries();
    void otherContestTextLeavesOutContestLines();
    void onlyATickedBoxSaysYes();
    void soapboxLines_data();
    void soapboxLines();
    void addressLines_data();
    void addressLines();
};

void TestCabrilloHeader::clubContestWithEmptyOptionalEntries()
{
    const CabrilloHeader header = WriteCabrilloHeader(filledEntries(Contests::clubContest));
    QCOMPARE(header.lines, QStringList({
                               QStringLiteral("START-OF-LOG: 2.0"),
                               QStringLiteral("CONTEST: TORNAKクラブ．コンテスト"),
                               QStringLiteral("CALLSIGN: JA1ABC/1"),
                               QStringLiteral("CATEGORY: 一般局部門"),
                               QStringLiteral("NAME: 山田"),
                               QStringLiteral("ADDRESS: 東京都"),
                               QStringLiteral("SOAPBOX: TEL: "),
                               QStringLiteral("SOAPBOX: MAIL: "),
                               QStringLiteral("SOAPBOX: KEY: "),
                               QStringLiteral("SOAPBOX: EQUIPMENT: "),
                               QStringLiteral("SOAPBOX: POWER："),
                               QStringLiteral("SOAPBOX: ANTENNA: "),
                               QStringLiteral("SOAPBOX: SENIOR: NO"),
                               QStringLiteral("SOAPBOX: DONOR: NO"),
                               QStringLiteral("CREATED-BY: TORNAK CLUB Ver1.3B"),
                           }));
    QVERIFY(!header.shortenedAddress);
}

void TestCabrilloHeader::otherContestTextLeavesOutContestLines()
{
    // Differs from the contest name by a half-width apostrophe only.
    StationEntries e = filledEntries(QStringLiteral("Ｌｅｔ'ｓ　TORNAK　コンテスト"));
    e.soapbox = QStringLiteral("楽しかった\r\n");
    e.power = QStringLiteral("50");
    const QStringList lines = WriteCabrilloHeader(e).lines;
    QCOMPARE(lines.mid(6), QStringList({QStringLiteral("SOAPBOX: 楽しかった"),
                                        QStringLiteral("CREATED-BY: TORNAK CLUB Ver1.3B")}));
}

void TestCabrilloHeader::onlyATickedBoxSaysYes()
{
    StationEntries e = filledEntries(Contests::letsContest);
    e.senior = 2; // greyed, restored from a settings file
    e.donor = 1;
    e.power = QStringLiteral("50");
    const QStringList lines = WriteCabrilloHeader(e).lines;
    QVERIFY(lines.contains(QStringLiteral("SOAPBOX: POWER：50")));
    QVERIFY(lines.contains(QStringLiteral("SOAPBOX: SENIOR: NO")));
    QVERIFY(lines.contains(QStringLiteral("SOAPBOX: DONOR: YES")));
}

void TestCabrilloHeader::soapboxLines_data()
{
    QTest::addColumn<QString>("soapbox");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("empty lines give nothing")
        << QStringLiteral("a\r\n\r\n\r\nb\r\n")
        << QStringList({QStringLiteral("SOAPBOX: a"), QStringLiteral("SOAPBOX: b")});
    QTest::newRow("blanks are a line")
        << QStringLiteral("  \r\n") << QStringList({QStringLiteral("SOAPBOX:   ")});
    QTest::newRow("last line without a break is kept")
        << QStringLiteral("a\r\nlast")
        << QStringList({QStringLiteral("SOAPBOX: a"), QStringLiteral("SOAPBOX: last")});
}

void TestCabrilloHeader::soapboxLines()
{
    QFETCH(QString, soapbox);
    QFETCH(QStringList, expected);
    StationEntries e = filledEntries(QStringLiteral("other"));
    e.soapbox = soapbox;
    const QStringList lines = WriteCabrilloHeader(e).lines;
    QCOMPARE(lines.mid(6, lines.size() - 7), expected);
}

void TestCabrilloHeader::addressLines_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("shortened");
    QTest::newRow("one break") << QStringLiteral("東京都\r\n千代田区")
                               << QStringList({QStringLiteral("ADDRESS: 東京都"),
                                               QStringLiteral("ADDRESS: 千代田区")})
                               << QString();
    QTest::newRow("several breaks, one line each")
        << QStringLiteral("a\r\nb\r\nc")
        << QStringList({QStringLiteral("ADDRESS: a"), QStringLiteral("ADDRESS: b"),
                        QStringLiteral("ADDRESS: c")})
        << QString();
    QTest::newRow("leading break is dropped from the entry")
        << QStringLiteral("\r\n東京都") << QStringList({QStringLiteral("ADDRESS: 東京都")})
        << QStringLiteral("東京都");
    QTest::newRow("leading break, rest split")
        << QStringLiteral("\r\na\r\nb")
        << QStringList({QStringLiteral("ADDRESS: a"), QStringLiteral("ADDRESS: b")})
        << QStringLiteral("a\r\nb");
}

void TestCabrilloHeader::addressLines()
{
    QFETCH(QString, address);
    QFETCH(QStringList, expected);
    QFETCH(QString, shortened);
    StationEntries e = filledEntries(QStringLiteral("other"));
    e.address = address;
    const CabrilloHeader header = WriteCabrilloHeader(e);
    QCOMPARE(between(header.lines, expected.first(), expected.last()), expected);
    QCOMPARE(header.lines.size(), 6 + expected.size());
    QCOMPARE(header.shortenedAddress.value_or(QString()), shortened);
    QCOMPARE(header.shortenedAddress.has_value(), !shortened.isEmpty());
}

QTEST_GUILESS_MAIN(TestCabrilloHeader)
#include "tst_cabrillo_header.moc"
