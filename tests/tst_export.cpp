#include "core/contests.h"
#include "conversion/export_log.h"
#include "conversion/output_file_name.h"
#include "conversion/required_fields.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(StationEntries)

namespace
{

QString loadLog(const char *name, const QString &answer = QString())
{
    return LoadLogFile(testDataFile(name), [&](const QString &) { return answer; }).text;
}

// The club member of the settings file in the test data.
StationEntries clubEntries()
{
    StationEntries e = InitialStationEntries();
    LoadSettings(testDataFile("club.ini.txt"), e);
    return e;
}

StationEntries letsEntries()
{
    StationEntries e = InitialStationEntries();
    e.contest = Contests::lets.name;
    e.category = u"ＱＲＰ局部門"_s;
    e.callsign = u"7K1XYZ"_s;
    e.name = u"鈴木花子"_s;
    e.address = u"埼玉県さいたま市\r\n浦和区１－２－３"_s;
    e.key = u"バグキー"_s;
    e.power = u"5"_s;
    e.donor = 1;
    e.soapbox = u"初参加です\r\n最後の行"_s;
    return e;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    ExportRequest request(const StationEntries &entries, const QString &log = QString(),
                          const QString &settings = u"ini.txt"_s)
    {
        ExportRequest r;
        r.entries = entries;
        r.logText = log;
        r.year = 2026;
        r.outputFolder = dir->path();
        r.settingsPath = dir->filePath(settings);
        return r;
    }
    ExportResult exportLog(const StationEntries &entries, const QString &log = QString(),
                           const QString &settings = u"ini.txt"_s)
    {
        return ExportCabrilloLog(request(entries, log, settings));
    }

private Q_SLOTS:
    void init() { QVERIFY(dir.emplace().isValid()); }

    void outputFileName_data()
    {
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<bool>("unsafe");
        QTest::newRow("portable digit") << u"JA1ABC/1"_s << u"JA1ABC"_s << false;
        QTest::newRow("prefix") << u"KH0/JA1ABC"_s << u"JA1ABC"_s << false;
        QTest::newRow("two after the slash count as prefix") << u"JA1ABC/MM"_s << u"MM"_s << false;
        QTest::newRow("only the first slash") << u"KH0/JA1ABC/P"_s << u"JA1ABC/P"_s << true;
        QTest::newRow("a lone slash gives .txt") << u"/"_s << QString() << false;
        QTest::newRow("escape attempt") << u"A/../../x"_s << u"../../x"_s << true;
        QTest::newRow("backslash") << u"JA1\\ABC"_s << u"JA1\\ABC"_s << true;
        QTest::newRow("control character") << u"JA1\tABC"_s << u"JA1\tABC"_s << true;
    }
    void outputFileName()
    {
        QFETCH(QString, callsign);
        QFETCH(QString, baseName);
        QFETCH(bool, unsafe);
        QCOMPARE(OutputFileName(callsign), baseName);
        QCOMPARE(IsUnsafeFileName(baseName), unsafe);
    }

    void requiredEntries_data()
    {
        QTest::addColumn<StationEntries>("entries");
        QTest::addColumn<QString>("message");
        QTest::newRow("everything empty")
            << StationEntries() << u"「コンテスト名」は必須項目です"_s;
        StationEntries e = letsEntries();
        e.key.clear();
        e.power.clear();
        QTest::newRow("Let's contest asks for the key first")
            << e << u"「使用電鍵」は必須項目です"_s;
        e.contest = Contests::club.name;
        QTest::newRow("club contest needs no key") << e << u"「最大空中線電力」は必須項目です"_s;
        e.power = u"10"_s;
        e.contest = u"Ｌｅｔ’ｓ　TORNAK　コンテスト "_s; // trailing blank: no list item
        QTest::newRow("other text needs no key") << e << QString();
        e.contest = Contests::lets.name;
        QTest::newRow("Let's text needs the key") << e << u"「使用電鍵」は必須項目です"_s;
        const std::pair<QString StationEntries::*, const char16_t *> order[] = {
            {&StationEntries::category, u"参加部門"},
            {&StationEntries::callsign, u"コールサイン"},
            {&StationEntries::name, u"氏名"},
            {&StationEntries::address, u"住所"},
        };
        for (const auto &[field, label] : order) {
            e = letsEntries();
            (e.*field).clear();
            e.power.clear();
            const QString message = u"「%1」は必須項目です"_s.arg(QStringView(label));
            QTest::newRow(qPrintable(message)) << e << message;
        }
    }
    void requiredEntries()
    {
        QFETCH(StationEntries, entries);
        QFETCH(QString, message);
        QCOMPARE(CheckRequiredFields(entries).value_or(QString()), message);
    }

    void wholeExportsByteForByte_data()
    {
        QTest::addColumn<StationEntries>("entries");
        QTest::addColumn<QString>("logText");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("expected");
        // A control character may stand where the export never writes it.
        StationEntries club = clubEntries();
        club.logType = u"ZLog\x1b"_s;
        const QString memoWithControls =
            loadLog("club.zlog.txt").replace(u"long exch"_s, u"long\texch\a"_s);
        QTest::newRow("club contest")
            << club << memoWithControls << u"JA1ABC.txt"_s << testDataFile("club.expected.txt");
        QTest::newRow("Let's contest, multiplier answered")
            << letsEntries() << loadLog("lets.zlog.txt", u"13"_s) << u"7K1XYZ.txt"_s
            << testDataFile("lets.expected.txt");
        StationEntries other = clubEntries();
        other.contest = u"ALL JA1 コンテスト"_s;
        other.callsign = u"JA1ABC"_s;
        other.category = u"一般局部門"_s;
        other.address = u"東京都"_s;
        other.soapbox.clear();
        QTest::newRow("a text that is neither contest, empty log")
            << other << QString() << u"JA1ABC.txt"_s << testDataFile("other.expected.txt");
    }
    void wholeExportsByteForByte()
    {
        QFETCH(StationEntries, entries);
        QFETCH(QString, logText);
        QFETCH(QString, fileName);
        QFETCH(QString, expected);
        const ExportResult result = exportLog(entries, logText);
        QVERIFY2(result.written, qPrintable(result.message));
        QCOMPARE(result.outputPath, dir->filePath(fileName));
        QCOMPARE(readFile(result.outputPath), readFile(expected));
        QCOMPARE(QFile::exists(dir->filePath(u"ini.txt"_s)), result.settingsError.isEmpty());
    }

    void refusalTouchesNothing_data()
    {
        QTest::addColumn<StationEntries>("entries");
        QTest::addColumn<QString>("logText");
        QTest::addColumn<QString>("message");
        StationEntries e = clubEntries();
        e.name.clear();
        QTest::newRow("missing entry") << e << QString() << u"「氏名」は必須項目です"_s;
        e = clubEntries();
        e.callsign = u"A/../../x"_s;
        QTest::newRow("unsafe file name") << e << QString() << u"コールサイン「A/../../x」"_s;
        e = clubEntries();
        e.equipment = u"IC-705 ♪☺"_s;
        QTest::newRow("unencodable entry")
            << e << QString() << u"「無線機」にShift_JISで書けない文字「☺」（U+263A）があります"_s;
        e = clubEntries();
        e.name = u"山田\x1b[2J"_s;
        QTest::newRow("control character in an entry")
            << e << QString() << u"「氏名」に制御文字（U+001B）があります"_s;
        e = clubEntries();
        e.callsign = QString(1 << 20, u'A') + u"/\t/B"_s;
        QTest::newRow("runaway callsign is cut in the message")
            << e << QString() << u"コールサイン「AAAA"_s;
        // The answer to the multiplier question lands in the sent exchange.
        QTest::newRow("control character in a written field")
            << clubEntries()
            << u"11 23 0902 JA1XY 599\x1b"
               u"7 59913 7 CW 1\r\n"_s
            << u"ログの1行目に制御文字（U+001B）があります\n「11 23 0902 JA1XY 599␛7"_s;
        QTest::newRow("bad log line")
            << clubEntries() << loadLog("club.zlog.txt") + u"11 23 0902 JA1XY\r\n"_s
            << u"ログの9行目"_s;
        // Text behind the written fields may hold anything; a written field may not.
        QTest::newRow("unencodable character in a written field")
            << clubEntries()
            << u"11 23 0902 JA1XY 59910 59913 7 CW 1 良い😀\r\n11 23 0903 JA1😀 59910 59913 7 CW 1"_s
            << u"ログの2行目にShift_JISで書けない文字「😀」（U+1F600）"_s;
    }
    void refusalTouchesNothing()
    {
        QFETCH(StationEntries, entries);
        QFETCH(QString, logText);
        QFETCH(QString, message);
        const QString existing = dir->filePath(u"JA1ABC.txt"_s);
        writeFile(existing, "previous export\r\n");

        const ExportResult result = exportLog(entries, logText);
        QVERIFY(!result.written);
        QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
        QVERIFY2(result.message.size() < 400, "a message box can show it");
        QCOMPARE(entriesIn(dir->path()), QStringList({u"JA1ABC.txt"_s}));
        QCOMPARE(readFile(existing), QByteArray("previous export\r\n"));
        QVERIFY(!QFile::exists(dir->filePath(u"../x.txt"_s)));
    }

    void settingsOrFolderProblems()
    {
        // Settings that cannot be saved are reported, and the output is still written.
        const ExportResult result = exportLog(clubEntries(), QString(), u"missing/ini.txt"_s);
        QVERIFY(result.written);
        QVERIFY(result.settingsError.startsWith(u"設定ファイル"_s));
        QVERIFY(QFile::exists(result.outputPath));

        ExportRequest nowhere = request(clubEntries());
        nowhere.outputFolder = dir->filePath(u"nowhere"_s);
        QCOMPARE(ExportCabrilloLog(nowhere).message,
                 u"出力先のフォルダー「%1」がありません"_s.arg(nowhere.outputFolder));

        // A pipe or a device of the output's name is never replaced by a file.
        QVERIFY(QFile::remove(result.outputPath));
        QCOMPARE(mkfifo(qPrintable(result.outputPath), 0600), 0);
        QCOMPARE(exportLog(clubEntries()).message,
                 u"「%1」は通常のファイルではありません"_s.arg(result.outputPath));
        QVERIFY(!QFileInfo(result.outputPath).isFile());
        QVERIFY(!QFile::exists(dir->filePath(u"ini.txt"_s)));

        // Qt reads a name beginning with ":" as a path into its resources; it must still
        // land in the output folder.
        StationEntries colon = clubEntries();
        colon.callsign = u"A/:T"_s;
        const ExportResult inFolder = exportLog(colon);
        QVERIFY(inFolder.written);
        QCOMPARE(inFolder.outputPath, dir->path() + u"/:T.txt"_s);
        QVERIFY(QFile::exists(inFolder.outputPath));
    }

    void leadingAddressBreakIsGivenBack()
    {
        StationEntries e = clubEntries();
        e.address = u"\r\n東京都"_s;
        const ExportResult result = exportLog(e);
        QVERIFY(result.written);
        QCOMPARE(result.shortenedAddress, std::optional<QString>(u"東京都"_s));
        // One line of the settings file cannot hold a line break: it would shift every entry
        // after it at the next start.
        QCOMPARE(result.settingsError,
                 u"設定ファイル「%1」を保存できませんでした"
                 u"（「住所」に改行があります）"_s.arg(dir->filePath(u"ini.txt"_s)));
        QVERIFY(!QFile::exists(dir->filePath(u"ini.txt"_s)));
    }

    // After a restart the log box is empty; an export must not silently wipe the file of
    // the last one.
    void emptyLogAsksBeforeReplacing()
    {
        QStringList asked;
        bool answer = false;
        ExportRequest r = request(clubEntries());
        r.confirmReplacingWithEmptyLog = [&](const QString &fileName) {
            asked.append(fileName);
            return answer;
        };
        QVERIFY(ExportCabrilloLog(r).written); // nothing to replace: no question
        const QString previous = dir->filePath(u"JA1ABC.txt"_s);
        writeFile(previous, "previous export\r\n");
        QVERIFY(QFile::remove(r.settingsPath));

        const ExportResult declined = ExportCabrilloLog(r);
        QCOMPARE(asked, QStringList{u"JA1ABC.txt"_s});
        QVERIFY(declined.declined && !declined.written);
        QCOMPARE(entriesIn(dir->path()), QStringList{u"JA1ABC.txt"_s});
        QCOMPARE(readFile(previous), QByteArray("previous export\r\n"));

        r.logText = loadLog("club.zlog.txt"); // a log with QSOs replaces it without a word
        QVERIFY(ExportCabrilloLog(r).written);
        QCOMPARE(asked.size(), 1);
        answer = true;
        r.logText.clear();
        QVERIFY(ExportCabrilloLog(r).written);
        QCOMPARE(asked.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
