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
        QCOMPARE(club.err, QString());
        QCOMPARE(club.exitCode, 0);
        QCOMPARE(club.out.trimmed(), shown(out + u"/JA1ABC.txt"_s));
        const QByteArray expected = readFile(testDataFile("club.expected.txt"));
        QCOMPARE(readFile(at(club.out.trimmed())), expected);
        QCOMPARE(readFile(at(ini)), settings); // only read, never rewritten

        // The Let's log lacks the sent multiplier, which the option answers.
        const Run lets = run(work, {u"convert"_s, testDataFile("lets.zlog.txt"), u"--settings"_s,
                                    testDataFile("lets.ini.txt"), u"--multiplier"_s, u"13"_s,
                                    u"--year"_s, u"2026"_s});
        QCOMPARE(lets.err, QString());
        QCOMPARE(readFile(at(lets.out.trimmed())), readFile(testDataFile("lets.expected.txt")));
        // Without the answer, blanks stand for it, with a warning: the report, the blank sent
        // exchange and the station worked on each of the 12 QSO lines.
        const Run unanswered = run(work, {u"convert"_s, testDataFile("lets.zlog.txt")});
        QVERIFY2(unanswered.err.startsWith(u"警告：ログに自分の送信マルチがありません"_s),
                 qPrintable(unanswered.err));
        QCOMPARE(readFile(at(unanswered.out.trimmed())).count("        JA1"), 12);

        // zLOG's own logs give the Cabrillo files of their text exports.
        for (const char *sample : {"zlog/sample.ZLOX", "zlog/sample.ZLO", "zlog/sample_v22.ZLO"}) {
            QByteArray cabrillo[2];
            for (const QString &suffix : {QString(), u".export.txt"_s}) {
                const Run zlog = run(work, {u"convert"_s, testDataFile(sample) + suffix});
                QCOMPARE(zlog.exitCode, 0);
                cabrillo[suffix.isEmpty() ? 0 : 1] = readFile(at(zlog.out.trimmed()));
            }
            QCOMPARE(cabrillo[0], cabrillo[1]);
            QVERIFY(cabrillo[0].count("QSO: ") >= 9);
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

    // Nothing is written and the settings are left alone, whatever the exit status.
    void refusesOrAnswersUsage()
    {
        const QString convert = u"convert"_s;
        QTemporaryDir elsewhere; // sparse: the file takes no room
        QFile huge(elsewhere.filePath(u"huge.txt"_s));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize((256 << 20) + 1));
        const std::tuple<QStringList, int, QString> cases[] = {
            // the arguments, the exit status, what it shows: on standard error for 1,
            // on standard output for 0
            {{convert, u"missing.txt"_s}, 1, u"「missing.txt」を開けません"_s},
        // Opened as a file, a device would fill the memory; a pipe, refused the same way,
        // is tried as the settings file in tst_form1.
#if defined(Q_OS_UNIX)
            {{convert, u"/dev/zero"_s}, 1, u"「/dev/zero」は通常のファイルではありません"_s},
#endif
            {{convert, huge.fileName()}, 1, u"は大きすぎるため読み込めません（256 MiBまで）"_s},
            {{convert, u""_s}, 1, u"ファイル名が指定されていません"_s},
            // A settings file that cannot be read is warned about; its entries are then missing.
            {{convert, clubLog, u"--settings"_s, QString()},
             1,
             u"警告：ファイル名が指定されていません"_s},
            {{u"export"_s, clubLog}, 2, u"コマンドを指定して下さい"_s},
            {{convert}, 2, u"ログファイルを一つ指定して下さい"_s},
            {{convert, clubLog, u"--year"_s, u"26"_s}, 2, u"--year には西暦4桁"_s},
            // Qt's own words are Japanese too.
            {{convert, clubLog, u"--bogus"_s}, 2, u"'bogus' は未知のオプションです"_s},
            {{u"--help"_s}, 0, u"--multiplier"_s},
            {{u"--version"_s}, 0, u"tornak-cabrillo"_s},
        };
        for (const auto &[arguments, exitCode, shows] : cases) {
            QTemporaryDir work;
            const Run result = run(work, arguments);
            QCOMPARE(result.exitCode, exitCode);
            QVERIFY2((exitCode == 0 ? result.out : result.err).contains(shows),
                     qPrintable(result.err));
            QVERIFY2(!result.err.contains(u"QFSFileEngine"_s), "Qt's own warnings are English");
            QCOMPARE(result.err.isEmpty(), exitCode == 0);
            QCOMPARE(result.out.isEmpty(), exitCode != 0);
            QCOMPARE(entriesIn(work.path()), QStringList{u"ini.txt"_s});
            QCOMPARE(readFile(work.filePath(u"ini.txt"_s)), clubSettings);
        }
        // The help names the program one way, as it is typed, not by the path it ran from.
        QTemporaryDir work;
        const QString help = run(work, {u"--help"_s}).out;
        QCOMPARE(help.count(u" "_s + Messages::commandName + u" "_s), 2);
        QCOMPARE(help.count(u"tornak-cabrillo"_s), 2);
    }
};

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_convert_command.moc"
