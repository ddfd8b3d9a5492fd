#include "conversion/cabrillo_header.h"
#include "core/contests.h"

#include "test_files.h"

#include <QtTest>

namespace
{

StationEntries filledEntries(const QString &contest)
{
    StationEntries e = InitialStationEntries();
    e.contest = contest;
    e.category = u"一般局部門"_s;
    e.callsign = u"JA1ABC/1"_s;
    e.name = u"山田"_s;
    e.address = u"東京都"_s;
    return e;
}

} // namespace

class TestCabrilloHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clubContestWithEmptyOptionalEntries()
    {
        StationEntries e = filledEntries(Contests::club.name);
        e.senior = 2; // greyed, restored from a settings file
        const CabrilloHeader header = WriteCabrilloHeader(e);
        QCOMPARE(header.lines,
                 u"START-OF-LOG: 2.0\nCONTEST: TORNAKクラブ．コンテスト\nCALLSIGN: JA1ABC/1\n"
                 u"CATEGORY: 一般局部門\nNAME: 山田\nADDRESS: 東京都\nSOAPBOX: TEL: \n"
                 u"SOAPBOX: MAIL: \nSOAPBOX: KEY: \nSOAPBOX: EQUIPMENT: \nSOAPBOX: POWER：\n"
                 u"SOAPBOX: ANTENNA: \nSOAPBOX: SENIOR: NO\nSOAPBOX: DONOR: NO\n"
                 u"CREATED-BY: TORNAK CLUB Ver1.3B"_s.split(u'\n'));
        QVERIFY(!header.shortenedAddress);
    }

    // A text that is no contest name leaves out the contest's lines, so that the address and
    // soapbox lines are all that stand between the name and the closing line.
    void addressAndSoapboxLines_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("soapbox");
        QTest::addColumn<QString>("expected"); // between NAME: and CREATED-BY:
        QTest::addColumn<QString>("shortened");
        QTest::newRow("soapbox: empty lines give nothing, blanks are a line, last line kept")
            << u"東京都"_s << u"a\r\n\r\n  \r\nlast"_s
            << u"ADDRESS: 東京都\nSOAPBOX: a\nSOAPBOX:   \nSOAPBOX: last"_s << QString();
        QTest::newRow("address of several breaks")
            << u"a\r\nb\r\nc"_s << QString() << u"ADDRESS: a\nADDRESS: b\nADDRESS: c"_s
            << QString();
        QTest::newRow("leading break dropped from the entry")
            << u"\r\n東京都"_s << QString() << u"ADDRESS: 東京都"_s << u"東京都"_s;
        QTest::newRow("leading break, rest split")
            << u"\r\na\r\nb"_s << u"x\r\n"_s << u"ADDRESS: a\nADDRESS: b\nSOAPBOX: x"_s
            << u"a\r\nb"_s;
    }
    void addressAndSoapboxLines()
    {
        QFETCH(QString, address);
        QFETCH(QString, soapbox);
        QFETCH(QString, expected);
        QFETCH(QString, shortened);
        // Differs from the Let's contest's name by a half-width apostrophe only.
        StationEntries e = filledEntries(u"Ｌｅｔ'ｓ　TORNAK　コンテスト"_s);
        e.address = address;
        e.soapbox = soapbox;
        e.power = u"50"_s;
        const CabrilloHeader header = WriteCabrilloHeader(e);
        QCOMPARE(header.lines.mid(5).join(u'\n'),
                 expected + u"\nCREATED-BY: TORNAK CLUB Ver1.3B"_s);
        QCOMPARE(header.shortenedAddress.value_or(u"(none)"_s),
                 shortened.isEmpty() ? u"(none)"_s : shortened);
    }
};

QTEST_GUILESS_MAIN(TestCabrilloHeader)
#include "tst_cabrillo_header.moc"
