#include "conversion/contests.h"
#include "conversion/export_log.h"
#include "conversion/output_file_name.h"
#include "conversion/required_fields.h"
#include "input/log_loading.h"

#include "test_files.h"

#include <QtTest>

Q_DECLARE_METATYPE(StationEntries)

namespace
{

QString loadLog(const char *name, const QString &answer = QString())
{
    const LoadedLog log = LoadLogFile(testDataFile(name), [&](const QString &) { return answer; });
    return log.text;
}

StationEntries clubEntries()
{
    StationEntries e = InitialStationEntries();
    e.contest = Contests::clubContest;
    e.category = QStringLiteral("7MHzｼﾝｸﾞﾙ部門");
    e.antenna = QStringLiteral("DP（IV、R-DP、V-DP、短縮DP)");
    e.callsign = QStringLiteral("JA1ABC/1");
    e.name = QStringLiteral("山田　太郎");
    e.address = QStringLiteral("東京都千代田区千代田１－１");
    e.equipment = QStringLiteral("IC-7300");
    e.key = QStringLiteral("縦振れ電鍵");
    e.power = QStringLiteral("50");
    e.telephone = QStringLiteral("03-1234-5678");
    e.mail = QStringLiteral("ja1abc@example.jp");
    e.senior = 1;
    e.donor = 2;
    e.soapbox = QStringLiteral("楽しかったです\r\n\r\n来年も参加します\r\n");
    return e;
}

StationEntries letsEntries()
{
    StationEntries e = InitialStationEntries();
    e.contest = Contests::letsContest;
    e.category = QStringLiteral("ＱＲＰ局部門");
    e.callsign = QStringLiteral("7K1XYZ");
    e.name = QStringLiteral("鈴木花子");
    e.address = QStringLiteral("埼玉県さいたま市\r\n浦和区１－２－３");
    e.key = QStringLiteral("バグキー");
    e.power = QStringLiteral("5");
    e.donor = 1;
    e.soapbox = QStringLiteral("初参加です\r\n最後の行");
    return e;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void outputFileName_data();
    void outputFileName();
    void requiredEntries_data();
    void requiredEntries();
    void wholeExportsByteForByte_data();
    void wholeExportsByteForByte();
    void refusalTouchesNothing_data();
    void refusalTouchesNothing();
    void entryNameOfAnUnencodableText();
    void memoOutsideTheWrittenFieldsMayHoldAnything();
    void unsavableSettingsStillWriteTheOutput();
    void failedWriteKeepsTheOldFile();
    void leadingAddressBreakIsGivenBack();

private:
    ExportRequest request(const StationEntries &entries, const QString &logText = QString()) const;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestExport::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

ExportRequest TestExport::request(const StationEntries &entries, const QString &logText) const
{
    ExportRequest r;
    r.entries = entries;
    r.logText = logText;
    r.year = 2026;
    r.outputFolder = dir->path();
    r.settingsPath = dir->filePath(QStringLiteral("ini.txt"));
    return r;
}

void TestExport::outputFileName_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<bool>("unsafe");
    QTest::newRow("plain") << QStringLiteral("JA1ABC") << QStringLiteral("JA1ABC") << false;
    QTest::newRow("portable digit")
        << QStringLiteral("JA1ABC/1") << QStringLiteral("JA1ABC") << false;
    QTest::newRow("trailing slash")
        << QStringLiteral("JA1ABC/") << QStringLiteral("JA1ABC") << false;
    QTest::newRow("prefix") << QStringLiteral("KH0/JA1ABC") << QStringLiteral("JA1ABC") << false;
    QTest::newRow("two after the slash count as prefix")
        << QStringLiteral("JA1ABC/MM") << QStringLiteral("MM") << false;
    QTest::newRow("only the first slash is looked at")
        << QStringLiteral("KH0/JA1ABC/P") << QStringLiteral("JA1ABC/P") << true;
    QTest::newRow("a lone slash") << QStringLiteral("/") << QString() << false;
    QTest::newRow("escape attempt")
        << QStringLiteral("A/../../x") << QStringLiteral("../../x") << true;
    QTest::newRow("backslash") << QStringLiteral("JA1\\ABC") << QStringLiteral("JA1\\ABC") << true;
    QTest::newRow("control character")
        << QStringLiteral("JA1\tABC") << QStringLiteral("JA1\tABC") << true;
}

void TestExport::outputFileName()
{
    QFETCH(QString, callsign);
    QFETCH(QString, baseName);
    QFETCH(bool, unsafe);
    QCOMPARE(OutputFileName(callsign), baseName);
    QCOMPARE(IsUnsafeFileName(baseName), unsafe);
}

void TestExport::requiredEntries_data()
{
    QTest::addColumn<StationEntries>("entries");
    QTest::addColumn<QString>("message");

    QTest::newRow("everything empty")
        << StationEntries() << QStringLiteral("「コンテスト名」は必須項目です");
    StationEntries e = letsEntries();
    e.key.clear();
    e.power.clear();
    QTest::newRow("Let's contest asks for the key first")
        << e << QStringLiteral("「使用電鍵」は必須項目です");
    e.contest = Contests::clubContest;
    QTest::newRow("club contest needs no key")
        << e << QStringLiteral("「最大空中線電力」は必須項目です");
    e.power = QStringLiteral("10");
    QTest::newRow("club contest passes without key") << e << QString();
    e.contest = QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト "); // trailing blank: no list item
    QTest::newRow("other text needs no key") << e << QString();
    e.contest = Contests::letsContest;
    QTest::newRow("Let's text needs the key however it got there")
        << e << QStringLiteral("「使用電鍵」は必須項目です");
    e = letsEntries();
    e.callsign = QStringLiteral(" ");
    QTest::newRow("a blank is filled") << e << QString();
    const QList<std::pair<QString StationEntries::*, QString>> order = {
        {&StationEntries::category, QStringLiteral("「参加部門」は必須項目です")},
        {&StationEntries::callsign, QStringLiteral("「コールサイン」は必須項目です")},
        {&StationEntries::name, QStringLiteral("「氏名」は必須項目です")},
        {&StationEntries::address, QStringLiteral("「住所」は必須項目です")},
    };
    for (const auto &[field, message] : order) {
        e = letsEntries();
        (e.*field).clear();
        e.power.clear();
        QTest::newRow(qPrintable(message)) << e << message;
    }
}

void TestExport::requiredEntries()
{
    QFETCH(StationEntries, entries);
    QFETCH(QString, message);
    QCOMPARE(CheckRequiredFields(entries).value_or(QString()), message);
}

void TestExport::wholeExportsByteForByte_data()
{
    QTest::addColumn<StationEntries>("entries");
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("club contest") << clubEntries() << loadLog("club.zlog.txt")
                                  << QStringLiteral("JA1ABC.txt")
                                  << testDataFile("club.expected.txt");
    QTest::newRow("Let's contest, multiplier answered")
        << letsEntries() << loadLog("lets.zlog.txt", QStringLiteral("13"))
        << QStringLiteral("7K1XYZ.txt") << testDataFile("lets.expected.txt");
    StationEntries other = clubEntries();
    other.contest = QStringLiteral("ALL JA1 コンテスト");
    other.callsign = QStringLiteral("JA1ABC");
    other.category = QStringLiteral("一般局部門");
    other.address = QStringLiteral("東京都");
    other.soapbox.clear();
    QTest::newRow("a text that is neither contest, empty log")
        << other << QString() << QStringLiteral("JA1ABC.txt") << testDataFile("other.expected.txt");
}

void TestExport::wholeExportsByteForByte()
{
    QFETCH(StationEntries, entries);
    QFETCH(QString, logText);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    const ExportResult result = ExportCabrilloLog(request(entries, logText));
    QVERIFY2(result.written, qPrintable(result.message));
    QCOMPARE(result.outputPath, dir->filePath(fileName));
    QCOMPARE(readFile(result.outputPath), readFile(expected));
    QVERIFY(result.settingsError.isEmpty());
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("ini.txt"))));
}

