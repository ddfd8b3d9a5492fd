#include "test_files.h"

#include "core/messages.h"

#include <QProcess>
#include <QtTest>

namespace
{

const QString clubLog = testDataFile("club.zlog.txt");
const QByteArray clubSettings = readFile(testDataFile("club.ini.txt"));

struct Run {
    int exitCode = -1; // -1 when the program did not end normally
    QString out, err;
};

// Redirected output as a command prompt reads it: on Windows in its code page (the system's,
// without a console), elsewhere UTF-8.
QString decoded(const QByteArray &bytes)
{
#if defined(Q_OS_WIN)
    return QString::fromLocal8Bit(bytes);
#else
    return QString::fromUtf8(bytes);
#endif
}

// Runs the program in a scratch folder that holds the club member's settings as "ini.txt".
// With a limit, every file it writes may grow to that many bytes, as on a full disk.
Run run(const QTemporaryDir &work, const QStringList &arguments, qint64 fileSizeLimit = 0)
{
    writeFile(work.filePath(u"ini.txt"_s), clubSettings);
    QProcess process;
    process.setWorkingDirectory(work.path());
#if defined(Q_OS_UNIX)
    if (fileSizeLimit > 0)
        process.setChildProcessModifier([fileSizeLimit] { limitFileSize(rlim_t(fileSizeLimit)); });
#else
    Q_UNUSED(fileSizeLimit)
#endif
    process.start(QStringLiteral(TORNAK_BINARY), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), decoded(process.readAllStandardOutput()),
            decoded(process.readAllStandardError())};
}

} // namespace

class TestConvertCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir elsewhere; // holds the huge file for as long as the rows run

