#include "test_files.h"
#include <QProcess>

#include <QtTest>

namespace
{

const QString dataDir = QStringLiteral(TEST_DATA_DIR);
const QString clubLog = dataDir + QStringLiteral("/club.zlog.txt");
const QString letsLog = dataDir + QStringLiteral("/lets.zlog.txt"); // lacks the sent multiplier

struct Run {
    int exitCode = -1; // -1 when the program did not end normally
    QString out;
    QString err;
};

Run run(const QStringList &arguments, const QString &workingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(TORNAK_BINARY), arguments);
    Run result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The QSO lines of a Cabrillo file in CP932.
QStringList qsoLines(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-31j");
    const QString text = decoder.decode(bytes);
    return text.split(QStringLiteral("\r\n")).filter(QRegularExpression(QStringLiteral("^QSO:")));
}

} // namespace

class TestConvertCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertsClubLog();
    void readsIniTxtByDefault();
    void answersMultiplierQuestion_data();
    void answersMultiplierQuestion();
    void refuses_data();
    void refuses();
    void rejectsUsage_data();
    void rejectsUsage();
    void helpAndVersion_data();
    void helpAndVersion();
};

void TestConvertCommand::convertsClubLog()
{
    QTemporaryDir work;
    QVERIFY(QFile::copy(dataDir + QStringLiteral("/club.ini.txt"),
                        work.filePath(QStringLiteral("club.ini"))));
    const QString outDir = work.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkdir(outDir));
    const QByteArray settings = readFile(work.filePath(QStringLiteral("club.ini")));

    const Run result = run({QStringLiteral("convert"), clubLog, QStringLiteral("--settings"),
                            QStringLiteral("club.ini"), QStringLiteral("--year"),
                            QStringLiteral("2026"), QStringLiteral("--output-dir"), outDir},
                           work.path());
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    const QString written = QDir(outDir).filePath(QStringLiteral("JA1ABC.txt"));
    QCOMPARE(result.out.trimmed(), written);
    QCOMPARE(readFile(written), readFile(dataDir + QStringLiteral("/club.expected.txt")));
    // The settings are only read: no rewrite, no "ini.txt" beside them.
    QCOMPARE(readFile(work.filePath(QStringLiteral("club.ini"))), settings);
    QCOMPARE(entriesOf(work.path()),
             (QStringList{QStringLiteral("club.ini"), QStringLiteral("out")}));
    QCOMPARE(entriesOf(outDir), QStringList{QStringLiteral("JA1ABC.txt")});
}

void TestConvertCommand::readsIniTxtByDefault()
{
    QTemporaryDir work;
    const QString ini = work.filePath(QStringLiteral("ini.txt"));
    QVERIFY(QFile::copy(dataDir + QStringLiteral("/club.ini.txt"), ini));
    const QByteArray settings = readFile(ini);

    const Run result =
        run({QStringLiteral("convert"), clubLog, QStringLiteral("--year"), QStringLiteral("2026")},
            work.path());
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out.trimmed(), QStringLiteral("JA1ABC.txt"));
    QCOMPARE(readFile(work.filePath(QStringLiteral("JA1ABC.txt"))),
             readFile(dataDir + QStringLiteral("/club.expected.txt")));
    QCOMPARE(readFile(ini), settings);
}

void TestConvertCommand::answersMultiplierQuestion_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("sent"); // the sent exchange written into every QSO line
    QTest::addColumn<bool>("warns");
    QTest::newRow("no answer") << QStringList() << QStringLiteral("  ") << true;
    QTest::newRow("answered") << QStringList{QStringLiteral("--multiplier"), QStringLiteral("13")}
                              << QStringLiteral("13") << false;
}

