// The header lines of both contests, empty entries and greyed check boxes among them, are
// checked byte for byte in tst_convert_command; these are the lines those do not hold.
#include "conversion/cabrillo_header.h"

#include "test_files.h"

#include <QtTest>

class TestCabrilloHeader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addressAndSoapboxLines()
    {
        StationEntries e = InitialStationEntries();
        // A text that is neither contest leaves out the contest's lines. This one differs
        // from the Let's contest's name by a half-width apostrophe only.
        e.contest = u"Ｌｅｔ'ｓ　TORNAK　コンテスト"_s;
        // A leading break is dropped from the entry, which the window then shows.
        e.address = u"\r\na\r\nb"_s;
        // Empty soapbox lines give nothing, blank ones are a line, the last one is kept.
        e.soapbox = u"x\r\n\r\n  \r\nlast"_s;
        const CabrilloHeader header = WriteCabrilloHeader(e);
        QCOMPARE(header.lines.mid(5),
                 QStringList({u"ADDRESS: a"_s, u"ADDRESS: b"_s, u"SOAPBOX: x"_s, u"SOAPBOX:   "_s,
                              u"SOAPBOX: last"_s, u"CREATED-BY: TORNAK CLUB Ver1.3B"_s}));
        QCOMPARE(header.shortenedAddress, std::optional<QString>(u"a\r\nb"_s));
    }
};

QTEST_GUILESS_MAIN(TestCabrilloHeader)
#include "tst_cabrillo_header.moc"