void TestExport::refusalTouchesNothing_data()
{
    QTest::addColumn<StationEntries>("entries");
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("message");

    StationEntries e = clubEntries();
    e.name.clear();
    QTest::newRow("missing entry") << e << QString() << QStringLiteral("「氏名」は必須項目です");
    e = clubEntries();
    e.callsign = QStringLiteral("A/../../x");
    QTest::newRow("unsafe file name")
        << e << QString() << QStringLiteral("コールサイン「A/../../x」");
    QTest::newRow("bad log line") << clubEntries()
                                  << loadLog("club.zlog.txt") +
                                         QStringLiteral("11 23 0902 JA1XY\r\n")
                                  << QStringLiteral("ログの9行目");
    QTest::newRow("unencodable character in a written field")
        << clubEntries()
        << QStringLiteral(
               "11 23 0902 JA1XY 59910 59913 7 CW 1\r\n11 23 0903 JA1😀 59910 59913 7 CW 1\r\n")
        << QStringLiteral("ログの2行目にShift_JISで書けない文字「😀」（U+1F600）");
}

void TestExport::refusalTouchesNothing()
{
    QFETCH(StationEntries, entries);
    QFETCH(QString, logText);
    QFETCH(QString, message);
    const QString existing = dir->filePath(QStringLiteral("JA1ABC.txt"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("previous export\r\n");
    file.close();

    const ExportResult result = ExportCabrilloLog(request(entries, logText));
    QVERIFY(!result.written);
    QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("JA1ABC.txt")}));
    QCOMPARE(readFile(existing), QByteArray("previous export\r\n"));
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("../x.txt"))));
}

