#include "core/messages.h"
#include "input/zlog_file.h"
#include "log_support.h"

#include "test_files.h"

#include <QtTest>

#include <cmath>

namespace
{

const QString path = u"ログ/test.ZLO"_s;

QByteArray sample(const char *name)
{
    return readFile(testDataFile("zlog/") + QLatin1String(name));
}

// A sample with bytes written at an offset; at the end, they are appended.
QByteArray patched(QByteArray bytes, qsizetype at, const QByteArray &with)
{
    return bytes.replace(at, with.size(), with);
}

QByteArray string(const QByteArray &bytes)
{
    return char(bytes.size()) + bytes;
}

template <typename T> QByteArray bytesOf(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

} // namespace

class TestZlogFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row is a sample or a sample with a few bytes changed: its export, or its refusal.
    void exports_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        const auto gives = [](const char *row, const QByteArray &bytes, const QByteArray &text) {
            QTest::newRow(row) << bytes << text << QString();
        };
        const auto refused = [](const char *row, const QByteArray &bytes, const QString &error) {
            QTest::newRow(row) << bytes << QByteArray() << error;
        };
        const QByteArray zlo = sample("sample.ZLO"), zloText = sample("sample.ZLO.export.txt");
        const QByteArray zlox = sample("sample.ZLOX"), zloxText = sample("sample.ZLOX.export.txt");
        const QByteArray v22 = sample("sample_v22.ZLO"),
                         v22Text = sample("sample_v22.ZLO.export.txt");
        gives("sample.ZLO", zlo, zloText);
        gives("sample.ZLOX", zlox, zloxText);
        gives("sample_v22.ZLO", v22, v22Text);
        // Mode 5 was Other before FT4 came, and only the newer zLOG writes a start time.
        const QByteArray line1 = "JH1QXK     59910        59913            13     7  ";
        gives("mode 5, start time: FT4", patched(zlo, 256 + 92, "\5"),
              QByteArray(zloText).replace(line1 + "CW ", line1 + "FT4"));
        gives("mode 5, no start time: Other", patched(v22, 256 + 92, "\5"),
              QByteArray(v22Text).replace(line1 + "CW ", line1 + "Oth"));
        gives("mode 5 in a .ZLOX: FT4",
              patched(patched(zlox, 248, QByteArray(8, 0)), 384 + 92, "\5"),
              QByteArray(zloxText).replace(line1 + "CW ", line1 + "FT4"));
        // Ids 100 and 199 are both QSO id 1: JH1QXK's second record goes; JA3FBN's stays.
        gives("repeated QSO id and callsign",
              patched(patched(patched(zlo, 256 + 252, bytesOf(100)), 5 * 256 + 252, bytesOf(199)),
                      2 * 256 + 252, bytesOf(150)),
              QByteArray(zloText).replace(" 11  23 0931 JH1QXK     59910        59913        "
                                          "           7  CW  0   -DUPE- \r\n",
                                          ""));
        gives("long sent exchange", patched(zlox, 10 * 384 + 21, string("1234567890")),
              sample("sample.ZLOX.long-sent.export.txt"));
        // Six characters in eleven bytes: the short layout, and the exchange written whole
        // where zLOG would cut ９ in two.
        gives("widths in bytes",
              patched(zlox, 10 * 384 + 21, string("1\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54")),
              QByteArray(zloxText).replace(
                  "JF1HLU      5910        ",
                  "JF1HLU      591\x82\x50\x82\x51\x82\x52\x82\x53\x82\x54"));
        // zLOG glues a callsign of eleven bytes to the report; a blank keeps them apart here.
        gives("long callsign", patched(zlox, 384 + 8, string("JA1ABC/JD1P")),
              QByteArray(zloxText).replace(zloxText.indexOf("JH1QXK"), 14, "JA1ABC/JD1P 599"));
        // The trail byte of ケ (83 50) is a "P": only the second "PSE QSL" is one.
        gives("memo of a .ZLO", patched(zlo, 4 * 256 + 175, string("a(7) \x83\x50SE QSL PSE QSL")),
              QByteArray(zloText).replace("QSB", "PSE QSL (7) \x83\x50SE QSL"));

        refused("not whole records", zlox + 'x', Messages::zlogRecordSize(path, 384));
        // What a crash or a full disk leaves is no log, nor a log of QSOs on 1899-12-30.
        refused("256 zero bytes", QByteArray(256, 0), Messages::zlogEmptyHeaderOnly(path));
        refused("512 zero bytes", QByteArray(512, 0), Messages::zlogZeroTime(path, 1));
        refused("time zero", patched(zlo, 3 * 256, bytesOf(0.0)), Messages::zlogZeroTime(path, 3));
        refused("band byte", patched(zlo, 3 * 256 + 93, "\x10"),
                Messages::zlogBadBand(path, 3, 16));
        refused("mode byte", patched(zlox, 4 * 384 + 92, "\x08"),
                Messages::zlogBadMode(path, 4, 8));
        refused("callsign not CP932", patched(zlo, 2 * 256 + 8, string("JA\x81 ")),
                Messages::zlogUndecodableText(path, 2));
        refused("frequency cut in a character", patched(zlox, 10 * 384 + 256, string("7\x81")),
                Messages::zlogUndecodableText(path, 10));
        refused("time NaN", patched(zlo, 5 * 256, bytesOf(std::nan(""))),
                Messages::zlogBadTime(path, 5));
        refused("time past 9999", patched(zlox, 6 * 384, bytesOf(3e6)),
                Messages::zlogBadTime(path, 6));
    }
    void exports()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QVERIFY(ZlogFile::isBinaryLog(bytes));
        const ZlogExportText exported = ExportZlogBytes(bytes, path);
        QCOMPARE(exported.error, error);
        QCOMPARE(exported.text, text);
    }

    void recognises_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("binary");
        const QByteArray text = sample("sample.ZLO.export.txt");
        QTest::newRow("text export") << text << false;
        QTest::newRow("512 bytes of text") << text.first(512) << false;
        QTest::newRow("512 line feeds") << QByteArray(512, '\n') << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow(".ZLO cut short") << sample("sample.ZLO").chopped(1) << false;
        // So that its size can be refused in words.
        QTest::newRow(".ZLOX cut short") << sample("sample.ZLOX").chopped(1) << true;
    }
    void recognises()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, binary);
        QCOMPARE(ZlogFile::isBinaryLog(bytes), binary);
    }
};

QTEST_GUILESS_MAIN(TestZlogFile)
#include "tst_zlog_file.moc"
