// What the window does with broken files: a message, and nothing lost or half-written.
#include "fake_dialogs.h"
#include "settings/settings_file.h"
#include "test_files.h"
#include "ui/form1.h"

#include <QPlainTextEdit>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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

    std::optional<QTemporaryDir> dir;
    std::unique_ptr<Form1> form;
    FakeDialogs *fake = nullptr;

    // Starts the window, with the club member's settings unless told otherwise, and drops
    // the log when one is given.
    void start(const QByteArray *log = nullptr, bool settings = true)
    {
        if (settings)
            writeFile(settingsFileName, readFile(testDataFile("club.ini.txt")));
        auto dialogs = std::make_unique<FakeDialogs>();
        fake = dialogs.get();
        form = std::make_unique<Form1>(std::move(dialogs));
        form->Form_Load();
        if (log) {
            writeFile(u"log.txt"_s, *log);
            form->List1_OLEDragDrop({u"log.txt"_s});
        }
    }
    QPlainTextEdit *text2() const { return form->findChild<QPlainTextEdit *>(u"Text2"_s); }

private Q_SLOTS:
    void init() { QVERIFY(dir.emplace().isValid() && QDir::setCurrent(dir->path())); }
    void cleanup()
    {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void refusedLogLeavesTextAlone_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("special");  // what log.txt is instead, or another path
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QByteArray() << QString() << u"を開けません"_s;
        QTest::newRow("NUL bytes") << zlogHeader + QByteArray(" 11\0 23", 7) + "\r\n"
                                   << QString() << u"の2行目にNUL文字があります"_s;
        QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << QString()
                                     << u"の3行目にNUL文字があります"_s;
        QTest::newRow("bytes invalid in CP932")
            << zlogHeader + qso + "JA1\xFF\xFE\r\n"
            << QString() << u"の3行目に文字として読めないバイト"_s;
        QTest::newRow("double-byte character cut at the end")
            << zlogHeader + qso.chopped(2) + "\x82" << QString()
            << u"の2行目に文字として読めないバイト"_s;
        // Opened as files, these would block the window or fill the memory.
        QTest::newRow("a pipe") << QByteArray() << u"fifo"_s << u"は通常のファイルではありません"_s;
        QTest::newRow("a device") << QByteArray() << u"/dev/zero"_s
                                  << u"は通常のファイルではありません"_s;
        QTest::newRow("over 256 MiB")
            << QByteArray() << u"huge"_s << u"は大きすぎるため読み込めません（256 MiBまで）"_s;
    }
    void refusedLogLeavesTextAlone()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, special);
        QFETCH(QString, message);
        start(nullptr, false);
        QString path = dir->filePath(u"log.txt"_s);
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        if (special == u"fifo"_s)
            QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        else if (special == u"huge"_s) // sparse: takes no room
            QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, (256 << 20) + 1));
        else if (!special.isEmpty())
            path = special;
        text2()->setPlainText(u"earlier log"_s);

        form->List1_OLEDragDrop({path});
        QCOMPARE(fake->messages.size(), 1);
        QVERIFY2(fake->messages.first().contains(message), qPrintable(fake->messages.first()));
        QVERIFY(fake->prompts.isEmpty());
        QCOMPARE(text2()->toPlainText(), u"earlier log"_s);

        // A folder given as the file is refused the same way.
        form->Text2_OLEDragDrop({dir->path()});
        QVERIFY(fake->messages.last().contains(u"はフォルダーです"_s));
        QCOMPARE(text2()->toPlainText(), u"earlier log"_s);
    }

    void emptyLogsExportOnlyTheFrame()
    {
        start();
        for (const QByteArray &log : {QByteArray(), zlogHeader + zlogHeader}) {
            writeFile(u"log.txt"_s, log);
            form->List1_OLEDragDrop({u"log.txt"_s});
            QCOMPARE(form->logText(), QString::fromLatin1(log));
            form->Command1_Click(0);
            QCOMPARE(form->statusText(), u"JA1ABC.txt を作成しました（QSO 0 件）"_s);
            QVERIFY(readFile(u"JA1ABC.txt"_s)
                        .endsWith("CREATED-BY: TORNAK CLUB Ver1.3B\r\nEND-OF-LOG: \r\n"));
            QVERIFY(QFile::remove(u"JA1ABC.txt"_s));
        }
        QVERIFY(fake->messages.isEmpty());
        QVERIFY(fake->questions.isEmpty());

        // Over an earlier file the window asks first; "no" leaves everything as it was.
        writeFile(u"JA1ABC.txt"_s, "previous export\r\n");
        QVERIFY(QFile::remove(settingsFileName));
        form->Command1_Click(0);
        QCOMPARE(fake->questions, QStringList{u"ログが読み込まれていません。既存の「JA1ABC.txt」を"
                                              u"QSO 0件のファイルで置き換えますか？"_s});
        QVERIFY(fake->messages.isEmpty());
        QVERIFY(form->statusText().isEmpty());
        QCOMPARE(entriesIn(u"."_s), (QStringList{u"JA1ABC.txt"_s, u"log.txt"_s}));
        QCOMPARE(readFile(u"JA1ABC.txt"_s), QByteArray("previous export\r\n"));
    }

    void runawayLineIsRefusedReadably()
    {
        const QByteArray log = zlogHeader + QByteArray(10 * 1024 * 1024, 'A');
        start(&log);
        QVERIFY(fake->messages.isEmpty());
        form->Command1_Click(0);
        QCOMPARE(fake->messages.size(), 1);
        QVERIFY(fake->messages.first().startsWith(u"ログの2行目は項目が1個しかありません"_s));
        QVERIFY2(fake->messages.first().size() < 300, "a message box can show it");
        QVERIFY(form->statusText().isEmpty());
        QVERIFY(!QFile::exists(u"JA1ABC.txt"_s));
        QCOMPARE(readFile(settingsFileName), readFile(testDataFile("club.ini.txt")));
    }

    void damagedSettingsStartQuietly_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: ini.txt is a folder
        QTest::addColumn<QString>("contest");
        const QByteArray thirteen = "TORNAK\x83N\x83\x89\x83u\x81\x44\x83R\x83\x93\x83"
                                    "e\x83X\x83g\r\n" +
                                    QByteArray("cat\r\n").repeated(12);
        const QString club = u"TORNAKクラブ．コンテスト"_s;
        QTest::newRow("a folder") << QByteArray() << QString();
        QTest::newRow("a pipe") << QByteArray("fifo") << QString();
        QTest::newRow("13 lines") << thirteen << club;
        QTest::newRow("empty line 14") << thirteen + "\r\n 0 \r\n" << club;
        QTest::newRow("word in line 14") << thirteen + "yes\r\n 0 \r\n" << club;
        QTest::newRow("7 in line 15") << thirteen + " 1 \r\n 7 \r\n" << club;
        QTest::newRow("NUL bytes") << thirteen + QByteArray(" 1 \0\r\n", 6) << QString();
        QTest::newRow("bytes invalid in CP932") << "\xFF\xFF\r\n" + thirteen << QString();
    }
    void damagedSettingsStartQuietly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, contest);
        if (bytes.isEmpty())
            QVERIFY(QDir().mkdir(settingsFileName));
        else if (bytes == "fifo")
            QCOMPARE(mkfifo(qPrintable(settingsFileName), 0600), 0);
        else
            writeFile(settingsFileName, bytes);
        start(nullptr, false);
        QVERIFY(fake->messages.isEmpty());
        QCOMPARE(form->stationEntries().contest, contest);
        // A contest restored before the damage still leaves its entries disabled.
        QVERIFY(!form->findChild<QWidget *>(u"Text1_4"_s)->isEnabled());
    }

    // A full disk, as a file-size limit of 1 KiB makes it: the Cabrillo file of a small log
    // and the settings file stay in Qt's buffer until the end, and must still fail cleanly.
    void fullDiskKeepsTheOldFiles()
    {
        writeFile(u"JA1ABC.txt"_s, "previous export\r\n");
        const QByteArray log = zlogHeader + qso.repeated(3);
        start(&log);
        form->findChild<QPlainTextEdit *>(u"Text3"_s)->setPlainText(QString(1100, u'a'));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        form->Command1_Click(0);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(fake->messages.size(), 2);
        QCOMPARE(fake->messages.first(),
                 u"設定ファイル「ini.txt」を保存できませんでした（ファイルが大きすぎます）"_s);
        QCOMPARE(fake->messages.last(),
                 u"ファイル「JA1ABC.txt」に書き込めません（ファイルが大きすぎます）"_s);
        QVERIFY(form->statusText().isEmpty());
        QCOMPARE(readFile(u"JA1ABC.txt"_s), QByteArray("previous export\r\n"));
        QCOMPARE(readFile(settingsFileName), readFile(testDataFile("club.ini.txt")));
        QCOMPARE(entriesIn(u"."_s), (QStringList{settingsFileName, u"JA1ABC.txt"_s, u"log.txt"_s}));
    }
};

QTEST_MAIN(TestBadInputs)
#include "tst_bad_inputs.moc"