private Q_SLOTS:
    // Every name of the club run begins with ":" (but on Windows, which allows none), which
    // Qt would take for one inside the program's resources. A control character may stand
    // where the export never writes it: in the log type, or behind the written fields.
    void convertsLogs()
    {
        QTemporaryDir work;
        const auto at = [&](const QString &name) { return work.path() + u'/' + name; };
#if defined(Q_OS_WIN)
        const QString out = u"out"_s, log = u"log.txt"_s, ini = u"club.ini"_s;
#else
        const QString out = u":out"_s, log = u":log.txt"_s, ini = u":club.ini"_s;
#endif
        QVERIFY(QDir().mkdir(at(out)));
        writeFile(at(log), readFile(clubLog).replace("long exch", "long\texch\a"));
        // The log type ＺＬｏｇ, in CP932, becomes "ZLog" and an ESC.
        const QByteArray settings =
            QByteArray(clubSettings).replace("\x82\x79\x82\x6B\x82\x8F\x82\x87", "ZLog\x1b");
        writeFile(at(ini), settings);
        const Run club = run(work, {u"convert"_s, log, u"--settings"_s, ini, u"--year"_s, u"2026"_s,
                                    u"--output-dir"_s, out});
        // The warnings of the check follow, on standard error.
        QVERIFY2(club.err.startsWith(u"警告：ログの7行目「"_s) &&
                     club.err.contains(u"では数えられないバンドのQSOがあります（14MHz 2件）"_s),
                 qPrintable(club.err));
        QCOMPARE(club.exitCode, 0);
        QCOMPARE(club.out.trimmed(), shown(out + u"/JA1ABC.txt"_s));
        const QByteArray expected = readFile(testDataFile("club.expected.txt"));
        QCOMPARE(readFile(at(club.out.trimmed())), expected);
        QCOMPARE(readFile(at(ini)), settings); // only read, never rewritten

        // The Let's log lacks the sent multiplier, which the option answers, full-width or not.
        const Run lets = run(work, {u"convert"_s, testDataFile("lets.zlog.txt"), u"--settings"_s,
                                    testDataFile("lets.ini.txt"), u"--multiplier"_s, u"　１３"_s,
                                    u"--year"_s, u"2026"_s});
        QVERIFY2(!lets.err.contains(u"送信マルチがありません"_s), qPrintable(lets.err));
        QCOMPARE(readFile(at(lets.out.trimmed())), readFile(testDataFile("lets.expected.txt")));
        // Without the answer, blanks stand for it, with a warning: the report, the blank sent
        // exchange and the station worked on each of the 12 QSO lines.
        const Run unanswered = run(work, {u"convert"_s, testDataFile("lets.zlog.txt")});
        QVERIFY2(unanswered.err.startsWith(u"警告：ログに自分の送信マルチがありません"_s),
                 qPrintable(unanswered.err));
        QCOMPARE(readFile(at(unanswered.out.trimmed())).count("        JA1"), 12);

        // zLOG's own logs give the Cabrillo files of their text exports, in the year they
        // record unless --year says otherwise.
        const auto convert = [&](const QString &logFile, const QStringList &options) {
            const Run zlog = run(work, QStringList{u"convert"_s, logFile} + options);
            return zlog.exitCode == 0 ? readFile(at(zlog.out.trimmed())) : QByteArray();
        };
        for (const char *sample : {"zlog/sample.ZLOX", "zlog/sample.ZLO", "zlog/sample_v22.ZLO"}) {
            const QString zlog = testDataFile(sample);
            const QByteArray cabrillo = convert(zlog, {u"--year"_s, u"2026"_s});
            QCOMPARE(cabrillo, convert(zlog + u".export.txt"_s, {u"--year"_s, u"2026"_s}));
            QVERIFY(cabrillo.count("QSO: ") >= 9);
            QCOMPARE(convert(zlog, {}), QByteArray(cabrillo).replace(" 2026-", " 2024-"));
        }

#if defined(Q_OS_UNIX)
        // A full disk: the earlier file stays as it was, and the failure is no success.
        const Run full = run(work, {u"convert"_s, clubLog, u"--output-dir"_s, out}, 1024);
        QCOMPARE(full.exitCode, 1);
        QVERIFY2(full.err.startsWith(u"ファイル「:out/JA1ABC.txt」に書き込めません"_s),
                 qPrintable(full.err));
        QCOMPARE(readFile(at(out + u"/JA1ABC.txt"_s)), expected);
        QCOMPARE(entriesIn(at(out)), QStringList{u"JA1ABC.txt"_s});
#endif
    }

    // the arguments, the exit status, what it shows: on standard error for 1 and 2, on
    // standard output for 0 and check's 3
    void refusesOrAnswersUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shows");
        const QString convert = u"convert"_s;
        QFile huge(elsewhere.filePath(u"huge.txt"_s)); // sparse: the file takes no room
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((256 << 20) + 1));
        QTest::newRow("missing") << QStringList{convert, u"missing.txt"_s} << 1
                                 << u"「missing.txt」を開けません"_s;
        // Opened as a file, a device would fill the memory; a pipe, refused the same way,
        // is tried as the settings file in tst_form1.
#if defined(Q_OS_UNIX)
        QTest::newRow("device") << QStringList{convert, u"/dev/zero"_s} << 1
                                << u"「/dev/zero」は通常のファイルではありません"_s;
#endif
        QTest::newRow("huge") << QStringList{convert, huge.fileName()} << 1
                              << u"は大きすぎるため読み込めません（256 MiBまで）"_s;
        QTest::newRow("empty name")
            << QStringList{convert, u""_s} << 1 << u"ファイル名が指定されていません"_s;
        // A settings file that cannot be read is warned about; its entries are then missing.
        QTest::newRow("empty settings name")
            << QStringList{convert, clubLog, u"--settings"_s, QString()} << 1
            << u"警告：ファイル名が指定されていません"_s;
        QTest::newRow("unknown command")
            << QStringList{u"export"_s, clubLog} << 2 << u"コマンドを指定して下さい"_s;
        QTest::newRow("no log") << QStringList{convert} << 2
                                << u"ログファイルを一つ指定して下さい"_s;
        // The output must not replace the log or the settings it was made from, by any name.
        writeFile(elsewhere.filePath(u"JA1ABC.txt"_s), readFile(clubLog));