void TestConvertCommand::answersMultiplierQuestion()
{
    QFETCH(QStringList, options);
    QFETCH(QString, sent);
    QFETCH(bool, warns);
    QTemporaryDir work;
    QVERIFY(QFile::copy(dataDir + QStringLiteral("/club.ini.txt"),
                        work.filePath(QStringLiteral("ini.txt"))));

    const Run result = run(QStringList{QStringLiteral("convert"), letsLog, QStringLiteral("--year"),
                                       QStringLiteral("2026")} +
                               options,
                           work.path());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err.contains(QStringLiteral("送信マルチ")), warns);
    if (!warns)
        QCOMPARE(result.err, QString());

    // The reference file was made for another station and the answer 13.
    QStringList expected = qsoLines(readFile(dataDir + QStringLiteral("/lets.expected.txt")));
    expected.replaceInStrings(QStringLiteral("7K1XYZ        "), QStringLiteral("JA1ABC/1      "));
    expected.replaceInStrings(QStringLiteral(" 13     JA1"),
                              QLatin1Char(' ') + sent + QStringLiteral("     JA1"));
    QCOMPARE(qsoLines(readFile(work.filePath(QStringLiteral("JA1ABC.txt")))), expected);
}

void TestConvertCommand::refuses_data()
{
    QTest::addColumn<int>("emptiedLine"); // of the settings file, 1-based; 0 for none
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("message"); // what standard error must contain

    QTest::newRow("empty callsign")
        << 6 << clubLog << QStringLiteral("「コールサイン」は必須項目です");
    QTest::newRow("empty name") << 7 << clubLog << QStringLiteral("「氏名」は必須項目です");
    QTest::newRow("missing log") << 0 << QStringLiteral("missing.txt")
                                 << QStringLiteral("missing.txt");
}

void TestConvertCommand::refuses()
{
    QFETCH(int, emptiedLine);
    QFETCH(QString, log);
    QFETCH(QString, message);
    QTemporaryDir work;
    QList<QByteArray> lines = readFile(dataDir + QStringLiteral("/club.ini.txt")).split('\n');
    if (emptiedLine > 0)
        lines[emptiedLine - 1] = "\r";
    const QByteArray settings = lines.join('\n');
    writeFile(work.filePath(QStringLiteral("ini.txt")), settings);
    const QString outDir = work.filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkdir(outDir));

    const Run result =
        run({QStringLiteral("convert"), log, QStringLiteral("--output-dir"), outDir}, work.path());
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QCOMPARE(result.out, QString());
    QCOMPARE(entriesOf(outDir), QStringList());
    QCOMPARE(readFile(work.filePath(QStringLiteral("ini.txt"))), settings);
}

void TestConvertCommand::rejectsUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString convert = QStringLiteral("convert");
    const QString year = QStringLiteral("--year");
    QTest::newRow("unknown command") << QStringList{QStringLiteral("export"), clubLog};
    QTest::newRow("no log") << QStringList{convert};
    QTest::newRow("two logs") << QStringList{convert, clubLog, clubLog};
    QTest::newRow("unknown option") << QStringList{convert, clubLog, QStringLiteral("--bogus")};
    QTest::newRow("year of two digits")
        << QStringList{convert, clubLog, year, QStringLiteral("26")};
    QTest::newRow("year not a number")
        << QStringList{convert, clubLog, year, QStringLiteral("abcd")};
    QTest::newRow("year missing") << QStringList{convert, clubLog, year};
}

void TestConvertCommand::rejectsUsage()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir work;
    QVERIFY(QFile::copy(dataDir + QStringLiteral("/club.ini.txt"),
                        work.filePath(QStringLiteral("ini.txt"))));

    const Run result = run(arguments, work.path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY(!result.err.isEmpty());
    QCOMPARE(result.out, QString());
    QCOMPARE(entriesOf(work.path()), QStringList{QStringLiteral("ini.txt")});
}

void TestConvertCommand::helpAndVersion_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("shows");
    QTest::newRow("help") << QStringLiteral("--help") << QStringLiteral("--multiplier");
    QTest::newRow("version") << QStringLiteral("--version") << QStringLiteral("tornak-cabrillo");
}

void TestConvertCommand::helpAndVersion()
{
    QFETCH(QString, option);
    QFETCH(QString, shows);
    QTemporaryDir work;
    const Run result = run({option}, work.path());
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(shows), qPrintable(result.out));
    QCOMPARE(entriesOf(work.path()), QStringList());
}

QTEST_GUILESS_MAIN(TestConvertCommand)
#include "tst_convert_command.moc"
