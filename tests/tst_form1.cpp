// The window with fake dialogs: what the user sees and what reaches the files.
#include "core/contests.h"
#include "core/text_file.h"
#include "core/today.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"
#include "ui/form1.h"
#include "ui/layout_area.h"

#include "fake_dialogs.h"
#include "test_files.h"

#include <QtTest>
#include <QtWidgets>

namespace
{

const QColor red(255, 0, 0);
// The normal label colour is the button-text colour. It is made to differ from the
// window-text colour, so that a label left at its default colour is caught.
const QColor plain(0, 0, 160);

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

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    FakeDialogs *fake = nullptr;
    std::unique_ptr<Form1> form;

    QString path(const QString &name) const { return dir->filePath(name); }
    template <typename T = QWidget> T *control(const char *array, int index = -1) const
    {
        const QString suffix = index < 0 ? QString() : u'_' + QString::number(index);
        return form->findChild<T *>(QLatin1String(array) + suffix);
    }
    QComboBox *combo(Form1::Combo1Index i) const { return control<QComboBox>("Combo1", i); }
    QLineEdit *text1(Form1::Text1Index i) const { return control<QLineEdit>("Text1", i); }
    QPlainTextEdit *text2() const { return control<QPlainTextEdit>("Text2"); }

    void start()
    {
        auto dialogs = std::make_unique<FakeDialogs>();
        fake = dialogs.get();
        form = std::make_unique<Form1>(path(settingsFileName), dir->path(), std::move(dialogs));
        form->Form_Load();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    // The contest table, by the contest's position in the list: none, Let's, club. Two
    // entries stand for the contest's own set, which is enabled as one.
    void checkContestRules(int position)
    {
        const bool enabled = position > 0;
        QCOMPARE(text1(Form1::Key)->isEnabled(), enabled);
        QCOMPARE(control("Check1", Form1::Donor)->isEnabled(), enabled);
        QCOMPARE(colour(control("Label3", Form1::KeyCaption)), position == 1 ? red : plain);
        QCOMPARE(colour(control("Label3", Form1::PowerCaption)), enabled ? red : plain);
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

    void restoredOrTypedContestAppliesItsRules_data()
    {
        // the settings file in the test data; the lines of it kept, 0 for a pipe instead,
        // which must not hang the start; the text typed; the key that ends the typing, 0 for
        // a click on another entry; the contest whose rules then apply
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("leaveBy");
        QTest::addColumn<int>("rules");
        QTest::newRow("settings file a pipe") << QByteArray() << 0 << u""_s << 0 << 0;
        QTest::newRow("Let's restored") << QByteArray("lets.ini.txt") << -1 << u""_s << 0 << 1;
        // The Let's contest is restored, yet its rules are not applied to a broken file.
        QTest::newRow("Let's restored, file broken")
            << QByteArray("lets.ini.txt") << 13 << u""_s << 0 << 0;
        QTest::newRow("Let's typed, Tab")
            << QByteArray() << -1 << Contests::lets.name << int(Qt::Key_Tab) << 1;
        QTest::newRow("club typed, Return")
            << QByteArray() << -1 << Contests::club.name << int(Qt::Key_Return) << 2;
        QTest::newRow("club typed, click away")
            << QByteArray() << -1 << Contests::club.name << 0 << 2;
    }
    // A contest restored, or typed in full, brings its entries alive; it is a text, not a
    // choice, so the category list stays as built. Qt would take typing for a choice.
    void restoredOrTypedContestAppliesItsRules()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, lines);
        QFETCH(QString, typed);
        QFETCH(int, leaveBy);
        QFETCH(int, rules);
        if (lines == 0) {
#if defined(Q_OS_UNIX)
            QVERIFY(makePipe(path(settingsFileName)));
#endif
        } else if (!file.isEmpty()) // the last line kept ends in CR, which ends a line as well
            writeFile(
                path(settingsFileName),
                readFile(testDataFile(file.constData())).split('\n').mid(0, lines).join('\n'));
        // The window shows what the settings file restores.
        StationEntries expected = InitialStationEntries();
        LoadSettings(path(settingsFileName), expected);
        start();
        QComboBox *contest = combo(Form1::Contest);
        if (!typed.isEmpty()) {
            contest->setFocus();
            // Key by key with its text, as an input method commits it; keyClicks knows Latin-1.
            for (const QChar ch : typed)
                QTest::sendKeyEvent(QTest::Click, contest->lineEdit(), Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
            if (leaveBy)
                QTest::keyClick(contest->lineEdit(), Qt::Key(leaveBy));
            else
                QTest::mouseClick(text1(Form1::Callsign), Qt::LeftButton);
            expected.contest = typed;
        }
        QCOMPARE(SettingsLines(form->stationEntries()), SettingsLines(expected));
        QCOMPARE(items(contest), Contests::listItems());
        QCOMPARE(items(combo(Form1::Category)), Contests::lets.categories);
        checkContestRules(rules);
    }

    // A choice from the list, as a click or the arrow keys make it, offers the contest's
    // categories afresh; the empty item keeps the category and its list.
    void choosingContestAppliesItsRules()
    {
        start();
        QComboBox *category = combo(Form1::Category);
        const auto choose = [](QComboBox *box, int index) {
            box->setCurrentIndex(index);
            Q_EMIT box->activated(index);
        };
        for (int contest : {2, 1, 0}) {
            choose(category, 1);
            const QString chosen = category->currentText();
            choose(combo(Form1::Contest), contest);
            QCOMPARE(items(category),
                     contest == 2 ? Contests::club.categories : Contests::lets.categories);
            QCOMPARE(category->currentText(), contest == 0 ? chosen : QString());
            checkContestRules(contest);
        }
    }

    void exportFromTheWindow()
    {
        // The club's entries restored, then their file removed: only the export brings it back.
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), path(settingsFileName)));
        start();
        QVERIFY(!control<QAction>("openOutputFolder")->isEnabled()); // until a file is written
        QVERIFY(QFile::remove(path(settingsFileName)));
        auto *button = control<QPushButton>("Command1", Form1::ExportButton);
        text1(Form1::Callsign)->clear();
        button->click();
        QCOMPARE(fake->messages, QStringList{u"「コールサイン」は必須項目です"_s});
        QCOMPARE(entriesIn(dir->path()), QStringList());

        // After a restart the log box is empty: the window asks before it writes a file of
        // no QSOs, in other words when that would wipe the file of an earlier export. A "no"
        // writes nothing at all, not even the settings.
        const QString out = path(u"JA1ABC.txt"_s);
        text1(Form1::Callsign)->setText(u"JA1ABC/1"_s);
        const QString replace =
            u"ログが読み込まれていません。既存の「JA1ABC.txt」をQSO 0件のファイルで置き換えますか？"_s;
        const std::tuple<bool, bool, QString> answers[] = {
            // an earlier file, the answer, the question
            {false, false, u"ログにQSOがありません。QSO 0件のファイルを作成しますか？"_s},
            {false, true, u"ログにQSOがありません。QSO 0件のファイルを作成しますか？"_s},
            {true, false, replace},
            {true, true, replace},
        };
        for (const auto &[earlier, yes, question] : answers) {
            QFile::remove(path(settingsFileName));
            QFile::remove(out);
            if (earlier)
                writeFile(out, "previous export\r\n");
            fake->yes = yes;
            button->click();
            QCOMPARE(fake->questions.takeLast(), question);
            QVERIFY(fake->questions.isEmpty());
            QCOMPARE(fake->messages.size(), 1);
            QCOMPARE(form->statusText(),
                     yes ? u"%1 を作成しました（QSO 0 件）"_s.arg(shown(out)) : QString());
            QCOMPARE(QFile::exists(path(settingsFileName)), yes);
            QCOMPARE(QFile::exists(out), yes || earlier);
            if (yes || earlier)
                QVERIFY(readFile(out).endsWith(
                    yes ? "CREATED-BY: TORNAK CLUB Ver1.3B\r\nEND-OF-LOG: \r\n"
                        : "previous export\r\n"));
        }
        Form1 restarted(path(settingsFileName), dir->path(), std::make_unique<FakeDialogs>());
        restarted.Form_Load();
        QCOMPARE(SettingsLines(restarted.stationEntries()), SettingsLines(form->stationEntries()));

        // A log with QSOs replaces it without a question. The status line tells what
        // happened last: a newly loaded log is no export. The log names no year: its QSOs
        // are of today's.
        // Loaded, the log is summed up; exported, its warnings are counted, and the check
        // and the output folder are a menu away.
        auto *openFolder = control<QAction>("openOutputFolder");
        Today::set(QDate(2031, 11, 30));
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        QCOMPARE(form->statusText(), u"QSO 7 件（7MHz 5・14MHz 2）、11-23 0902〜1459、警告 1 件"_s);
        button->click();
        QVERIFY(fake->questions.isEmpty());
        QCOMPARE(form->statusText(), u"%1 を作成しました（QSO 7 件）、警告 1 件"
                                     u"（ツール › ログの確認）"_s.arg(shown(out)));
        QCOMPARE(readFile(out).count(" 2031-11-"), 7);
        control<QAction>("logCheck")->trigger();
        Today::set(QDate());
        QCOMPARE(fake->check->findings.size(), 1);
        fake->selectLine(fake->check->findings.first().lines.first());
        QVERIFY(text2()->textCursor().selectedText().contains(u"JG1CCC"_s));
        QVERIFY(openFolder->isEnabled());
        openFolder->trigger();
        QCOMPARE(fake->openedFolder, dir->path());

        // An address that begins with a line break is shown shortened once exported; the
        // settings file, which cannot hold the break, is not saved, and the window says so.
        text1(Form1::Address)->setText(u"\r\n東京都"_s);
        button->click();
        QCOMPARE(text1(Form1::Address)->text(), u"東京都"_s);
        QCOMPARE(fake->messages.size(), 2);

        // zLOG's own log writes the year of its records, also once the log box is edited.
        form->List1_OLEDragDrop({testDataFile("zlog/sample.ZLOX")});
        for (int edit = 0; edit < 2; ++edit) {
            button->click();
            QCOMPARE(readFile(out).count(" 2024-11-23 "), 10);
            text2()->appendPlainText(u"   "_s);
        }

        // A log loaded from the output's own name is never replaced by it: not once edited,
        // nor after a load that failed.
        writeFile(out, readFile(testDataFile("club.zlog.txt")));
        form->List1_OLEDragDrop({out});
        form->List1_OLEDragDrop({dir->path()});
        text2()->appendPlainText(u"   "_s);
        button->click();
        QVERIFY2(fake->messages.last().endsWith(u"は読み込んだログファイルと同じファイルです。"
                                                u"ログファイルの名前を変えて下さい"_s),
                 qPrintable(fake->messages.last()));
        QCOMPARE(readFile(out), readFile(testDataFile("club.zlog.txt")));
    }

    void loadsLogOrLeavesTextAlone()
    {
        start();
        // A refused file leaves the log box as it was; tst_convert_command holds the other
        // files that cannot be read.
        text2()->setPlainText(u"typed before"_s);
        form->Text2_OLEDragDrop({dir->path()});
        control<QAction>("FileOpen")->trigger(); // the dialog is cancelled
        QCOMPARE(fake->messages,
                 QStringList{u"「%1」はフォルダーです。ファイルを指定して下さい"_s.arg(
                     shown(dir->path()))});
        QCOMPARE(form->logText(), u"typed before"_s);

        fake->chosenFile = testDataFile("club.zlog.txt");
        control<QAction>("FileOpen")->trigger();
        QCOMPARE(form->logText(), QString::fromLatin1(readFile(*fake->chosenFile)));
        // zLOG's own log shows as the text zLOG would export for it.
        fake->chosenFile = testDataFile("zlog/sample.ZLOX");
        control<QAction>("FileOpen")->trigger();
        QCOMPARE(form->logText(),
                 crlfLines(TextFile::readLines(testDataFile("zlog/sample.ZLOX.export.txt")).lines));

        // Files dragged from a file manager, entered, then dropped: the first is loaded,
        // asking once a drop, and again while the answer cannot stand in the log.
        fake->answers = {u"123"_s};
        fake->answer = u"１３"_s;
        const auto thirteen = [](const QString &) { return u"13"_s; };
        const QString lets = LoadLogFile(testDataFile("lets.zlog.txt"), thirteen).text;
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
            QCOMPARE(form->logText(), lets);
        }
        QCOMPARE(fake->prompts.size(), 3);
        QCOMPARE(fake->messages.last(), u"送信したマルチは半角英数字2文字までで入力して下さい"_s);
    }

    // Smaller than the layout, the window scrolls its controls and keeps the status line in
    // view; larger, the log box takes the room. A screen too small gets a window that fits.
    void resizing()
    {
        start();
        QWidget *area = text2()->parentWidget();
        auto *scroll = control<QScrollArea>("scroll");
        const QSize layout = area->minimumSize();
        const QRect laidOut = text2()->geometry();
        const QSize chrome = form->size() - scroll->size();
        for (const QSize extra : {QSize(-400, -300), QSize(0, 0), QSize(120, 80), QSize(-50, 60)}) {
            form->resize(layout + chrome + extra);
            QTRY_COMPARE(scroll->size(), layout + extra);
            const QSize grown = extra.expandedTo(QSize(0, 0));
            QCOMPARE(text2()->geometry(), QRect(laidOut.topLeft(), laidOut.size() + grown));
            QCOMPARE(area->size(), layout + grown);
            QCOMPARE(scroll->verticalScrollBar()->maximum() > 0, extra.height() < 0);
            const QWidget *status = form->statusBar();
            QVERIFY(status->isVisible());
            QVERIFY(form->rect().contains(status->geometry()));
        }
        // Tabbing to a control out of view scrolls it, where the typing goes, into view.
        form->resize(layout + chrome - QSize(400, 300));
        text1(Form1::Address)->setFocus();
        QTest::keyClick(text1(Form1::Address), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), text2());
        QTRY_VERIFY(
            scroll->viewport()->rect().contains(text2()->mapTo(scroll->viewport(), QPoint(0, 0))));

        // Wider and higher than its screen, it is cut to what the screen has room for.
        const QRect available = form->screen()->availableGeometry();
        form->resize(available.size() + QSize(300, 200));
        FitToScreen(form.get());
        QVERIFY(available.contains(form->frameGeometry()));
    }

    // The club contest restored: every entry enabled, the donor box greyed.
    void keyboardMouseAndFont()
    {
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), path(settingsFileName)));
        start();
        // A greyed box looks ticked, so a click clears it; the next ticks it.
        auto *donor = control<QCheckBox>("Check1", Form1::Donor);
        QCOMPARE(donor->checkState(), Qt::PartiallyChecked);
        const QPoint indicator(donor->height() / 2, donor->height() / 2);
        QTest::mouseClick(donor, Qt::LeftButton, Qt::NoModifier, indicator);
        QCOMPARE(donor->checkState(), Qt::Unchecked);
        QTest::mouseClick(donor, Qt::LeftButton, Qt::NoModifier, indicator);
        QCOMPARE(donor->checkState(), Qt::Checked);

        // Where the Tab key jumps against the layout; from the last entry it goes round to the
        // first, past the controls hidden beneath the big text boxes.
        const auto next = [](QWidget *from) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        QCOMPARE(next(text1(Form1::Address)), text2());
        QCOMPARE(next(control("Text3")), control("Command1", Form1::ExportButton));
        QCOMPARE(next(control("List1")), control("Check1", Form1::Senior));
        QCOMPARE(next(control("Check1", Form1::Donor)), combo(Form1::Contest));

        // The font dialog offers the font the window really shows.
        control<QAction>("gengo")->trigger();
        QCOMPARE(fake->font.family(), QFontInfo(control("List1")->font()).family());

        // The menus open from the keyboard by the letters their captions show, which never
        // reach the box that has the focus; Ctrl+O opens a log, and 終了 closes the window.
        const QString contest = combo(Form1::Contest)->currentText();
        for (const auto &[letter, menu] : {std::pair{Qt::Key_F, "file"}, {Qt::Key_T, "tool"}}) {
            combo(Form1::Contest)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), letter, Qt::AltModifier);
            QTRY_VERIFY(control<QMenu>(menu)->isVisible());
            control<QMenu>(menu)->close();
            QCOMPARE(combo(Form1::Contest)->currentText(), contest);
        }
        fake->chosenFile = testDataFile("club.zlog.txt");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(form->logText(), QString::fromLatin1(readFile(*fake->chosenFile)));
        control<QAction>("FileExit")->trigger();
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
