#include "core/files.h"
#include "core/shift_jis.h"
#include "core/text_file.h"
#include "log_support.h"

#include "test_files.h"

#include <QtTest>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

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

    // Bytes are fed 256 KiB at a time, as a file is read: what falls on the cut must come
    // out whole. A bad byte stops the reading behind the lines in front of its own.
    void decodesLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("badLine");
        constexpr qsizetype read = 256 * 1024;
        const QByteArray before(read - 1, 'a');
        const QString a = QString::fromLatin1(before);
        QTest::newRow("CR LF cut in two") << before + "\r\nb" << QStringList{a, u"b"_s} << 0;
        QTest::newRow("kanji cut in two") << before + "\x93\xFA" << QStringList{a + u"日"_s} << 0;
        const QByteArray bom("\xEF\xBB\xBF");
        const QByteArray utf8("\xE6\x97\xA5\xE6\x9C\xAC"); // also valid CP932, as other text
        // The encoding is known only at the end: UTF-8 then wins, past many reads of ASCII.
        const qsizetype asciiLines = read / 7 + 1;
        QTest::newRow("UTF-8 after a read of ASCII")
            << QByteArray("ASCII\r\n").repeated(asciiLines) + utf8
            << QStringList(asciiLines, u"ASCII"_s) + QStringList{u"日本"_s} << 0;
        QTest::newRow("CP932") << QByteArray("\x93\xFA\x96\x7B\xB1") << QStringList{u"日本ｱ"_s}
                               << 0;
        QTest::newRow("UTF-8 with BOM") << bom + utf8 << QStringList{u"日本"_s} << 0;
        QTest::newRow("UTF-8 without BOM") << utf8 << QStringList{u"日本"_s} << 0;
        const QStringList ab{u"a"_s, u"b"_s};
        QTest::newRow("bad trail byte") << QByteArray("a\r\nb\r\n\x81 c\r\nd") << ab << 3;
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb\r\n\x81 ") << ab << 3;
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r\x81 ") << ab << 3;
        QTest::newRow("double-byte cut at end")
            << QByteArray("a\r\n\x93\xFA\x93") << QStringList{u"a"_s} << 2;
        QTest::newRow("BOM, then bytes invalid in UTF-8")
            << bom + "a\r\n\xFF" << QStringList{u"a"_s} << 2;
        // Windows' table, where ICU swapped three control codes and glibc lacks 0x80.
        QTest::newRow("ASCII and 0x80 as Windows reads them")
            << QByteArray("\x1A\x1C\x7F\x80") << QStringList{u"\u001A\u001C\u007F\u0080"_s} << 0;
        // A large text is decoded in chunks inside its own memory.
        QTest::newRow("bad byte far into a large file")
            << QByteArray("\xB1\r\n").repeated(100000) + "\x81 " << QStringList(100000, u"ｱ"_s)
            << 100001;
        QTest::newRow("Japanese run longer than a chunk")
            << QByteArray("\x93\xFA").repeated(100000) + "\r\nx"
            << QStringList{QString(100000, u'日'), u"x"_s} << 0;
    }
    void decodesLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(int, badLine);
        QStringList read;
        const TextFile::LinesRead result = ForEachLine(bytes, [&read](QStringView line) {
            read.append(line.toString());
            return true;
        });
        QCOMPARE(result.badLine, badLine);
        QCOMPARE(result.nulLine, 0);
        QCOMPARE(read, lines);
    }

    void encodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // empty: refused
        QTest::addColumn<uint>("culprit");     // the character a refusal names
        // The apostrophe of the contest name, the NEC and Microsoft extensions, a lone LF.
        QTest::newRow("contest name, extensions")
            << u"Ｌｅｔ’ｓ～①ｱ\na"_s
            << QByteArray("\x82\x6B\x82\x85\x82\x94\x81\x66\x82\x93\x81\x60\x87\x40\xB1\na") << 0u;
        // Input methods type these in their JIS form, Windows knows them by others.
        QTest::newRow("JIS forms") << u"〜‖−¢£¬—"_s
                                   << QByteArray("\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92"
                                                 "\x81\xCA\x81\x5C")
                                   << 0u;
        QTest::newRow("yen sign is no backslash") << u"a¥"_s << QByteArray() << 0xA5u;
        QTest::newRow("overline is no tilde") << u"‾"_s << QByteArray() << 0x203Eu;
        // Windows' table where glibc's or ICU's differ: control codes as they are, 0x80, the
        // IBM codes of the NEC-selected extensions, no fallback for a private character.
        QTest::newRow("ASCII and U+0080")
            << u"\u001A\u001C\u007F\u0080"_s << QByteArray("\x1A\x1C\x7F\x80") << 0u;
        QTest::newRow("IBM extension") << u"髙"_s << QByteArray("\xFB\xFC") << 0u;
        QTest::newRow("private character without fallback")
            << u"\uF86F"_s << QByteArray() << 0xF86Fu;
        // Windows writes A0 for it, but refuses to read A0 back.
        QTest::newRow("private character Windows cannot read back")
            << u"\uF8F0"_s << QByteArray() << 0xF8F0u;
        QTest::newRow("emoji") << u"日本😀x"_s << QByteArray() << 0x1F600u;
    }
    void encodes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(uint, culprit);
        QCOMPARE(TextFile::encodeLines({text}).value_or(QByteArray()),
                 bytes.isEmpty() ? QByteArray() : bytes + "\r\n");
        QCOMPARE(TextFile::firstUnencodable(text).value_or(0), culprit);
    }

    // Runs of ASCII pass the system's converter by: on every one- and two-byte input and every
    // character of the BMP, alone and between others, the result must be the converter's.
    void asciiShortcutAgreesWithConverter()
    {
        using Decode = ShiftJis::Decoded (*)(QByteArrayView, char16_t *);
        const auto decoded = [](Decode decode, QByteArrayView bytes) {
            QString text(bytes.size(), Qt::Uninitialized);
            const auto result = decode(bytes, reinterpret_cast<char16_t *>(text.data()));
            return std::pair(text.first(result.units), result.badByte);
        };
        for (int n = 0; n < 256 + 65536; ++n) {
            const QByteArray bytes =
                n < 256 ? QByteArray(1, char(n)) : QByteArray{char((n - 256) >> 8), char(n - 256)};
            // A byte from 0x40 on may end a double-byte character, one below may not.
            for (const QByteArray &input :
                 {bytes, "a" + bytes + "b\r\n", "\x93\xFA" + bytes + "1"}) {
                if (decoded(ShiftJis::decode, input) != decoded(ShiftJis::systemDecode, input))
                    QFAIL(qPrintable(u"decoding "_s + QString::fromLatin1(input.toHex(' '))));
            }
        }
        const auto encoded = [](auto encode, QStringView text) {
            QByteArray bytes;
            const qsizetype failed = encode(text, bytes);
            return std::pair(bytes, failed);
        };
        for (char32_t c = 0; c <= 0xFFFF; ++c) {
            const QString character{QChar(char16_t(c))};
            for (const QString &text :
                 {character, u"a"_s + character + u"日b"_s, u"日"_s + character + u"😀"_s}) {
                if (encoded(ShiftJis::encode, text) != encoded(ShiftJis::systemEncode, text))
                    QFAIL(qPrintable(u"encoding U+"_s + QString::number(c, 16)));
            }
        }
    }

    void failedWriteLeavesFileAlone()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(u"out.txt"_s);
        writeFile(out, "a much longer old content\r\n");
        QCOMPARE(Files::writeAtomically(out, "new\r\n"), std::nullopt);
        QCOMPARE(readFile(out), QByteArray("new\r\n"));
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        for (const QString &target : {u"folder"_s, u"missing/out.txt"_s})
            QVERIFY(
                !Files::writeAtomically(dir.filePath(target), "x").value_or(QString()).isEmpty());
