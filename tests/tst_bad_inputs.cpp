// What the window does with broken files: a message, and nothing lost or half-written.
#include "fake_dialogs.h"
#include "test_files.h"
#include "ui/form1.h"

#include <QPlainTextEdit>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace
{

const QByteArray zlogHeader =
    "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo\r\n";
const QByteArray qso =
    " 11  23 0902 JH1QXK     59910        59913            13     7  CW  1   \r\n";

} // namespace

class TestBadInputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void refusedLogLeavesTextAlone_data();
    void refusedLogLeavesTextAlone();
    void emptyLogsExportOnlyTheFrame_data();
    void emptyLogsExportOnlyTheFrame();
    void runawayLineIsRefusedReadably();
    void damagedSettingsStartQuietly_data();
    void damagedSettingsStartQuietly();
    void writeFailingHalfwayKeepsTheOldFile();

private:
    void start();
    QPlainTextEdit *text2() const
    {
        return form->findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Form1> form;
    FakeDialogs *fake = nullptr;
};

void TestBadInputs::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestBadInputs::cleanup()
{
    form.reset();
    QDir::setCurrent(QDir::tempPath());
}

void TestBadInputs::start()
{
    auto dialogs = std::make_unique<FakeDialogs>();
    fake = dialogs.get();
    form = std::make_unique<Form1>(std::move(dialogs));
    form->Form_Load();
}

void TestBadInputs::refusedLogLeavesTextAlone_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QByteArray() << QStringLiteral("を開けません");
    QTest::newRow("NUL bytes") << zlogHeader + QByteArray(" 11\0 23", 7) + "\r\n"
                               << QStringLiteral("の2行目にNUL文字があります");
    QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                 << QStringLiteral("の2行目にNUL文字があります");
    QTest::newRow("bytes invalid in CP932") << zlogHeader + qso + "JA1\xFF\xFE\r\n"
                                            << QStringLiteral("の3行目に文字として読めないバイト");
    QTest::newRow("double-byte character cut at the end")
        << zlogHeader + qso.chopped(2) + "\x82"
        << QStringLiteral("の2行目に文字として読めないバイト");
}

void TestBadInputs::refusedLogLeavesTextAlone()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    start();
    const QString path = dir->filePath(QStringLiteral("log.txt"));
    if (!bytes.isEmpty())
        writeFile(path, bytes);
    text2()->setPlainText(QStringLiteral("earlier log"));

    form->List1_OLEDragDrop({path});
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY2(fake->messages.first().contains(message), qPrintable(fake->messages.first()));
    QVERIFY(fake->prompts.isEmpty());
    QCOMPARE(text2()->toPlainText(), QStringLiteral("earlier log"));

    // A folder given as the file is refused the same way.
    form->Text2_OLEDragDrop({dir->path()});
    QVERIFY(fake->messages.last().contains(QStringLiteral("はフォルダーです")));
    QCOMPARE(text2()->toPlainText(), QStringLiteral("earlier log"));
}

void TestBadInputs::emptyLogsExportOnlyTheFrame_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("header lines only") << zlogHeader + zlogHeader;
}

void TestBadInputs::emptyLogsExportOnlyTheFrame()
{
    QFETCH(QByteArray, bytes);
    QFile::copy(testDataFile("club.ini.txt"), QStringLiteral("ini.txt"));
    start();
    writeFile(QStringLiteral("log.txt"), bytes);
    form->List1_OLEDragDrop({QStringLiteral("log.txt")});
    form->Command1_Click(0);
    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(form->statusText(), QStringLiteral("JA1ABC.txt を作成しました（QSO 0 件）"));
    QVERIFY(readFile(QStringLiteral("JA1ABC.txt"))
                .endsWith("CREATED-BY: TORNAK CLUB Ver1.3B\r\nEND-OF-LOG: \r\n"));
}

void TestBadInputs::runawayLineIsRefusedReadably()
{
    QFile::copy(testDataFile("club.ini.txt"), QStringLiteral("ini.txt"));
    const QByteArray iniBefore = readFile(QStringLiteral("ini.txt"));
    start();
    writeFile(QStringLiteral("log.txt"), zlogHeader + QByteArray(10 * 1024 * 1024, 'A'));
    form->List1_OLEDragDrop({QStringLiteral("log.txt")});
    QVERIFY(fake->messages.isEmpty());
    form->Command1_Click(0);
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(
        fake->messages.first().startsWith(QStringLiteral("ログの2行目は項目が1個しかありません")));
    QVERIFY2(fake->messages.first().size() < 300, "a message box can show it");
    QVERIFY(form->statusText().isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("JA1ABC.txt")));
    QCOMPARE(readFile(QStringLiteral("ini.txt")), iniBefore);
}

void TestBadInputs::damagedSettingsStartQuietly_data()
{
    const QByteArray thirteen = QByteArray("TORNAK\x83N\x83\x89\x83u\x81\x44\x83R\x83\x93\x83"
                                           "e\x83X\x83g\r\n") +
                                QByteArray("cat\r\n").repeated(12);
    QTest::addColumn<QByteArray>("bytes"); // empty: ini.txt is a folder
    QTest::addColumn<QString>("contest");
    QTest::newRow("a folder") << QByteArray() << QString();
    QTest::newRow("13 lines") << thirteen << QStringLiteral("TORNAKクラブ．コンテスト");
    QTest::newRow("empty line 14") << thirteen + "\r\n 0 \r\n"
                                   << QStringLiteral("TORNAKクラブ．コンテスト");
    QTest::newRow("word in line 14") << thirteen + "yes\r\n 0 \r\n"
                                     << QStringLiteral("TORNAKクラブ．コンテスト");
    QTest::newRow("7 in line 15") << thirteen + " 1 \r\n 7 \r\n"
                                  << QStringLiteral("TORNAKクラブ．コンテスト");
    QTest::newRow("NUL bytes") << thirteen + QByteArray(" 1 \0\r\n", 6) << QString();
    QTest::newRow("bytes invalid in CP932") << QByteArray("\xFF\xFF\r\n") + thirteen << QString();
}

void TestBadInputs::damagedSettingsStartQuietly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, contest);
    if (bytes.isEmpty())
        QVERIFY(QDir().mkdir(QStringLiteral("ini.txt")));
    else
        writeFile(QStringLiteral("ini.txt"), bytes);
    start();
    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(form->stationEntries().contest, contest);
    // A contest restored before the damage still leaves its entries disabled.
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("Text1_4"))->isEnabled());
}

void TestBadInputs::writeFailingHalfwayKeepsTheOldFile()
{
    QFile::copy(testDataFile("club.ini.txt"), QStringLiteral("ini.txt"));
    writeFile(QStringLiteral("JA1ABC.txt"), "previous export\r\n");
    writeFile(QStringLiteral("log.txt"), zlogHeader + qso.repeated(2000));
    start();
    form->List1_OLEDragDrop({QStringLiteral("log.txt")});

    // The file system refuses every byte past 64 KiB, as a full disk would.
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    form->Command1_Click(0);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(fake->messages.size(), 1);
    QVERIFY2(fake->messages.first().contains(QStringLiteral("書き込めません")),
             qPrintable(fake->messages.first()));
    QVERIFY(form->statusText().isEmpty());
    QCOMPARE(readFile(QStringLiteral("JA1ABC.txt")), QByteArray("previous export\r\n"));
    QCOMPARE(QDir().entryList(QDir::Files).size(), 3); // no temporary file left behind
}

QTEST_MAIN(TestBadInputs)
#include "tst_bad_inputs.moc"
