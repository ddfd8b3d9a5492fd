#include "input/log_loading.h"

#include "test_files.h"
#include <QStringEncoder>

#include <QtTest>

namespace
{

const QString header =
    u"mon day time  callsign      sent         rcvd      multi   MHz mode pts memo"_s;
// Sent multiplier "10" in columns 28 and 29.
const QString withMultiplier =
    u" 11  23 0902 JH1QXK     59910        59913            13     7  CW  1   "_s;
// Columns 28 and 29 blank: the log lacks the sent multiplier.
const QString lacking =
    u" 11  23 0925 JE1RZP     599          59913                   7  CW  1   "_s;

QString withColumns(const QString &line, const QString &columns)
{
    return line.left(27) + columns + line.mid(29);
}

} // namespace

class TestLogLoading : public QObject
{
    Q_OBJECT

    QStringList prompts;
    MultiplierQuestion answer(const QString &text)
    {
        prompts.clear();
        return [this, text](const QString &prompt) {
            prompts.append(prompt);
            return text;
        };
    }

private Q_SLOTS:
    void writesAnswerFromFirstLineLacking_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("columns");
        QTest::newRow("13") << u"13"_s << u"13"_s;
        QTest::newRow("7") << u"7"_s << u"7 "_s;
        QTest::newRow("1234") << u"1234"_s << u"12"_s;
        QTest::newRow("empty") << QString() << u"  "_s;
    }
    void writesAnswerFromFirstLineLacking()
    {
        QFETCH(QString, answer);
        QFETCH(QString, columns);
        const QString own = withColumns(lacking, u"25"_s);
        bool asked = false;
        const QString text = PatchSentMultiplier({header, withMultiplier, lacking, own, header,
                                                  QString(), lacking.left(10), lacking.left(28)},
                                                 this->answer(answer), &asked);
        QCOMPARE(prompts, QStringList{u"自分で送信したマルチが設定されていません。\r"
                                      u"送信したマルチを入力して下さい。"_s});
        QVERIFY(asked);
        // Lines above the question stay as read; from it on every line that reaches column 28
        // gets the answer, its own multiplier or header words notwithstanding.
        QCOMPARE(text, crlfLines({header, withMultiplier, withColumns(lacking, columns),
                                  withColumns(own, columns), withColumns(header, columns),
                                  QString(), lacking.left(10), lacking.left(27) + columns[0]}));
    }

    void asksOnlyForBlankColumn28_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("asks");
        QTest::newRow("header") << header << false;
        QTest::newRow("Callsign") << QString(header).replace(u"call"_s, u"Call"_s) << true;
        QTest::newRow("blank") << lacking << true;
        QTest::newRow("multiplier") << withMultiplier << false;
        QTest::newRow("full-width blank") << withColumns(lacking, u"　 "_s) << false;
        QTest::newRow("27 characters") << lacking.left(27) << false;
        QTest::newRow("28 characters") << lacking.left(28) << true;
    }
    void asksOnlyForBlankColumn28()
    {
        QFETCH(QString, line);
        QFETCH(bool, asks);
        const QString text = PatchSentMultiplier({line, lacking}, answer(u"13"_s));
        QCOMPARE(prompts.size(), 1);
        const QString first = asks ? withColumns(line, u"13"_s).left(line.size()) : line;
        QCOMPARE(text.left(first.size() + 2), first + u"\r\n"_s);
    }

    void countsCharactersNotBytes()
    {
        // Full-width callsigns take two bytes a character in the file: counted in bytes, the
        // first data line would seem to lack the multiplier and the second would be patched
        // inside its callsign column. The last line has no terminator.
        const QString full = QString(withMultiplier).replace(u"JH1QXK"_s, u"ＪＨ１ＱＸＫ"_s);
        const QString fullLacking = QString(lacking).replace(u"JE1RZP"_s, u"ＪＥ１ＲＺＰ"_s);
        QTemporaryDir dir;
        QStringEncoder cp932("windows-31j");
        writeFile(dir.filePath(u"log.txt"_s),
                  cp932.encode(crlfLines({header, full}) + fullLacking));

        const LoadedLog loaded = LoadLogFile(dir.filePath(u"log.txt"_s), answer(u"13"_s));
        QCOMPARE(loaded.error, QString());
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(loaded.text, crlfLines({header, full, withColumns(fullLacking, u"13"_s)}));
    }

    void failsWithoutAsking()
    {
        // The question would come on the first line, before the bad bytes are reached.
        QTemporaryDir dir;
        writeFile(dir.filePath(u"bad.txt"_s), lacking.toLatin1() + "\r\n\x81 \r\n");
        const LoadedLog loaded = LoadLogFile(dir.filePath(u"bad.txt"_s), answer(u"13"_s));
        QVERIFY(loaded.error.contains(u"2行目"_s));
        QCOMPARE(loaded.text, QString());
        QCOMPARE(prompts, QStringList());
    }

    // An editor, a mail or a file transfer may leave LF or CR alone at the line ends; the
    // log must load, and ask, as its CR LF original does.
    void anyLineEndLoadsAsCrLf_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
    }
    void anyLineEndLoadsAsCrLf()
    {
        QFETCH(QByteArray, lineEnd);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log.txt"_s);
        writeFile(path, (header + u"\n"_s + withMultiplier + u"\n"_s + lacking + u"\n"_s)
                            .toLatin1()
                            .replace("\n", lineEnd));
        const LoadedLog loaded = LoadLogFile(path, answer(u"13"_s));
        QCOMPARE(loaded.error, QString());
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(loaded.text, crlfLines({header, withMultiplier, withColumns(lacking, u"13"_s)}));
    }
};

QTEST_GUILESS_MAIN(TestLogLoading)
#include "tst_log_loading.moc"
