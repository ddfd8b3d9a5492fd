#include "conversion/files.h"
#include "conversion/text_file.h"

#include "test_files.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"log.txt"_s);
        // CR LF, a lone CR, a lone LF, an empty line, a CR before CR LF, and a last line
        // without terminator.
        writeFile(path, "a\r\nb\rc\nd\r\n\r\ne\r\r\nf");
        const TextFile::ReadResult read = TextFile::readLines(path);
        QCOMPARE(read.error, QString());
        QCOMPARE(read.lines, (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, {}, u"e"_s, {}, u"f"_s}));
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text"); // on failure, the lines in front of the bad one
        QTest::addColumn<int>("badLine");
        const QByteArray bom("\xEF\xBB\xBF");
        const QByteArray utf8("\xE6\x97\xA5\xE6\x9C\xAC"); // also valid CP932, as other text
        QTest::newRow("CP932") << QByteArray("\x93\xFA\x96\x7B\xB1") << u"日本ｱ"_s << 0;
        QTest::newRow("UTF-8 with BOM") << bom + utf8 << u"日本"_s << 0;
        QTest::newRow("UTF-8 without BOM") << utf8 << u"日本"_s << 0;
        QTest::newRow("bad trail byte")
            << QByteArray("a\r\nb\r\n\x81 c\r\nd") << u"a\r\nb\r\n"_s << 3;
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb\r\n\x81 ") << u"a\nb\r\n"_s << 3;
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r\x81 ") << u"a\rb\r"_s << 3;
        QTest::newRow("double-byte cut at end")
            << QByteArray("a\r\n\x93\xFA\x93") << u"a\r\n"_s << 2;
        QTest::newRow("BOM, then bytes invalid in UTF-8") << bom + "a\r\n\xFF" << u"a\r\n"_s << 2;
    }
    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, badLine);
        const TextFile::Decoded decoded = TextFile::decode(bytes);
        QCOMPARE(decoded.badLine, badLine);
        QCOMPARE(decoded.text, text);
    }

    void encodesLines()
    {
        // The apostrophe of the contest name, the NEC and Microsoft extensions, a lone LF.
        QCOMPARE(TextFile::encodeLines({u"Ｌｅｔ’ｓ～①ｱ"_s, {}, u"a\nb"_s}).value_or("?"),
                 QByteArray("\x82\x6B\x82\x85\x82\x94\x81\x66\x82\x93\x81\x60\x87\x40\xB1\r\n"
                            "\r\na\nb\r\n"));
        QCOMPARE(TextFile::encodeLines({u"a"_s, u"日本😀x"_s}), std::nullopt);
        QCOMPARE(TextFile::firstUnencodable(u"日本😀x"_s), std::optional<char32_t>(U'😀'));
    }

    void failedWriteLeavesFileAlone()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(u"out.txt"_s);
        writeFile(out, "a much longer old content\r\n");
        QCOMPARE(Files::writeAtomically(out, "new\r\n"), std::nullopt);
        QCOMPARE(readFile(out), QByteArray("new\r\n"));

        // A small file sits in Qt's buffer until the end: a full disk must still be seen.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto fullDisk = Files::writeAtomically(out, QByteArray(1100, 'x'));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(fullDisk, u"ファイルが大きすぎます"_s);
        QCOMPARE(readFile(out), QByteArray("new\r\n"));

        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        QCOMPARE(mkfifo(qPrintable(dir.filePath(u"pipe"_s)), 0600), 0);
        for (const QString &target : {u"folder"_s, u"pipe"_s, u"missing/out.txt"_s})
            QVERIFY(
                !Files::writeAtomically(dir.filePath(target), "x").value_or(QString()).isEmpty());
        // No temporary file is left behind, and nothing is created on the way.
        QCOMPARE(entriesIn(dir.path()), (QStringList{u"folder"_s, u"out.txt"_s, u"pipe"_s}));
        QCOMPARE(entriesIn(dir.filePath(u"folder"_s)), QStringList());

        // A link to a file is written through, as editors do: the link stays.
        QVERIFY(QFile::link(out, dir.filePath(u"link.txt"_s)));
        QCOMPARE(Files::writeAtomically(dir.filePath(u"link.txt"_s), "through\r\n"), std::nullopt);
        QVERIFY(QFileInfo(dir.filePath(u"link.txt"_s)).isSymLink());
        QCOMPARE(readFile(out), QByteArray("through\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_text_file.moc"
