#include "core/text_file.h"
#include "input/log_loading.h"
#include "log_support.h"

#include "test_files.h"

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
    // Lines above the question stay as read: the header, whose column 28 is blank, and a
    // full-width blank do not ask. From the question on, every line that reaches column 28
    // gets the answer, its own multiplier or header words notwithstanding.
    void writesAnswerFromFirstLineLacking()
    {
        const QString own = withColumns(lacking, u"25"_s);
        const QString fullWidth = withColumns(lacking, u"　 "_s);
        const std::pair<QString, QString> answers[] = {
            {u"13"_s, u"13"_s}, {u"7"_s, u"7 "_s}, {u"1234"_s, u"12"_s}, {u""_s, u"  "_s}};
        for (const auto &[text, columns] : answers) {
            QCOMPARE(PatchSentMultiplier({header, withMultiplier, fullWidth, lacking, own, header,
                                          QString(), lacking.left(10), lacking.left(28)},
                                         answer(text)),
                     crlfLines({header, withMultiplier, fullWidth, withColumns(lacking, columns),
                                withColumns(own, columns), withColumns(header, columns), QString(),
                                lacking.left(10), lacking.left(27) + columns[0]}));
            QCOMPARE(prompts, QStringList{u"自分で送信したマルチが設定されていません。\r"
                                          u"送信したマルチを入力して下さい。"_s});
        }
        // "Callsign" makes no header, nor does the word in a QSO line's memo; a line of 28
        // characters reaches the column.
        for (const QString &line : {QString(header).replace(u"call"_s, u"Call"_s),
                                    lacking + u"callsign ログデータ"_s, lacking.left(28)})
            QCOMPARE(PatchSentMultiplier({line}, answer(u"13"_s)),
                     withColumns(line, u"13"_s).left(line.size()) + u"\r\n"_s);
    }

    // An editor, a mail or a file transfer may leave LF or CR alone at the line ends; the
    // log must load, and ask, as its CR LF original does.
    void loadsFileAsCrLf()
    {
        const QString patched = crlfLines({header, withMultiplier, withColumns(lacking, u"13"_s)});
        const QByteArray lf =
            (QStringList{header, withMultiplier, lacking}.join(u'\n') + u'\n').toLatin1();
        const QString full = QString(withMultiplier).replace(u"JH1QXK"_s, u"ＪＨ１ＱＸＫ"_s);
        const QString fullLacking = QString(lacking).replace(u"JE1RZP"_s, u"ＪＥ１ＲＺＰ"_s);
        const std::pair<QByteArray, QString> cases[] = {
            {lf, patched},
            {QByteArray(lf).replace('\n', '\r'), patched},
            // Full-width callsigns take two bytes a character in the file: counted in bytes,
            // the first data line would seem to lack the multiplier and the second would be
            // patched inside its callsign column. The last line has no terminator.
            {TextFile::encodeLines({header, full, fullLacking}).value().chopped(2),
             crlfLines({header, full, withColumns(fullLacking, u"13"_s)})},
            // DOS's end-of-file byte behind the last line end is no line; elsewhere it stays.
            {lf + "\x1a", patched},
            {lf + "\x1a\x1a", patched + u"\x1a\x1a\r\n"_s},
            // A decoding failure asks nothing, though the question would come first.
            {lacking.toLatin1() + "\r\n\x81 \r\n", QString()},
        };
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log.txt"_s);
        for (const auto &[bytes, text] : cases) {
            writeFile(path, bytes);
            const LoadedLog loaded = LoadLogFile(path, answer(u"13"_s));
            QCOMPARE(loaded.text, text);
            QCOMPARE(prompts.size(), text.isEmpty() ? 0 : 1);
            QCOMPARE(loaded.error.contains(u"2行目"_s), text.isEmpty());
        }
    }

    // A zLOG log's strings are Shift_JIS, even where the whole export would also read as
    // Japanese UTF-8: E3 81 82 E3 81 84 is "縺ゅ＞", not "あい".
    void readsZlogLogAsShiftJis()
    {
        QByteArray bytes = readFile(testDataFile("zlog/sample.ZLO"));
        bytes.replace(4 * 256 + 175, 7, "\x06\xE3\x81\x82\xE3\x81\x84");
        bytes.replace(6 * 256 + 175, 4, "\x03QRM"); // its only other text beyond ASCII
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log.ZLO"_s);
        writeFile(path, bytes);
        const LoadedLog loaded = LoadLogFile(path, answer(u"13"_s));
        QCOMPARE(loaded.error, QString());
        QCOMPARE(loaded.text,
                 crlfLines(TextFile::readLines(testDataFile("zlog/sample.ZLO.export.txt")).lines)
                     .replace(u"QSB"_s, u"縺ゅ＞"_s)
                     .replace(u"ＱＲＭ"_s, u"QRM"_s));
    }

    // Without a sent multiplier, the answer lands behind the report also where a callsign
    // too long for its column moved it; each line keeps its record's year.
    void readsZlogLogWithoutSentMultiplier()
    {
        QByteArray bytes = readFile(testDataFile("zlog/sample.ZLO"));
        for (qsizetype record = 256; record < bytes.size(); record += 256)
            bytes[record + 21] = 0;
        bytes.replace(2 * 256 + 8, 12, "\x0bJA1ABC/JD1P");
        // Five characters in ten bytes: the column is counted in characters.
        bytes.replace(3 * 256 + 8, 11, "\x0a\x82\x69\x82\x60\x82\x50\x82\x60\x82\x61");
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log.ZLO"_s);
        writeFile(path, bytes);
        const LoadedLog loaded = LoadLogFile(path, answer(u"13"_s));
        QCOMPARE(loaded.error, QString());
        const QStringList lines = loaded.text.split(u"\r\n"_s);
        QCOMPARE(lines.value(1).mid(13, 20), u"JH1QXK     59913    "_s);
        QCOMPARE(lines.value(2).mid(13, 20), u"JA1ABC/JD1P 59913   "_s);
        QCOMPARE(lines.value(3).mid(13, 14), u"ＪＡ１ＡＢ 59913   "_s);
        QList<int> years(lines.size() - 1, 2024);
        years[0] = 0; // zLOG's header line
        QCOMPARE(loaded.years, years);
        QCOMPARE(loaded.firstYear, 2024);
    }

    // The Japanese input method left on types full-width digits and blanks.
    void foldsSentMultiplierAnswer_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer"); // "-" for none
        QTest::newRow("as typed") << u"13"_s << u"13"_s;
        QTest::newRow("full-width") << u"　１ａ "_s << u"1a"_s;
        QTest::newRow("empty") << u""_s << u""_s;
        QTest::newRow("three characters") << u"123"_s << u"-"_s;
        QTest::newRow("blank inside") << u"1 2"_s << u"-"_s;
        QTest::newRow("kana") << u"ア"_s << u"-"_s;
    }
    void foldsSentMultiplierAnswer()
    {
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QCOMPARE(SentMultiplierAnswer(typed).value_or(u"-"_s), answer);
    }
};

QTEST_GUILESS_MAIN(TestLogLoading)
#include "tst_log_loading.moc"
