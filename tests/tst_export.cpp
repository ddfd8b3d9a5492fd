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
        r.year = 2026;
        r.outputFolder = folder.isEmpty() ? dir->path() : folder;
        r.settingsPath = dir->filePath(settingsFileName);
        return ExportCabrilloLog(r);
    }

private Q_SLOTS:
    void init() { QVERIFY(dir.emplace().isValid()); }

    void outputFileName()
    {
        const std::tuple<QString, QString, bool> cases[] = {
            // callsign, file name without ".txt", whether that name is refused
            {u"JA1ABC/1"_s, u"JA1ABC"_s, false},      // portable digit
            {u"KH0/JA1ABC"_s, u"JA1ABC"_s, false},    // prefix
            {u"JA1ABC/MM"_s, u"MM"_s, false},         // two behind the slash count as prefix
            {u"KH0/JA1ABC/P"_s, u"JA1ABC/P"_s, true}, // only the first slash
            {u"/"_s, u""_s, false},                   // a lone slash gives ".txt"
            {u"A/../../x"_s, u"../../x"_s, true},
            {u"JA1\\ABC"_s, u"JA1\\ABC"_s, true},
            {u"JA1\tABC"_s, u"JA1\tABC"_s, true},
        };
        for (const auto &[callsign, baseName, unsafe] : cases) {
            QCOMPARE(OutputFileName(callsign), baseName);
            QCOMPARE(IsUnsafeFileName(baseName), unsafe);
        }
        // What Windows cannot create is refused there alone, named as Windows' rule: a
        // reserved name (a device, a trailing dot or blank), or the character it refuses.
        const std::pair<QString, QString> windows[] = {
            // the base name, what Windows refuses: nothing, "name", or the character
            {u"CON"_s, u"name"_s},  {u"lpt1.x"_s, u"name"_s},  {u"COM10"_s, u""_s},
            {u"CON."_s, u"name"_s}, {u"JA1ABC."_s, u"name"_s}, {u"JA1ABC "_s, u"name"_s},
            {u"A:B"_s, u":"_s},     {u"A?"_s, u"?"_s},         {u"<A>*"_s, u"<"_s},
            {u"A|\"B"_s, u"|"_s},   {u"JA1ABC"_s, u""_s},
        };
        for (const auto &[name, rule] : windows) {
            const bool refused = !rule.isEmpty();
            QCOMPARE(WindowsCannotCreate(name), refused);
#if defined(Q_OS_WIN)
            QCOMPARE(IsUnsafeFileName(name), refused);
#else
            QVERIFY(!IsUnsafeFileName(name));
#endif
            const QString start = u"コールサイン「%1」からの出力ファイル名「%1.txt」"_s.arg(name);
            if (refused)
                QCOMPARE(
                    UnsafeFileNameMessage(name, name),
                    rule == u"name"_s
                        ? start + u"はWindowsでファイル名に使えない名前です"_s
                        : start +
                              u"には、Windowsでファイル名に使えない文字「%1」が含まれます"_s.arg(
                                  rule));
        }
        // A slash or a control character is refused everywhere, in the same words.
        QVERIFY(UnsafeFileNameMessage(u"A/?"_s, u"A/?"_s)
                    .endsWith(u"使えない文字（/ \\ 制御文字）が含まれます"_s));
    }

    // Filled in order, each entry is asked for in turn; the key only when the contest text
    // is exactly the Let's contest's name.
    void requiredEntries()
    {
        StationEntries e;
        QStringList asked; // the message before each entry is filled
        for (QString *entry : {&e.contest, &e.category, &e.callsign, &e.name, &e.address, &e.key,
                               &e.power, &e.mail}) {
            asked << CheckRequiredFields(e).value_or(u"-"_s);
            *entry = entry == &e.contest ? Contests::lets.name : u"x"_s;
        }
        QCOMPARE(asked.join(u' '), u"「コンテスト名」は必須項目です 「参加部門」は必須項目です "
                                   u"「コールサイン」は必須項目です 「氏名」は必須項目です "
                                   u"「住所」は必須項目です 「使用電鍵」は必須項目です "
                                   u"「最大空中線電力」は必須項目です -"_s);
        e.key.clear();
        // A trailing blank makes the text no list item.
        for (const QString &contest : {Contests::club.name, Contests::lets.name + u' '}) {
            e.contest = contest;
            QCOMPARE(CheckRequiredFields(e).value_or(QString()), QString());
        }
    }

    // Nothing is written, and an earlier file stays as it was.
    void refusalTouchesNothing()
    {
        const StationEntries club = clubWith();
        const std::tuple<StationEntries, QString, QString> cases[] = {
            {clubWith(&E::callsign, u"A/../../x"_s), u""_s, u"コールサイン「A/../../x」"_s},
            {clubWith(&E::equipment, u"IC-705 ♪☺"_s), u""_s,
             u"「無線機」にShift_JISで書けない文字「☺」（U+263A）があります"_s},
            {clubWith(&E::name, u"山田\x1b[2J"_s), u""_s,
             u"「氏名」に制御文字（U+001B）があります"_s},
            // A runaway callsign is cut in the message.
            {clubWith(&E::callsign, QString(1 << 20, u'A') + u"/\t/B"_s), u""_s,
             u"コールサイン「AAAA"_s},
            // The answer to the multiplier question lands in the sent exchange.
            {club,
             u"11 23 0902 JA1XY 599\x1b"
             u"7 59913 7 CW 1\r\n"_s,
             u"ログの1行目に制御文字（U+001B）があります\n「11 23 0902 JA1XY 599␛7"_s},
            {club, u"11 23 0902 JA1XY 59910 59913 7 CW 1\r\n11 23 0903 JA1XZ\r\n"_s,
             u"ログの2行目は項目が4個しかありません"_s},
            // Text behind the written fields may hold anything; a written field may not.
            {club,
             u"11 23 0902 JA1XY 59910 59913 7 CW 1 良い😀\r\n11 23 0903 JA1😀 59910 59913 7 CW 1"_s,
             u"ログの2行目にShift_JISで書けない文字「😀」（U+1F600）"_s},
        };
        const QString existing = dir->filePath(u"JA1ABC.txt"_s);
        writeFile(existing, "previous export\r\n");
        for (const auto &[entries, log, message] : cases) {
            const ExportResult result = exportLog(entries, log);
            QVERIFY2(result.message.startsWith(message), qPrintable(result.message));
            QVERIFY2(result.message.size() < 400, "a message box can show it");
            QCOMPARE(entriesIn(dir->path()), QStringList({u"JA1ABC.txt"_s}));
            QCOMPARE(readFile(existing), QByteArray("previous export\r\n"));
        }
    }

    void settingsOrFolderProblems()
    {
        // Saved entries are the very bytes they were read from, on every platform.
        QVERIFY(exportLog(clubWith()).written);
        QCOMPARE(readFile(dir->filePath(settingsFileName)), readFile(testDataFile("club.ini.txt")));
        QVERIFY(QFile::remove(dir->filePath(settingsFileName)));

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
