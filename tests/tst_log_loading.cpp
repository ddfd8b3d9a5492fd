#include "input/log_loading.h"

#include "test_files.h"
#include <QStringDecoder>
#include <QStringEncoder>

#include <QtTest>

namespace
{

const QString header =
    QStringLiteral("mon day time  callsign      sent         rcvd      multi   MHz mode pts memo");
// Sent multiplier "10" in columns 28 and 29.
const QString withMultiplier =
    QStringLiteral(" 11  23 0902 JH1QXK     59910        59913            13     7  CW  1   ");
// Columns 28 and 29 blank: the log lacks the sent multiplier.
const QString lacking =
    QStringLiteral(" 11  23 0925 JE1RZP     599          59913                   7  CW  1   ");

const QString prompt = QStringLiteral("自分で送信したマルチが設定されていません。") +
                       QLatin1Char('\r') + QStringLiteral("送信したマルチを入力して下さい。");

// Answers every question with the given text and records the prompts it was shown.
struct Asker {
    QString answer;
    QStringList prompts;
    MultiplierQuestion question()
    {
        return [this](const QString &text) {
            prompts.append(text);
            return answer;
        };
    }
};

QString withColumns(const QString &line, const QString &columns)
{
    return line.left(27) + columns + line.mid(29);
}

QByteArray cp932(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

} // namespace

class TestLogLoading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesAnswerFromFirstLineLacking_data();
    void writesAnswerFromFirstLineLacking();
    void asksOnlyForBlankColumn28_data();
    void asksOnlyForBlankColumn28();
    void countsCharactersNotBytes();
    void loadsEveryLine_data();
    void loadsEveryLine();
    void asksAfreshEachLoad();
    void failsWithoutAsking_data();
    void failsWithoutAsking();
};

void TestLogLoading::writesAnswerFromFirstLineLacking_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("columns");
    QTest::newRow("13") << QStringLiteral("13") << QStringLiteral("13");
    QTest::newRow("7") << QStringLiteral("7") << QStringLiteral("7 ");
    QTest::newRow("1234") << QStringLiteral("1234") << QStringLiteral("12");
    QTest::newRow("empty") << QString() << QStringLiteral("  ");
    QTest::newRow("full-width") << QStringLiteral("１３") << QStringLiteral("１３");
}

void TestLogLoading::writesAnswerFromFirstLineLacking()
{
    QFETCH(QString, answer);
    QFETCH(QString, columns);
    const QString ownMultiplier = withColumns(lacking, QStringLiteral("25"));
    const QStringList lines{header, withMultiplier, lacking,          ownMultiplier,
                            header, QString(),      lacking.left(10), lacking.left(28)};
    Asker asker{answer, {}};
    bool asked = false;
    const QString text = PatchSentMultiplier(lines, asker.question(), &asked);

    QCOMPARE(asker.prompts, QStringList{prompt});
    QVERIFY(asked);
    // Lines above the question stay as read; from it on every line that reaches column 28
    // gets the answer, its own multiplier or header words notwithstanding.
    QCOMPARE(text, crlfLines({header, withMultiplier, withColumns(lacking, columns),
                              withColumns(ownMultiplier, columns), withColumns(header, columns),
                              QString(), lacking.left(10), lacking.left(27) + columns.left(1)}));
}

void TestLogLoading::asksOnlyForBlankColumn28_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("asks");
    QTest::newRow("header") << header << false;
    QTest::newRow("callsign in a memo") << lacking + QStringLiteral("callsign") << false;
    QTest::newRow("Callsign, capital C")
        << QString(header).replace(QStringLiteral("callsign"), QStringLiteral("Callsign")) << true;
    QTest::newRow("blank") << lacking << true;
    QTest::newRow("multiplier") << withMultiplier << false;
    QTest::newRow("full-width blank") << withColumns(lacking, QStringLiteral("　 ")) << false;
    QTest::newRow("tab") << withColumns(lacking, QStringLiteral("\t ")) << false;
    QTest::newRow("27 characters") << lacking.left(27) << false;
    QTest::newRow("28 characters") << lacking.left(28) << true;
    QTest::newRow("empty") << QString() << false;
}