void TestExport::entryNameOfAnUnencodableText()
{
    StationEntries e = clubEntries();
    e.equipment = QStringLiteral("IC-705 ♪☺");
    const ExportResult result = ExportCabrilloLog(request(e));
    QVERIFY(!result.written);
    QCOMPARE(result.message,
             QStringLiteral("「無線機」にShift_JISで書けない文字「☺」（U+263A）があります"));
    QVERIFY(QDir(dir->path()).isEmpty());
}

void TestExport::memoOutsideTheWrittenFieldsMayHoldAnything()
{
    const QString log = QStringLiteral("11 23 0902 JA1XY 59910 59913 7 CW 1 良い信号😀\r\n");
    const ExportResult result = ExportCabrilloLog(request(clubEntries(), log));
    QVERIFY2(result.written, qPrintable(result.message));
    QCOMPARE(result.qsoCount, 1);
}

void TestExport::unsavableSettingsStillWriteTheOutput()
{
    ExportRequest r = request(clubEntries());
    r.settingsPath = dir->filePath(QStringLiteral("missing/ini.txt"));
    const ExportResult result = ExportCabrilloLog(r);
    QVERIFY(result.written);
    QVERIFY(result.settingsError.startsWith(QStringLiteral("設定ファイル")));
    QVERIFY(QFile::exists(result.outputPath));
}

void TestExport::failedWriteKeepsTheOldFile()
{
    // A folder where the file should go makes the write fail after the checks passed.
    QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("JA1ABC.txt")));
    const ExportResult result = ExportCabrilloLog(request(clubEntries(), loadLog("club.zlog.txt")));
    QVERIFY(!result.written);
    QVERIFY2(result.message.contains(QStringLiteral("書き込めません")), qPrintable(result.message));
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("JA1ABC.txt"))).isDir());
    // The entries were saved before the output was attempted.
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("ini.txt"))));

    ExportRequest missingFolder = request(clubEntries());
    missingFolder.outputFolder = dir->filePath(QStringLiteral("nowhere"));
    QCOMPARE(
        ExportCabrilloLog(missingFolder).message,
        QStringLiteral("出力先のフォルダー「%1」がありません").arg(missingFolder.outputFolder));
}

void TestExport::leadingAddressBreakIsGivenBack()
{
    StationEntries e = clubEntries();
    e.address = QStringLiteral("\r\n東京都");
    const ExportResult result = ExportCabrilloLog(request(e));
    QVERIFY(result.written);
    QCOMPARE(result.shortenedAddress, std::optional<QString>(QStringLiteral("東京都")));
    // The settings were saved before the header shortened the entry.
    QVERIFY(readFile(dir->filePath(QStringLiteral("ini.txt")))
                .contains("\r\n\r\n\x93\x8c\x8b\x9e\x93\x73\r\n"));
}

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
