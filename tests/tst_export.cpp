#include "conversion/export_log.h"
#include "conversion/output_file_name.h"
#include "conversion/required_fields.h"
#include "core/contests.h"
#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

namespace
{

using E = StationEntries;

// The club member of the test data, one entry changed.
StationEntries clubWith(QString E::*entry = nullptr, const QString &text = QString())
{
    StationEntries e = InitialStationEntries();
    LoadSettings(testDataFile("club.ini.txt"), e);
    if (entry)
        e.*entry = text;
    return e;
}

} // namespace

Q_DECLARE_METATYPE(StationEntries)

class TestExport : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    ExportResult exportLog(const StationEntries &entries, const QString &log = QString(),
                           const QString &folder = QString())
    {
        ExportRequest r;
        r.entries = entries;
        r.log = LinesOfLogText(log);
        r.year.fallback = 2026;
        r.outputFolder = folder.isEmpty() ? dir->path() : folder;
        r.settingsPath = dir->filePath(settingsFileName);
        return ExportCabrilloLog(r);
    }

private Q_SLOTS:
    void init() { QVERIFY(dir.emplace().isValid()); }

    void outputFileName_data()
    {
        QTest::addColumn<QString>("callsign");
        QTest::addColumn<QString>("baseName"); // the file name without ".txt"
        QTest::addColumn<bool>("unsafe");      // whether that name is refused everywhere
        QTest::addColumn<QString>("windows");  // what Windows refuses: "name", a character
        QTest::newRow("portable digit") << u"JA1ABC/1"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("prefix") << u"KH0/JA1ABC"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("portable area") << u"JA1ABC/JD1"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("maritime mobile") << u"JA1ABC/MM"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("prefix and suffix") << u"JD1/JA1ABC/P"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("two slashes behind") << u"JA1ABC/1/P"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("as long: the last") << u"VK9X/W1AW"_s << u"W1AW"_s << false << u""_s;
        QTest::newRow("a lone slash") << u"/"_s << u""_s << true << u""_s;
        QTest::newRow("dot") << u"."_s << u"."_s << true << u"name"_s;
        QTest::newRow("parent folders") << u"A/../../x"_s << u".."_s << true << u"name"_s;
        QTest::newRow("blanks only") << u"   "_s << u""_s << true << u""_s;
        QTest::newRow("full-width blank") << u"\u3000"_s << u""_s << true << u""_s;
        QTest::newRow("blanks around") << u" JA1ABC\u3000/P"_s << u"JA1ABC"_s << false << u""_s;
        QTest::newRow("backslash") << u"JA1\\ABC"_s << u"JA1\\ABC"_s << true << u""_s;
        QTest::newRow("tab") << u"JA1\tABC"_s << u"JA1\tABC"_s << true << u""_s;
        QTest::newRow("device") << u"CON"_s << u"CON"_s << false << u"name"_s;
        QTest::newRow("device and dot") << u"CON."_s << u"CON."_s << false << u"name"_s;
        QTest::newRow("device with a suffix") << u"lpt1.x"_s << u"lpt1.x"_s << false << u"name"_s;
        QTest::newRow("no device") << u"COM10"_s << u"COM10"_s << false << u""_s;
        QTest::newRow("colon") << u"A:B"_s << u"A:B"_s << false << u":"_s;
        QTest::newRow("question mark") << u"A?"_s << u"A?"_s << false << u"?"_s;
        QTest::newRow("angle brackets") << u"<A>*"_s << u"<A>*"_s << false << u"<"_s;
        QTest::newRow("trailing dot") << u"JA1ABC."_s << u"JA1ABC."_s << false << u"name"_s;
    }
    // What Windows cannot create is refused there alone, named as Windows' rule.
    void outputFileName()
    {
        QFETCH(QString, callsign);
        QFETCH(QString, baseName);
        QFETCH(bool, unsafe);
        QFETCH(QString, windows);
        QCOMPARE(OutputFileName(callsign), baseName);
        QCOMPARE(WindowsCannotCreate(baseName), !windows.isEmpty());
#if defined(Q_OS_WIN)
        const bool refused = unsafe || !windows.isEmpty();
#else
        const bool refused = unsafe;
#endif
        QCOMPARE(IsUnsafeFileName(baseName) || CannotNameAFile(baseName), refused);
        if (CannotNameAFile(baseName) || (!unsafe && windows.isEmpty()))
            return;
        const QString message = UnsafeFileNameMessage(callsign, baseName);
        const QString expected =
            unsafe ? u"使えない文字（/ \\ 制御文字）が含まれます"_s
            : windows == u"name"_s
                ? u"はWindowsでファイル名に使えない名前です"_s
                : u"には、Windowsでファイル名に使えない文字「%1」が含まれます"_s.arg(windows);
        QVERIFY2(message.endsWith(expected), qPrintable(message));
    }

    void requiredEntries_data()
    {
        QTest::addColumn<QString>("contest");
        QTest::addColumn<QString>("asked"); // the entry asked for before each is filled
        const QString common = u"コンテスト名 参加部門 コールサイン 氏名 住所 "_s;
        QTest::newRow("Let's contest")
            << Contests::lets.name << common + u"使用電鍵 最大空中線電力 -"_s;
        QTest::newRow("club contest")
            << Contests::club.name << common + u"最大空中線電力 最大空中線電力 -"_s;
        // A trailing blank makes the text no list item; the power is asked for all the same.
        QTest::newRow("no contest of the list")
            << Contests::lets.name + u' ' << common + u"最大空中線電力 最大空中線電力 -"_s;
    }
    // Filled in order, each entry is asked for in turn; the key only when the contest text
    // is exactly the Let's contest's name.
    void requiredEntries()
    {
        QFETCH(QString, contest);
        QFETCH(QString, asked);
        StationEntries e;
        QStringList messages, expected;
        for (QString *entry : {&e.contest, &e.category, &e.callsign, &e.name, &e.address, &e.key,
                               &e.power, &e.mail}) {
            messages << CheckRequiredFields(e).value_or(u"-"_s);
            *entry = entry == &e.contest ? contest : u"x"_s;
        }
        for (const QString &name : asked.split(u' '))
            expected << (name == u"-"_s ? name : u"「%1」は必須項目です"_s.arg(name));
        QCOMPARE(messages, expected);
    }

    void refusalTouchesNothing_data()
    {
        QTest::addColumn<StationEntries>("entries");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("message"); // how the refusal begins
        const StationEntries club = clubWith();
        QTest::newRow("callsign leaving the folder")
            << clubWith(&E::callsign, u"A/../../x"_s) << u""_s << u"コールサイン「A/../../x」"_s;
        QTest::newRow("entry Shift_JIS cannot hold")
            << clubWith(&E::equipment, u"IC-705 ♪☺"_s) << u""_s
            << u"「無線機」にShift_JISで書けない文字「☺」（U+263A）があります"_s;
        QTest::newRow("control character in an entry")
            << clubWith(&E::name, u"山田\x1b[2J"_s) << u""_s
            << u"「氏名」に制御文字（U+001B）があります"_s;
        QTest::newRow("DEL in an entry") << clubWith(&E::name, u"山田\x7f"_s) << u""_s
                                         << u"「氏名」に制御文字（U+007F）があります"_s;
        // A runaway callsign is cut in the message.
        QTest::newRow("runaway callsign")
            << clubWith(&E::callsign, QString(1 << 20, u'A') + u"\\B"_s) << u""_s
            << u"コールサイン「AAAA"_s;
        // The answer to the multiplier question lands in the sent exchange.
        QTest::newRow("control character in the sent exchange")
            << club
            << u"11 23 0902 JA1XY 599\x1b"
               u"7 59913 7 CW 1\r\n"_s
            << u"ログの1行目に制御文字（U+001B）があります\n「11 23 0902 JA1XY 599␛7"_s;
        QTest::newRow("too few fields")
            << club << u"11 23 0902 JA1XY 59910 59913 7 CW 1\r\n11 23 0903 JA1XZ\r\n"_s
            << u"ログの2行目は項目が4個しかありません"_s;
        QTest::newRow("C1 control in a written field")
            << club << u"11 23 0902 JA1\u0080XY 59910 59913 7 CW 1"_s
            << u"ログの1行目に制御文字（U+0080）があります"_s;
        // Text behind the written fields may hold anything; a written field may not.
        QTest::newRow("emoji in a written field")
            << club
            << u"11 23 0902 JA1XY 59910 59913 7 CW 1 良い😀\r\n"
               u"11 23 0903 JA1😀 59910 59913 7 CW 1"_s
            << u"ログの2行目にShift_JISで書けない文字「😀」（U+1F600）"_s;
    }
    // Nothing is written, and an earlier file stays as it was.
    void refusalTouchesNothing()
    {
        QFETCH(StationEntries, entries);
        QFETCH(QString, log);
        QFETCH(QString, message);
        const QString existing = dir->filePath(u"JA1ABC.txt"_s);
        writeFile(existing, "previous export\r\n");
        const ExportResult result = exportLog(entries, log);
        QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
        QVERIFY2(result.message.size() < 400, "a message box can show it");
        QCOMPARE(entriesIn(dir->path()), QStringList({u"JA1ABC.txt"_s}));
        QCOMPARE(readFile(existing), QByteArray("previous export\r\n"));
    }

    void settingsOrFolderProblems()
    {
        // Saved entries are the very bytes they were read from, on every platform.
        QVERIFY(exportLog(clubWith()).written);
        QCOMPARE(readFile(dir->filePath(settingsFileName)), readFile(testDataFile("club.ini.txt")));
        QVERIFY(QFile::remove(dir->filePath(settingsFileName)));
#if defined(Q_OS_UNIX)
        {
            // A disk with room for the settings, but not for the Cabrillo file after them: the
            // entries are saved all the same.
            const FileSizeLimit fullDisk(rlim_t(readFile(testDataFile("club.ini.txt")).size()));
            const QString message = exportLog(clubWith()).message;
            QVERIFY2(message.startsWith(u"ファイル「%1」に書き込めません"_s.arg(
                         shown(dir->filePath(u"JA1ABC.txt"_s)))),
                     qPrintable(message));
        }
        QCOMPARE(readFile(dir->filePath(settingsFileName)), readFile(testDataFile("club.ini.txt")));
        QVERIFY(QFile::remove(dir->filePath(settingsFileName)));
#endif

        // One line of the settings file cannot hold a line break: it would shift every entry
        // after it at the next start. That is reported, and the output is still written.
        const ExportResult result = exportLog(clubWith(&E::address, u"\r\n東京都"_s));
        QCOMPARE(result.shortenedAddress, std::optional<QString>(u"東京都"_s));
        QCOMPARE(result.settingsError,
                 u"設定ファイル「%1」を保存できませんでした"
                 u"（「住所」に改行があります）"_s.arg(shown(dir->filePath(settingsFileName))));

        const QString nowhere = dir->filePath(u"nowhere"_s);
        QCOMPARE(exportLog(clubWith(), QString(), nowhere).message,
                 u"出力先のフォルダー「%1」がありません"_s.arg(shown(nowhere)));
        QCOMPARE(exportLog(clubWith(), QString(), result.outputPath).message,
                 u"出力先の「%1」はフォルダーではありません"_s.arg(shown(result.outputPath)));
#if defined(Q_OS_UNIX)
        // A pipe or a device of the output's name is never replaced by a file.
        QVERIFY(QFile::remove(result.outputPath));
        QVERIFY(makePipe(result.outputPath));
        QCOMPARE(exportLog(clubWith()).message,
                 u"「%1」は通常のファイルではありません"_s.arg(shown(result.outputPath)));
        QVERIFY(!QFileInfo(result.outputPath).isFile());
        QCOMPARE(entriesIn(dir->path()), QStringList{u"JA1ABC.txt"_s}); // no settings saved
#endif

#if !defined(Q_OS_WIN)
        // Qt reads a name beginning with ":" as a path into its resources; it must still
        // land in the output folder. Windows allows no ':' in a name.
        QVERIFY(exportLog(clubWith(&E::callsign, u"A/:T"_s)).written);
        QVERIFY(QFileInfo(dir->path() + u"/:T.txt"_s).isFile());
#endif
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
