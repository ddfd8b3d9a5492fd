// Every input that once broke a property of a fuzz target, replayed through the same
// checks as the target runs. The file name says which target: log-, settings- or export-.

#include "../fuzz/export_case.h"
#include "../fuzz/log_case.h"
#include "../fuzz/settings_case.h"

#include "test_files.h"

#include <QtTest>

#include <stdexcept>

namespace
{

struct Violation : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void throwViolation(const std::string &what)
{
    throw Violation(what);
}

} // namespace

class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void replay_data();
    void replay();
    void zeroWidthNoBreakSpaceIsNamed_data();
    void zeroWidthNoBreakSpaceIsNamed();
    void savedShiftJisThatLooksLikeUtf8ComesBack_data();
    void savedShiftJisThatLooksLikeUtf8ComesBack();
    void colonCallsignStaysInOutputFolder();

private:
    QTemporaryDir currentFolder;
};

void TestFuzzRegressions::initTestCase()
{
    // A broken property fails the row instead of aborting the whole program.
    Fuzz::violationHandler() = throwViolation;
    // A file written to the wrong place lands here, not among the build's files.
    QVERIFY(currentFolder.isValid());
    QVERIFY(QDir::setCurrent(currentFolder.path()));
}

// Each test starts with an empty current folder, so what it finds there is its own.
void TestFuzzRegressions::init()
{
    QDir current(currentFolder.path());
    QVERIFY(current.removeRecursively());
    QVERIFY(current.mkpath(QStringLiteral(".")));
    QVERIFY(QDir::setCurrent(current.path()));
}

void TestFuzzRegressions::replay_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(testDataFile("fuzz-regressions"));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestFuzzRegressions::replay()
{
    QFETCH(QString, path);
    const QByteArray input = readFile(path);
    QVERIFY(!input.isEmpty());
    const QString name = QFileInfo(path).fileName();
    try {
        if (name.startsWith(QLatin1String("log-")))
            Fuzz::runLogCase(input);
        else if (name.startsWith(QLatin1String("settings-")))
            Fuzz::runSettingsCase(input);
        else if (name.startsWith(QLatin1String("export-")))
            Fuzz::runExportCase(input);
        else
            QFAIL("the file name must start with log-, settings- or export-");
    } catch (const Violation &violation) {
        QFAIL(violation.what());
    }
}

// U+FEFF has no Shift_JIS form, yet on its own it reads as a byte-order mark; the search
// for the character to name must still find it.
void TestFuzzRegressions::zeroWidthNoBreakSpaceIsNamed_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("alone") << QString(QChar(0xFEFF));
    QTest::newRow("first") << QChar(0xFEFF) + QStringLiteral("JA1ABC");
    QTest::newRow("inside") << QStringLiteral("JA1") + QChar(0xFEFF) + QStringLiteral("ABC");
}

void TestFuzzRegressions::zeroWidthNoBreakSpaceIsNamed()
{
    QFETCH(QString, text);
    QCOMPARE(TextFile::firstUnencodable(text), std::optional<char32_t>(U'\uFEFF'));
    QCOMPARE(TextFile::encodeLines({text}), std::nullopt);
}

// The settings file is written in Shift_JIS. Some Shift_JIS texts are valid UTF-8 as well:
// half-width katakana in pairs ("ﾅｶ" is C5 B6, "Ŷ" in UTF-8), or a kanji with a trail byte
// below C0 followed by one ("羝ｸ" is E3 B6 B8, "㶸"). With only ASCII around them, the
// next start must still read back what was saved.
void TestFuzzRegressions::savedShiftJisThatLooksLikeUtf8ComesBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("two-byte form") << QStringLiteral("ﾅｶ") << QByteArray("\xC5\xB6\r\n");
    QTest::newRow("three-byte form") << QStringLiteral("羝ｸ") << QByteArray("\xE3\xB6\xB8\r\n");
}

void TestFuzzRegressions::savedShiftJisThatLooksLikeUtf8ComesBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, saved);
    StationEntries entries;
    entries.logType = QStringLiteral("zLog");
    entries.callsign = QStringLiteral("JA1ABC");
    entries.name = name;
    entries.address = QStringLiteral("Tokyo");
    entries.power = QStringLiteral("50");
    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    QCOMPARE(SaveSettings(path, entries), std::nullopt);
    QCOMPARE(readFile(path).mid(22, saved.size()), saved);

    StationEntries restored = InitialStationEntries();
    const SettingsLoad load = LoadSettings(path, restored);
    QCOMPARE(load.outcome, SettingsLoad::Outcome::Complete);
    QCOMPARE(restored.name, entries.name);
    QCOMPARE(restored, entries);
}

// Qt reads a path that starts with ':' as a resource, so joining such a file name to the
// output folder gave the name back alone, and the file went to the current folder.
void TestFuzzRegressions::colonCallsignStaysInOutputFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out")));
    ExportRequest request;
    request.entries = Fuzz::LogCase::clubEntries();
    request.entries.callsign = QStringLiteral(":JA1ABC");
    request.year = 2026;
    request.outputFolder = dir.filePath(QStringLiteral("out"));
    const ExportResult result = ExportCabrilloLog(request);

    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    if (result.written) {
        const QString inside = request.outputFolder + QStringLiteral("/:JA1ABC.txt");
        QCOMPARE(QDir::cleanPath(result.outputPath), inside);
        QVERIFY(readFile(inside).endsWith("END-OF-LOG: \r\n"));
    } else {
        QVERIFY(!result.message.isEmpty());
        QCOMPARE(QDir(request.outputFolder)
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzz_regressions.moc"
