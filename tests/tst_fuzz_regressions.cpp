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
    QVERIFY(QDir::setCurrent(QDir::tempPath())); // Windows removes no current folder
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

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzz_regressions.moc"
