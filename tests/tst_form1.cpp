// The window with fake dialogs: what the user sees and what reaches the files.
#include "core/contests.h"
#include "core/text_file.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"

#include "fake_dialogs.h"
#include "test_files.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace
{

const QColor red(255, 0, 0);
// The normal label colour is the button-text colour. It is made to differ from the
// window-text colour, so that a label left at its default colour is caught.
const QColor plain(0, 0, 160);

const QByteArray zlogHeader =
    "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo\r\n";
const QByteArray qso =
    " 11  23 0902 JH1QXK     59910        59913            13     7  CW  1   \r\n";

QColor colour(const QWidget *label)
{
    return label->palette().color(QPalette::Active, QPalette::WindowText);
}

QStringList items(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

// A choice from the list, as a click or the arrow keys make it.
void choose(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    FakeDialogs *fake = nullptr;
    std::unique_ptr<Form1> form;

    QString path(const QString &name) const { return dir->filePath(name); }
    QString settings() const { return path(settingsFileName); }

    template <typename T = QWidget> T *control(const char *array, int index = -1) const
    {
        const QString name = index < 0 ? QLatin1String(array)
                                       : QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index);
        return form->findChild<T *>(name);
    }
    QComboBox *combo(Form1::Combo1Index i) const { return control<QComboBox>("Combo1", i); }
    QLineEdit *text1(Form1::Text1Index i) const { return control<QLineEdit>("Text1", i); }
    QPlainTextEdit *text2() const { return control<QPlainTextEdit>("Text2"); }

    void start(bool show = false)
    {
        auto dialogs = std::make_unique<FakeDialogs>();
        fake = dialogs.get();
        form = std::make_unique<Form1>(settings(), dir->path(), std::move(dialogs));
        form->Form_Load();
        if (show) {
            form->show();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        }
    }

    // The club member's settings file, with the given contest and number of lines.
    QStringList settingsWith(const QString &contest, qsizetype lines = -1)
    {
        QStringList saved = TextFile::readLines(testDataFile("club.ini.txt")).lines.mid(0, lines);
        saved[0] = contest;
        writeFile(settings(), TextFile::encodeLines(saved).value_or(QByteArray()));
        return saved;
    }

    void dropLog(const QByteArray &bytes)
    {
        writeFile(path(u"log.txt"_s), bytes);
        form->List1_OLEDragDrop({path(u"log.txt"_s)});
    }

    // The contest table, by the contest's position in the list: none, Let's, club. Two
    // entries stand for the contest's own set, which is enabled as one.
    void checkContestRules(int position)
    {
        const bool enabled = position > 0;
        QCOMPARE(text1(Form1::Key)->isEnabled(), enabled);
        QCOMPARE(control("Check1", Form1::Donor)->isEnabled(), enabled);
        QVERIFY(text1(Form1::Callsign)->isEnabled() && combo(Form1::Category)->isEnabled());
        QVERIFY(!control("Label3", Form1::SeparatorCaption)->isEnabled());
        QCOMPARE(colour(control("Label3", Form1::KeyCaption)), position == 1 ? red : plain);
        QCOMPARE(colour(control("Label3", Form1::PowerCaption)), enabled ? red : plain);
        QCOMPARE(colour(control("Label3", Form1::CallsignCaption)), red);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ButtonText, plain);
        QApplication::setPalette(palette);
    }
    void init() { QVERIFY(dir.emplace().isValid()); }
    void cleanup() { form.reset(); }

    void firstStart()
    {
        start();
        QCOMPARE(SettingsLines(form->stationEntries()).join(u'|'),
                 u"|||ＺＬｏｇ|||||||||| 0 | 0 |"_s);
        QVERIFY(form->logText().isEmpty());
        QVERIFY(control<QRadioButton>("Option1", Form1::Utc)->isChecked());
        QCOMPARE(items(combo(Form1::Contest)), Contests::listItems());
        QCOMPARE(items(combo(Form1::Category)), Contests::lets.categories);
        QVERIFY(fake->messages.isEmpty());
        checkContestRules(0);
        // The controls beneath the big text boxes take no focus.
        QCOMPARE(combo(Form1::LogType)->focusPolicy(), Qt::NoFocus);
        QCOMPARE(control("Option1", Form1::JstToUtc)->focusPolicy(), Qt::NoFocus);
        // Qt's own buttons read Japanese whatever the system speaks.
        UseJapanese();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"キャンセル"_s);
    }

    void restoresEntriesAndContestRules_data()
    {
        QTest::addColumn<QString>("contest");
        QTest::addColumn<int>("lines"); // of the settings file kept; -1 for all, 0 for a pipe
        QTest::addColumn<int>("rules");
        QTest::newRow("Let's contest") << Contests::lets.name << -1 << 1;
        QTest::newRow("club contest") << Contests::club.name << -1 << 2;
        QTest::newRow("half-width apostrophe") << u"Ｌｅｔ'ｓ　TORNAK　コンテスト"_s << -1 << 0;
        // The Let's contest is restored, yet its rules are not applied to a broken file.
        QTest::newRow("13 lines") << Contests::lets.name << 13 << 0;
        QTest::newRow("a pipe, which must not hang the start") << QString() << 0 << 0;
    }
    void restoresEntriesAndContestRules()
    {
        QFETCH(QString, contest);
        QFETCH(int, lines);
        QFETCH(int, rules);
        QStringList saved;
        if (lines == 0)
            QCOMPARE(mkfifo(qPrintable(settings()), 0600), 0);
        else
            saved = settingsWith(contest, lines);
        start();
        QStringList expected = SettingsLines(InitialStationEntries());
        if (lines < 0)
            expected = saved.mid(0, 15) << u"楽しかったです\r\n来年も参加します\r\n"_s;
        else if (lines > 0)
            expected = saved + expected.mid(lines);
        QCOMPARE(SettingsLines(form->stationEntries()), expected);
        // A restored contest is a text, not a choice: the category list stays as built.
        QCOMPARE(items(combo(Form1::Category)), Contests::lets.categories);
        QVERIFY(fake->messages.isEmpty());
        checkContestRules(rules);
    }

    void greyedCheckBoxClickTogglesTwoStates()
    {
        settingsWith(Contests::lets.name); // the donor box is restored greyed
        start(true);
        auto *donor = control<QCheckBox>("Check1", Form1::Donor);
        QCOMPARE(donor->checkState(), Qt::PartiallyChecked);
        const QPoint indicator(donor->height() / 2, donor->height() / 2);
        QTest::mouseClick(donor, Qt::LeftButton, Qt::NoModifier, indicator);
        QCOMPARE(donor->checkState(), Qt::Unchecked);
        QTest::mouseClick(donor, Qt::LeftButton, Qt::NoModifier, indicator);
        QCOMPARE(donor->checkState(), Qt::Checked);
    }

    void choosingContestAppliesItsRules_data()
    {
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("choice");
        QTest::addColumn<QStringList>("categories");
        QTest::newRow("Let's contest") << 2 << 1 << Contests::lets.categories;
        QTest::newRow("club contest") << 1 << 2 << Contests::club.categories;
        QTest::newRow("empty item keeps the category") << 2 << 0 << Contests::club.categories;
    }
    void choosingContestAppliesItsRules()
    {
        QFETCH(int, previous);
        QFETCH(int, choice);
        QFETCH(QStringList, categories);
        start();
        choose(combo(Form1::Contest), previous);
        choose(combo(Form1::Category), 1);
        const QString previousCategory = combo(Form1::Category)->currentText();
        choose(combo(Form1::Contest), choice);
        QCOMPARE(items(combo(Form1::Category)), categories);
        QCOMPARE(combo(Form1::Category)->currentText(), choice == 0 ? previousCategory : QString());
        checkContestRules(choice);
    }

    void typedContestNameCountsAsRestored_data()
    {
        QTest::addColumn<QString>("restored"); // the contest in the settings file
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leaveBy"); // a key, or a click on another entry
        QTest::addColumn<int>("rules");
        QTest::newRow("Let's typed, Return")
            << QString() << Contests::lets.name << u"Return"_s << 1;
        QTest::newRow("club typed, Tab") << QString() << Contests::club.name << u"Tab"_s << 2;
        QTest::newRow("club typed, click elsewhere")
            << QString() << Contests::club.name << u"click"_s << 2;
        QTest::newRow("other text typed") << QString() << u"TORNAK"_s << u"Tab"_s << 0;
        QTest::newRow("club restored, Tab") << Contests::club.name << QString() << u"Tab"_s << 2;
    }
    // Typing a contest's name in full brings its entries alive as a restart does; only a
    // choice from the list refills the categories. Qt would take typing for a choice.
    void typedContestNameCountsAsRestored()
    {
        QFETCH(QString, restored);
        QFETCH(QString, typed);
        QFETCH(QString, leaveBy);
        QFETCH(int, rules);
        if (!restored.isEmpty())
            settingsWith(restored);
        start(true);
        QComboBox *contest = combo(Form1::Contest);
        const QString category = combo(Form1::Category)->currentText();
        contest->setFocus();
        // Key by key with its text, as an input method commits it; keyClicks knows Latin-1 only.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, contest->lineEdit(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        if (leaveBy == u"click"_s)
            QTest::mouseClick(text1(Form1::Callsign), Qt::LeftButton);
        else
            QTest::keyClick(contest->lineEdit(), leaveBy == u"Tab"_s ? Qt::Key_Tab : Qt::Key_Return);

        QCOMPARE(contest->currentText(), restored + typed);
        QCOMPARE(items(contest), Contests::listItems());
        QCOMPARE(items(combo(Form1::Category)), Contests::lets.categories);
        QCOMPARE(combo(Form1::Category)->currentText(), category);
        checkContestRules(rules);
    }

    void exportFromTheWindow()
    {
        // The club's entries restored, then their file removed: only the export brings it back.
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), settings()));
        start();
        QVERIFY(QFile::remove(settings()));
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        text1(Form1::Callsign)->clear();
        control<QPushButton>("Command1", Form1::ExportButton)->click();
        QCOMPARE(fake->messages, QStringList{u"「コールサイン」は必須項目です"_s});
        QCOMPARE(entriesIn(dir->path()), QStringList());
        QVERIFY(form->statusText().isEmpty());

        text1(Form1::Callsign)->setText(u"JA1ABC/1"_s);
        control<QPushButton>("Command1", Form1::ExportButton)->click();
        QCOMPARE(fake->messages.size(), 1);
        QCOMPARE(form->statusText(), u"%1 を作成しました（QSO 7 件）"_s.arg(path(u"JA1ABC.txt"_s)));
        QVERIFY(readFile(path(u"JA1ABC.txt"_s)).contains("\r\nCALLSIGN: JA1ABC/1\r\n"));
        Form1 restarted(settings(), dir->path(), std::make_unique<FakeDialogs>());
        restarted.Form_Load();
        QCOMPARE(SettingsLines(restarted.stationEntries()), SettingsLines(form->stationEntries()));

        // An address that begins with a line break is shown shortened once exported.
        text1(Form1::Address)->setText(u"\r\n東京都"_s);
        control<QPushButton>("Command1", Form1::ExportButton)->click();
        QCOMPARE(text1(Form1::Address)->text(), u"東京都"_s);

        // The status line tells what happened last: a newly loaded log is no export.
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        QVERIFY(form->statusText().isEmpty());
    }

    // After a restart the log box is empty; the window asks before that wipes a file.
    void emptyLogOverAnEarlierFileAsksFirst()
    {
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), settings()));
        start();
        dropLog(zlogHeader + zlogHeader);
        form->Command1_Click(Form1::ExportButton);
        QCOMPARE(form->statusText(), u"%1 を作成しました（QSO 0 件）"_s.arg(path(u"JA1ABC.txt"_s)));
        QVERIFY(fake->questions.isEmpty()); // there was nothing to replace

        writeFile(path(u"JA1ABC.txt"_s), "previous export\r\n");
        QVERIFY(QFile::remove(settings()));
        form->Command1_Click(Form1::ExportButton);
        QCOMPARE(fake->questions, QStringList{u"ログが読み込まれていません。既存の「JA1ABC.txt」を"
                                              u"QSO 0件のファイルで置き換えますか？"_s});
        QVERIFY(fake->messages.isEmpty());
        QVERIFY(form->statusText().isEmpty());
        QCOMPARE(entriesIn(dir->path()), (QStringList{u"JA1ABC.txt"_s, u"log.txt"_s}));
        QCOMPARE(readFile(path(u"JA1ABC.txt"_s)), QByteArray("previous export\r\n"));
    }

    // A full disk, as a file-size limit of 1 KiB makes it: the Cabrillo file of a small log
    // and the settings file stay in Qt's buffer until the end, and must still fail cleanly.
    void fullDiskKeepsTheOldFiles()
    {
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), settings()));
        writeFile(path(u"JA1ABC.txt"_s), "previous export\r\n");
        start();
        dropLog(zlogHeader + qso.repeated(3));
        control<QPlainTextEdit>("Text3")->setPlainText(QString(1100, u'a'));

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        form->Command1_Click(Form1::ExportButton);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(fake->messages,
                 (QStringList{u"設定ファイル「%1」を保存できませんでした（ファイルが大きすぎます）"_s
                                  .arg(settings()),
                              u"ファイル「%1」に書き込めません（ファイルが大きすぎます）"_s.arg(
                                  path(u"JA1ABC.txt"_s))}));
        QVERIFY(form->statusText().isEmpty());
        QCOMPARE(readFile(path(u"JA1ABC.txt"_s)), QByteArray("previous export\r\n"));
        QCOMPARE(readFile(settings()), readFile(testDataFile("club.ini.txt")));
        QCOMPARE(entriesIn(dir->path()),
                 (QStringList{settingsFileName, u"JA1ABC.txt"_s, u"log.txt"_s}));
    }

    void refusedLogLeavesTextAlone_data()
    {
        QTest::addColumn<QString>("special"); // what log.txt is, or another path
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QString() << u"を開けません"_s;
        // Opened as files, these would block the window or fill the memory.
        QTest::newRow("a pipe") << u"fifo"_s << u"は通常のファイルではありません"_s;
        QTest::newRow("a device") << u"/dev/zero"_s << u"は通常のファイルではありません"_s;
        QTest::newRow("over 256 MiB") << u"huge"_s
                                      << u"は大きすぎるため読み込めません（256 MiBまで）"_s;
        QTest::newRow("a folder") << u"folder"_s << u"はフォルダーです"_s;
    }
    void refusedLogLeavesTextAlone()
    {
        QFETCH(QString, special);
        QFETCH(QString, message);
        start();
        QString log = path(u"log.txt"_s);
        if (special == u"fifo"_s)
            QCOMPARE(mkfifo(qPrintable(log), 0600), 0);
        else if (special == u"huge"_s) // sparse: takes no room
            QVERIFY(QFile(log).open(QIODevice::WriteOnly) && QFile::resize(log, (256 << 20) + 1));
        else if (special == u"folder"_s)
            QVERIFY(QDir().mkdir(log));
        else if (!special.isEmpty())
            log = special;
        text2()->setPlainText(u"earlier log"_s);

        form->Text2_OLEDragDrop({log});
        QCOMPARE(fake->messages.size(), 1);
        QVERIFY2(fake->messages.first().contains(message), qPrintable(fake->messages.first()));
        QVERIFY(fake->prompts.isEmpty());
        QCOMPARE(text2()->toPlainText(), u"earlier log"_s);
    }

    void loadsByMenu()
    {
        start();
        text2()->setPlainText(u"typed before"_s);
        control<QAction>("FileOpen")->trigger(); // the dialog is cancelled
        form->List1_OLEDragDrop({});             // a drop without a file
        QCOMPARE(fake->messages, QStringList{u"ファイル名が指定されていません"_s});
        QCOMPARE(form->logText(), u"typed before"_s);

        fake->chosenFile = testDataFile("club.zlog.txt");
        control<QAction>("FileOpen")->trigger();
        QCOMPARE(form->logText(), QString::fromLatin1(readFile(*fake->chosenFile)));
        QCOMPARE(fake->messages.size(), 1);
        QVERIFY(fake->prompts.isEmpty());
    }

    // Files dragged from a file manager: entered first, then dropped.
    void dropLoadsFirstFileOnlyAndAsksOnce()
    {
        start();
        fake->answer = u"13"_s;
        // Every line below the header lacks the multiplier and takes the answer.
        QStringList lines =
            QString::fromLatin1(readFile(testDataFile("lets.zlog.txt"))).split(u"\r\n"_s);
        for (qsizetype i = 1; i < lines.size() - 1; ++i)
            lines[i].replace(27, 2, u"13"_s);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(testDataFile("lets.zlog.txt")),
                      QUrl::fromLocalFile(testDataFile("club.zlog.txt"))});
        for (const char *target : {"List1", "Text2"}) {
            text2()->clear();
            QWidget *viewport = control<QAbstractScrollArea>(target)->viewport();
            QDragEnterEvent enter({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop({5, 5}, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &drop);
            QCOMPARE(form->logText(), lines.join(u"\r\n"_s));
        }
        QCOMPARE(fake->prompts.size(), 2); // once a drop
        QVERIFY(fake->messages.isEmpty());
    }

    void fontDialogChangesNothing()
    {
        settingsWith(Contests::club.name);
        start();
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        const auto snapshot = [this] {
            QStringList state = SettingsLines(form->stationEntries());
            state << form->logText() << form->font().toString();
            for (QWidget *widget : form->findChildren<QWidget *>())
                state << widget->font().toString();
            return state << entriesIn(dir->path());
        };
        const QStringList before = snapshot();
        control<QAction>("gengo")->trigger();
        QCOMPARE(fake->fontDialogs, 1);
        QCOMPARE(snapshot(), before);
        // It offers the font the window really shows, not a Latin one in bold italic.
        QCOMPARE(fake->font.family(), QFontInfo(control("List1")->font()).family());
        QCOMPARE(fake->font.weight(), QFont::Normal);
        QVERIFY(!fake->font.italic());
    }

    // The two places where the Tab key jumps against the layout, and it never stops on a
    // control hidden beneath the big text boxes.
    void tabOrderJumps()
    {
        settingsWith(Contests::lets.name); // every entry enabled
        start(true);
        const auto next = [](QWidget *from) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        QCOMPARE(next(text1(Form1::Address)), text2());
        QCOMPARE(next(control("Text3")), control("Command1", Form1::ExportButton));
        QCOMPARE(next(control("List1")), control("Check1", Form1::Senior));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