#if defined(Q_OS_WIN)
        // Held open without sharing, as Excel holds a workbook: neither read nor replaced,
        // and the reason says what to close.
        const HANDLE held = CreateFileW(QDir::toNativeSeparators(out).toStdWString().c_str(),
                                        GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(held != INVALID_HANDLE_VALUE);
        const QString inUse =
            u"他のプログラムが使用中です。そのプログラムを閉じてからやり直して下さい"_s;
        const auto written = Files::writeAtomically(out, "x");
        Files::Reader reader(out);
        const QString read = reader.open();
        CloseHandle(held);
        QCOMPARE(written, inUse);
        QVERIFY2(read.endsWith(u"（"_s + inUse + u"）"_s), qPrintable(read));
        QCOMPARE(readFile(out), QByteArray("new\r\n"));
#endif
        // No temporary file is left behind, and nothing is created on the way.
        QCOMPARE(entriesIn(dir.path()), (QStringList{u"folder"_s, u"out.txt"_s}));
        QCOMPARE(entriesIn(dir.filePath(u"folder"_s)), QStringList());
    }

    // The reason is the one of the call that failed, in our users' words.
    void systemReasons_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("inProgramFolder"); // the file beside the program
        QTest::addColumn<QString>("reason");
        const QString denied = u"アクセスが許可されていません"_s;
