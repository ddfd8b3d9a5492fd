#include "test_files.h"
#include <QProcess>

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace
{

const QString clubLog = testDataFile("club.zlog.txt");
const QByteArray clubSettings = readFile(testDataFile("club.ini.txt"));

struct Run {
    int exitCode = -1; // -1 when the program did not end normally
    QString out;
    QString err;
};

// Runs the program in a scratch folder that holds the club member's settings as "ini.txt".
// With a limit, every file it writes may grow to that many bytes, as on a full disk.
Run run(const QTemporaryDir &work, const QStringList &arguments, rlim_t fileSizeLimit = 0)
{
    writeFile(work.filePath(u"ini.txt"_s), clubSettings);
    QProcess process;
    process.setWorkingDirectory(work.path());
    if (fileSizeLimit > 0) {
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    process.start(QStringLiteral(TORNAK_BINARY), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList qsoLines(const QByteArray &cabrillo)
{
    return QString::fromLatin1(cabrillo).split(u"\r\n"_s).filter(QRegularExpression(u"^QSO:"_s));
}

} // namespace

class TestConvertCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsClubLog()
    {
        QTemporaryDir work;
        const QString outDir = work.filePath(u"out"_s);
        QVERIFY(QDir().mkdir(outDir));
        writeFile(work.filePath(u"club.ini"_s), clubSettings);
        const Run result = run(work, {u"convert"_s, clubLog, u"--settings"_s, u"club.ini"_s,
                                      u"--year"_s, u"2026"_s, u"--output-dir"_s, outDir});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.trimmed(), outDir + u"/JA1ABC.txt"_s);
        QCOMPARE(readFile(result.out.trimmed()), readFile(testDataFile("club.expected.txt")));
        // The settings are only read, never rewritten.
        QCOMPARE(readFile(work.filePath(u"club.ini"_s)), clubSettings);
        QCOMPARE(readFile(work.filePath(u"ini.txt"_s)), clubSettings);
        QCOMPARE(entriesIn(work.path()), (QStringList{u"club.ini"_s, u"ini.txt"_s, u"out"_s}));
        QCOMPARE(entriesIn(outDir), QStringList{u"JA1ABC.txt"_s});

        // A full disk: the earlier file stays as it was, and the failure is no success.
        const Run full = run(work, {u"convert"_s, clubLog, u"--output-dir"_s, outDir}, 1024);
        QCOMPARE(full.exitCode, 1);
        QVERIFY2(full.err.startsWith(u"ファイル「%1/JA1ABC.txt」に書き込めません"_s.arg(outDir)),
                 qPrintable(full.err));
        QCOMPARE(readFile(outDir + u"/JA1ABC.txt"_s), readFile(result.out.trimmed()));
        QCOMPARE(entriesIn(outDir), QStringList{u"JA1ABC.txt"_s});
    }

    // Qt would take a name that begins with ":" for one inside the program's resources.
    void namesBeginningWithColon()
    {
        QTemporaryDir work;
        QVERIFY(QDir().mkdir(work.path() + u"/:out"_s));
        QVERIFY(QFile::copy(clubLog, work.path() + u"/:log.txt"_s));
        writeFile(work.path() + u"/:club.ini"_s, clubSettings);
        const Run result = run(work, {u"convert"_s, u":log.txt"_s, u"--settings"_s, u":club.ini"_s,
                                      u"--year"_s, u"2026"_s, u"--output-dir"_s, u":out"_s});
        QCOMPARE(result.err, QString());
        QVERIFY(readFile(work.path() + u"/:out/JA1ABC.txt"_s).endsWith("END-OF-LOG: \r\n"));
    }

    // The Let's log lacks the sent multiplier.
    void answersMultiplierQuestion_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("sent"); // the sent exchange written into every QSO line
        QTest::newRow("no answer: blanks and a warning") << QStringList() << u"  "_s;
        QTest::newRow("answered") << QStringList{u"--multiplier"_s, u"13"_s} << u"13"_s;
    }
    void answersMultiplierQuestion()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, sent);
        QTemporaryDir work;
        const Run result = run(
            work, QStringList{u"convert"_s, testDataFile("lets.zlog.txt"), u"--year"_s, u"2026"_s} +
                      options);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out.trimmed(), u"JA1ABC.txt"_s);
        QCOMPARE(result.err.contains(u"送信マルチ"_s), options.isEmpty());
        QCOMPARE(result.err.isEmpty(), !options.isEmpty());
        // The reference file was made for another station and the answer 13.
        QStringList expected = qsoLines(readFile(testDataFile("lets.expected.txt")));
        expected.replaceInStrings(u"7K1XYZ        "_s, u"JA1ABC/1      "_s);
        expected.replaceInStrings(u" 13     JA1"_s, u" "_s + sent + u"     JA1"_s);
        QCOMPARE(qsoLines(readFile(work.filePath(u"JA1ABC.txt"_s))), expected);
    }

    // Nothing is written and the settings are left alone, whatever the exit status.
    void refusesOrAnswersUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shows"); // on standard error for 1, standard output for 0
        const QString convert = u"convert"_s;
        QTest::newRow("settings missing: no contest")
            << QStringList{convert, clubLog, u"--settings"_s, u"none.ini"_s} << 1
            << u"「コンテスト名」は必須項目です"_s;
        QTest::newRow("missing log")
            << QStringList{convert, u"missing.txt"_s} << 1 << u"「missing.txt」を開けません"_s;
        QTest::newRow("unknown command") << QStringList{u"export"_s, clubLog} << 2 << QString();
        QTest::newRow("no log") << QStringList{convert} << 2 << QString();
        QTest::newRow("unknown option")
            << QStringList{convert, clubLog, u"--bogus"_s} << 2 << QString();
        QTest::newRow("year of two digits")
            << QStringList{convert, clubLog, u"--year"_s, u"26"_s} << 2 << QString();
        QTest::newRow("no settings file named")
            << QStringList{convert, clubLog, u"--settings"_s, QString()} << 1
            << u"警告：ファイル名が指定されていません"_s;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"--multiplier"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << u"tornak-cabrillo"_s;
    }
    void refusesOrAnswersUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shows);
        QTemporaryDir work;
        const Run result = run(work, arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? result.out : result.err).contains(shows), qPrintable(result.err));
        QVERIFY2(!result.err.contains(u"QFSFileEngine"_s), "Qt's own warnings are English");
        QCOMPARE(result.err.isEmpty(), exitCode == 0);
        QCOMPARE(result.out.isEmpty(), exitCode != 0);
        QCOMPARE(entriesIn(work.path()), QStringList{u"ini.txt"_s});
        QCOMPARE(readFile(work.filePath(u"ini.txt"_s)), clubSettings);
    }
};

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_convert_command.moc"
