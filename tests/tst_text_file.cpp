#include "conversion/text_file.h"

#include "test_files.h"

#include <QtTest>

namespace
{

const QByteArray bom("\xEF\xBB\xBF");
const QByteArray nihonUtf8("\xE6\x97\xA5\xE6\x9C\xAC"); // also valid CP932, as other text

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLines_data();
    void readsLines();
    void decodes_data();
    void decodes();
    void encodesLines_data();
    void encodesLines();
    void refusesUnencodableText();
    void replacesFileWhole();
    void failedWriteLeavesFileAlone_data();
    void failedWriteLeavesFileAlone();
};

void TestTextFile::readsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    const QString lf = QStringLiteral("a\nb");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n")
                           << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("lone CR") << QByteArray("a\rb\r")
                             << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("lone LF stays in line")
        << QByteArray("a\nb\r\nc") << QStringList{lf, QStringLiteral("c")};
    QTest::newRow("last line without terminator")
        << QByteArray("a\r\nb") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty lines kept")
        << QByteArray("\r\n\r\r\n") << QStringList{QString(), QString(), QString()};
    QTest::newRow("CR before CR LF")
        << QByteArray("a\r\r\nb")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("only LF") << QByteArray("\n") << QStringList{QStringLiteral("\n")};
    QTest::newRow("empty file") << QByteArray() << QStringList();
}

void TestTextFile::readsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    writeFile(path, bytes);
    const TextFile::ReadResult read = TextFile::readLines(path);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.lines, lines);
}

void TestTextFile::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // on failure, the lines in front of the bad one
    QTest::addColumn<int>("badLine");

    const QString nihon = QStringLiteral("日本");
    QTest::newRow("CP932") << QByteArray("\x93\xFA\x96\x7B") << nihon << 0;
    QTest::newRow("CP932 half-width kana")
        << QByteArray("\xB1\r\n") << QStringLiteral("ｱ\r\n") << 0;
    QTest::newRow("ASCII") << QByteArray("abc\r\n") << QStringLiteral("abc\r\n") << 0;
    QTest::newRow("UTF-8 with BOM") << bom + nihonUtf8 << nihon << 0;
    QTest::newRow("BOM dropped from ASCII") << bom + "ab" << QStringLiteral("ab") << 0;
    QTest::newRow("UTF-8 without BOM") << nihonUtf8 << nihon << 0;
    QTest::newRow("bad trail byte")
        << QByteArray("a\r\nb\r\n\x81 c\r\nd") << QStringLiteral("a\r\nb\r\n") << 3;
    QTest::newRow("lone LF ends no line")
        << QByteArray("a\nb\r\n\x81 ") << QStringLiteral("a\nb\r\n") << 2;
    QTest::newRow("lone CR ends a line")
        << QByteArray("a\rb\r\x81 ") << QStringLiteral("a\rb\r") << 3;
    QTest::newRow("bad first line") << QByteArray("\x81 \r\nb") << QString() << 1;
    QTest::newRow("double-byte cut at end") << QByteArray("ab\x93") << QString() << 1;
    QTest::newRow("double-byte cut after a line")
        << QByteArray("a\r\n\x93\xFA\x93") << QStringLiteral("a\r\n") << 2;
    QTest::newRow("BOM, then bytes invalid in UTF-8")
        << bom + "a\r\n\xFF" << QStringLiteral("a\r\n") << 2;
}

void TestTextFile::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, badLine);
    const TextFile::Decoded decoded = TextFile::decode(bytes);
    QCOMPARE(decoded.badLine, badLine);
    QCOMPARE(decoded.text, text);
    QVERIFY(!decoded.text.contains(QChar::ReplacementCharacter));
}

void TestTextFile::encodesLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("no lines") << QStringList() << QByteArray();
    QTest::newRow("empty lines") << QStringList{QString(), QString()} << QByteArray("\r\n\r\n");
    QTest::newRow("CP932") << QStringList{QStringLiteral("日本"), QStringLiteral("a")}
                           << QByteArray("\x93\xFA\x96\x7B\r\na\r\n");
    // The apostrophe of the contest name and the NEC and Microsoft extensions.
    QTest::newRow("code page 932 extras")
        << QStringList{QStringLiteral("Ｌｅｔ’ｓ～①ｱ")}
        << QByteArray("\x82\x6B\x82\x85\x82\x94\x81\x66\x82\x93\x81\x60\x87\x40\xB1\r\n");
    QTest::newRow("lone LF written as it is")
        << QStringList{QStringLiteral("a\nb")} << QByteArray("a\nb\r\n");
}

void TestTextFile::encodesLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> encoded = TextFile::encodeLines(lines);
    QVERIFY(encoded);
    QCOMPARE(*encoded, bytes);
    QCOMPARE(TextFile::firstUnencodable(lines.join(QString())), std::nullopt);
}

void TestTextFile::refusesUnencodableText()
{
    const QString emoji = QStringLiteral("日本😀x");
    QCOMPARE(TextFile::encodeLines({QStringLiteral("a"), emoji}), std::nullopt);
    QCOMPARE(TextFile::firstUnencodable(emoji), std::optional<char32_t>(U'😀'));
    QCOMPARE(TextFile::firstUnencodable(QStringLiteral("é")), std::optional<char32_t>(U'é'));
}

void TestTextFile::replacesFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    writeFile(path, "a much longer old content\r\n");
    QCOMPARE(TextFile::writeAtomically(path, "new\r\n"), std::nullopt);
    QCOMPARE(readFile(path), QByteArray("new\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("out.txt")});
}

void TestTextFile::failedWriteLeavesFileAlone_data()
{
    QTest::addColumn<QString>("target"); // relative to the scratch folder
    QTest::newRow("target is a folder") << QStringLiteral("folder");
    QTest::newRow("folder missing") << QStringLiteral("missing/out.txt");
    QTest::newRow("folder read-only") << QStringLiteral("readonly/out.txt");
}

void TestTextFile::failedWriteLeavesFileAlone()
{
    QFETCH(QString, target);
    QTemporaryDir dir;
    QDir root(dir.path());
    const QByteArray old("old\r\n");
    QVERIFY(root.mkdir(QStringLiteral("folder")));
    writeFile(root.filePath(QStringLiteral("folder/old.txt")), old);
    QVERIFY(root.mkdir(QStringLiteral("readonly")));
    const QString readOnlyFile = root.filePath(QStringLiteral("readonly/out.txt"));
    writeFile(readOnlyFile, old);
    const QString readOnlyFolder = root.filePath(QStringLiteral("readonly"));
    QVERIFY(QFile::setPermissions(readOnlyFolder, QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(readOnlyFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (target.startsWith(QLatin1String("readonly"))) {
        QFile probe(readOnlyFolder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly))
            QSKIP("this user may write into read-only folders");
    }

    const std::optional<QString> reason = TextFile::writeAtomically(root.filePath(target), "new");
    QVERIFY(reason);
    QVERIFY(!reason->isEmpty());
    QCOMPARE(readFile(root.filePath(QStringLiteral("folder/old.txt"))), old);
    QCOMPARE(readFile(readOnlyFile), old);
    QVERIFY(!root.exists(QStringLiteral("missing")));
    // No temporary file is left behind next to the target.
    QCOMPARE(root.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("folder"), QStringLiteral("readonly")}));
    QCOMPARE(QDir(root.filePath(QStringLiteral("folder"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("old.txt")});
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_text_file.moc"