#if defined(Q_OS_WIN)
        const QString inUse =
            u"他のプログラムが使用中です。そのプログラムを閉じてからやり直して下さい"_s;
        QTest::newRow("not found")
            << int(ERROR_PATH_NOT_FOUND) << false << u"ファイルまたはフォルダーが見つかりません"_s;
        QTest::newRow("access denied") << int(ERROR_ACCESS_DENIED) << false << denied;
        QTest::newRow("access denied beside the program")
            << int(ERROR_ACCESS_DENIED) << true
            << denied +
                   u"。このプログラムのフォルダーには書き込めません。プログラムをドキュメントなど"
                   u"自分のフォルダーに展開し直して、そこから起動して下さい"_s;
        QTest::newRow("sharing violation") << int(ERROR_SHARING_VIOLATION) << false << inUse;
        QTest::newRow("lock violation") << int(ERROR_LOCK_VIOLATION) << true << inUse;
        QTest::newRow("disk full")
            << int(ERROR_HANDLE_DISK_FULL) << false << u"ディスクに空きがありません"_s;
#else
        QTest::newRow("not found")
            << ENOTDIR << false << u"ファイルまたはフォルダーが見つかりません"_s;
        // Only the zip is unpacked by its user, wherever the user likes.
        QTest::newRow("access denied beside the program") << EACCES << true << denied;
        QTest::newRow("disk quota") << EDQUOT << false << u"ディスクに空きがありません"_s;
#endif
    }

    void systemReasons()
    {
        QFETCH(int, code);
        QFETCH(bool, inProgramFolder);
        QFETCH(QString, reason);
        const QString folder =
            inProgramFolder ? QCoreApplication::applicationDirPath() : QDir::tempPath();
        QCOMPARE(Files::reasonFor(code, folder + u"/JA1ABC.txt"_s), reason);
    }

    // A full disk, pipes and links, as Unix systems have them.
    void fullDiskPipesAndLinks()
    {
#if defined(Q_OS_UNIX)
        QTemporaryDir dir;
        const QString out = dir.filePath(u"out.txt"_s);
        writeFile(out, "old\r\n");
        {
            // A small file sits in Qt's buffer until the end: a full disk must still be seen.
            const FileSizeLimit fullDisk(1024);
            QCOMPARE(Files::writeAtomically(out, QByteArray(1100, 'x')),
                     u"ファイルが大きすぎます"_s);
        }
        QCOMPARE(readFile(out), QByteArray("old\r\n"));
        QVERIFY(makePipe(dir.filePath(u"pipe"_s)));
        QCOMPARE(Files::writeAtomically(dir.filePath(u"pipe"_s), "x"),
                 u"通常のファイルではありません"_s);
        // A link to a file is written through, as editors do: the link stays.
        QVERIFY(QFile::link(out, dir.filePath(u"link.txt"_s)));
        QCOMPARE(Files::writeAtomically(dir.filePath(u"link.txt"_s), "new\r\n"), std::nullopt);
        QVERIFY(QFileInfo(dir.filePath(u"link.txt"_s)).isSymLink());
        QCOMPARE(readFile(out), QByteArray("new\r\n"));
        QCOMPARE(entriesIn(dir.path()), (QStringList{u"link.txt"_s, u"out.txt"_s, u"pipe"_s}));
        QVERIFY(Files::sameFile(dir.filePath(u"link.txt"_s), out));
        QVERIFY(!Files::sameFile(out, dir.filePath(u"pipe"_s)));
        // A Shift_JIS name from a Windows archive reaches Qt, as an argument, without its bytes.
        const QByteArray name = QFile::encodeName(dir.path()) + "/\x83\x8D\x83\x4F";
        std::fclose(std::fopen(name.constData(), "w"));
        const QString lost = QFile::decodeName(name);
        QVERIFY2(Files::Reader(lost).open().startsWith(u"ファイル名「"_s), qPrintable(lost));
#else
        QSKIP("Windows has neither pipes in its file system nor a file-size limit");
#endif
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_text_file.moc"