#if defined(Q_OS_UNIX)
        // Through a link; Qt makes a shortcut of one on Windows, which is no link.
        const QString log = elsewhere.filePath(u"log"_s);
        QVERIFY(QFile::link(elsewhere.filePath(u"JA1ABC.txt"_s), log));
#else
        const QString log = elsewhere.filePath(u"JA1ABC.txt"_s);
#endif
        QTest::newRow("output is the log")
            << QStringList{convert, log, u"--output-dir"_s, elsewhere.path()} << 1
            << u"は読み込んだログファイルと同じファイルです"_s;
        QVERIFY(QDir(elsewhere.path()).mkpath(u"ini"_s));
        writeFile(elsewhere.filePath(u"ini/JA1ABC.txt"_s), clubSettings);
        QTest::newRow("output is the settings")
            << QStringList{convert,           clubLog,
                           u"--settings"_s,   elsewhere.filePath(u"ini/JA1ABC.txt"_s),
                           u"--output-dir"_s, elsewhere.filePath(u"ini"_s)}
            << 1 << u"は設定ファイルと同じファイルです"_s;
        QTest::newRow("multiplier of three")
            << QStringList{convert, clubLog, u"--multiplier"_s, u"123"_s} << 2
            << u"送信したマルチは半角英数字2文字までで入力して下さい"_s;
        QTest::newRow("two-digit year")
            << QStringList{convert, clubLog, u"--year"_s, u"26"_s} << 2 << u"--year には西暦4桁"_s;
        // Qt's own words are Japanese too.
        QTest::newRow("unknown option") << QStringList{convert, clubLog, u"--bogus"_s} << 2
                                        << u"'bogus' は未知のオプションです"_s;
        // check writes nothing and says by its status whether there is something to look at.
        const QDate today = QDate::currentDate();
        const QString todays = elsewhere.filePath(u"today.txt"_s);
        writeFile(todays, u" %1  %2 0902 JH1QXK     59910        59913            13     7  CW  1"_s
                              .arg(today.month())
                              .arg(today.day())
                              .toLatin1());
        QTest::newRow("check, clean")
            << QStringList{u"check"_s, todays} << 0 << u"QSO 1 件（7MHz 1）、"_s;
        // Cut before 〜, which a Japanese Windows shows as its own ～.
        QTest::newRow("check, warnings") << QStringList{u"check"_s, clubLog} << 3
                                         << u"QSO 7 件（7MHz 5・14MHz 2）、11-23 0902"_s;
        QTest::newRow("check, refused")
            << QStringList{u"check"_s, clubLog, u"--output-dir"_s, u"missing"_s} << 1
            << u"出力先のフォルダー「missing」がありません"_s;
        QTest::newRow("check, bad multiplier")
            << QStringList{u"check"_s, clubLog, u"--multiplier"_s, u"123"_s} << 2
            << u"送信したマルチは半角英数字2文字までで入力して下さい"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"--multiplier"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"tornak-cabrillo"_s;
    }
    // Nothing is written and the settings are left alone, whatever the exit status.
    void refusesOrAnswersUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shows);
        QTemporaryDir work;
        const Run result = run(work, arguments);
        QCOMPARE(result.exitCode, exitCode);
        const bool answered = exitCode == 0 || exitCode == 3;
        QVERIFY2((answered ? result.out : result.err).contains(shows), qPrintable(result.err));
        QVERIFY2(!result.err.contains(u"QFSFileEngine"_s), "Qt's own warnings are English");
        QCOMPARE(result.err.isEmpty(), answered);
        QCOMPARE(result.out.isEmpty(), !answered);
        QCOMPARE(entriesIn(work.path()), QStringList{u"ini.txt"_s});
        QCOMPARE(readFile(work.filePath(u"ini.txt"_s)), clubSettings);
        // The help names the program one way, as it is typed, not by the path it ran from.
        if (arguments == QStringList{u"--help"_s}) {
            QCOMPARE(result.out.count(u" "_s + Messages::commandName + u" "_s), 3);
            QCOMPARE(result.out.count(u"tornak-cabrillo"_s), 3);
        }
    }
};

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_convert_command.moc"