void TestLogLoading::asksOnlyForBlankColumn28()
{
    QFETCH(QString, line);
    QFETCH(bool, asks);
    Asker asker{QStringLiteral("13"), {}};
    const QString text = PatchSentMultiplier({line, lacking}, asker.question());
    QCOMPARE(asker.prompts.size(), 1);
    const QString expectedFirst =
        asks ? withColumns(line, QStringLiteral("13")).left(line.size()) : line;
    QCOMPARE(text.left(expectedFirst.size() + 2), expectedFirst + QStringLiteral("\r\n"));
}

void TestLogLoading::countsCharactersNotBytes()
{
    // Full-width callsigns take two bytes a character in the file: counted in bytes, the
    // first data line would seem to lack the multiplier and the second would be patched
    // inside its callsign column.
    const QString full =
        QString(withMultiplier).replace(QStringLiteral("JH1QXK"), QStringLiteral("ＪＨ１ＱＸＫ"));
    const QString fullLacking =
        QString(lacking).replace(QStringLiteral("JE1RZP"), QStringLiteral("ＪＥ１ＲＺＰ"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    writeFile(path, cp932(crlfLines({header, full, fullLacking})));

    Asker asker{QStringLiteral("13"), {}};
    const LoadedLog loaded = LoadLogFile(path, asker.question());
    QCOMPARE(loaded.error, QString());
    QCOMPARE(asker.prompts.size(), 1);
    QCOMPARE(loaded.text,
             crlfLines({header, full, withColumns(fullLacking, QStringLiteral("13"))}));
}

void TestLogLoading::loadsEveryLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("last line without terminator")
        << QByteArray("a\r\nb") << QStringLiteral("a\r\nb\r\n");

    QFile club(testDataFile("club.zlog.txt"));
    QVERIFY(club.open(QIODevice::ReadOnly));
    const QByteArray bytes = club.readAll();
    QStringDecoder decoder("windows-31j");
    QTest::newRow("every line has its multiplier") << bytes << QString(decoder.decode(bytes));
}

void TestLogLoading::loadsEveryLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    writeFile(path, bytes);
    Asker asker{QStringLiteral("13"), {}};
    const LoadedLog loaded = LoadLogFile(path, asker.question());
    QCOMPARE(loaded.error, QString());
    QCOMPARE(loaded.text, text);
    QCOMPARE(asker.prompts, QStringList());
    QVERIFY(!loaded.asked);
}

void TestLogLoading::asksAfreshEachLoad()
{
    const QString path = testDataFile("lets.zlog.txt");
    Asker asker{QStringLiteral("13"), {}};
    const LoadedLog first = LoadLogFile(path, asker.question());
    asker.answer = QStringLiteral("7");
    const LoadedLog second = LoadLogFile(path, asker.question());

    QCOMPARE(asker.prompts, (QStringList{prompt, prompt}));
    QVERIFY(first.asked && second.asked);
    const QString lastFirst = first.text.split(QStringLiteral("\r\n")).at(12);
    const QString lastSecond = second.text.split(QStringLiteral("\r\n")).at(12);
    QCOMPARE(lastFirst.mid(27, 2), QStringLiteral("13"));
    QCOMPARE(lastSecond.mid(27, 2), QStringLiteral("7 "));
}

void TestLogLoading::failsWithoutAsking_data()
{
    QTest::addColumn<QString>("name"); // in the scratch folder; empty for an empty path
    QTest::newRow("missing file") << QStringLiteral("missing.txt");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("empty path") << QString();
    QTest::newRow("bytes invalid in CP932") << QStringLiteral("bad.txt");
}

void TestLogLoading::failsWithoutAsking()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    // The question would come on the first line, before the bad bytes are reached.
    writeFile(dir.filePath(QStringLiteral("bad.txt")), cp932(lacking) + "\r\n\x81 \r\n");

    Asker asker{QStringLiteral("13"), {}};
    const LoadedLog loaded =
        LoadLogFile(name.isEmpty() ? QString() : dir.filePath(name), asker.question());
    QVERIFY(!loaded.error.isEmpty());
    QCOMPARE(loaded.text, QString());
    QCOMPARE(asker.prompts, QStringList());
}

QTEST_GUILESS_MAIN(TestLogLoading)
#include "tst_log_loading.moc"
