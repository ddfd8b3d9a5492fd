#include "core/contests.h"
#include "core/text_file.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"

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

const QStringList initialCategories{u"一般局部門"_s, u"ＱＲＰ局部門"_s};

// The entries that only make sense once a contest is chosen, with their captions.
const QStringList contestSet = u"Text1_3 Text1_4 Text1_5 Text1_6 Text1_7 Label3_3 Label3_4 "
                               u"Label3_5 Label3_6 Label3_10 Label3_11 Label3_12 Label3_13 "
                               u"Check1_0 Check1_1 Combo1_2"_s.split(u' ');
const QStringList alwaysEnabled = u"Label1 Label2 Label3_0 Label3_1 Label3_2 Label3_7 Label3_8 "
                                  u"Combo1_0 Combo1_1 Text1_0 Text1_1 Text1_2 Text3 Command1_0 "
                                  u"List1"_s.split(u' ');

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

// Writes the club member's settings file with the given contest and number of lines.
QStringList settingsWith(const QString &contest, qsizetype lines = -1)
{
    QStringList saved = TextFile::readLines(testDataFile("club.ini.txt")).lines.mid(0, lines);
    saved[0] = contest;
    writeFile(settingsFileName, TextFile::encodeLines(saved).value_or(QByteArray()));
    return saved;
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> dir;
    FakeDialogs *fake = nullptr;
    std::unique_ptr<Form1> form;

    template <typename T = QWidget> T *control(const char *name) const
    {
        return form->findChild<T *>(QLatin1String(name));
    }

    void start(bool show = false)
    {
        auto dialogs = std::make_unique<FakeDialogs>();
        fake = dialogs.get();
        form = std::make_unique<Form1>(std::move(dialogs));
        form->Form_Load();
        if (show) {
            form->show();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
        }
    }

    // The contest table, by the contest's position in the list: none, Let's, club.
    void checkContestRules(int position)
    {
        const bool enabled = position > 0;
        for (const QString &name : contestSet)
            QVERIFY2(control(qPrintable(name))->isEnabled() == enabled, qPrintable(name));
        for (const QString &name : alwaysEnabled)
            QVERIFY2(control(qPrintable(name))->isEnabled(), qPrintable(name));
        QVERIFY(!control("Label3_9")->isEnabled());
        QCOMPARE(colour(control("Label3_6")), position == 1 ? red : plain); // the key
        QCOMPARE(colour(control("Label3_3")), enabled ? red : plain);       // the power
        for (const char *name : {"Label1", "Label2", "Label3_0", "Label3_1", "Label3_2"})
            QCOMPARE(colour(control(name)), red);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::ButtonText, plain);
        QApplication::setPalette(palette);
    }
    void init() { QVERIFY(dir.emplace().isValid() && QDir::setCurrent(dir->path())); }
    void cleanup()
    {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }

    void firstStart()
    {
        start();
        QCOMPARE(SettingsLines(form->stationEntries()).join(u'|'),
                 u"|||ＺＬｏｇ|||||||||| 0 | 0 |"_s);
        QVERIFY(form->logText().isEmpty());
        QVERIFY(control<QRadioButton>("Option1_0")->isChecked());
        QVERIFY(!control<QRadioButton>("Option1_1")->isChecked());
        QCOMPARE(items(control<QComboBox>("Combo1_0")), Contests::listItems());
        QCOMPARE(items(control<QComboBox>("Combo1_1")), initialCategories);
        QVERIFY(fake->messages.isEmpty());
        checkContestRules(0);
        // Qt's own buttons read Japanese whatever the system speaks.
        UseJapanese();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"キャンセル"_s);
    }

    void restoresEntriesAndContestRules_data()
    {
        QTest::addColumn<QString>("contest");
        QTest::addColumn<int>("lines"); // of the settings file kept; -1 for all
        QTest::addColumn<int>("rules");
        QTest::newRow("Let's contest") << Contests::letsContest << -1 << 1;
        QTest::newRow("club contest") << Contests::clubContest << -1 << 2;
        QTest::newRow("half-width apostrophe") << u"Ｌｅｔ'ｓ　TORNAK　コンテスト"_s << -1 << 0;
        // The Let's contest is restored, yet its rules are not applied to a broken file.
        QTest::newRow("13 lines") << Contests::letsContest << 13 << 0;
    }
    void restoresEntriesAndContestRules()
    {
        QFETCH(QString, contest);
        QFETCH(int, lines);
        QFETCH(int, rules);
        const QStringList saved = settingsWith(contest, lines);
        start();
        const QStringList expected =
            lines < 0 ? saved.mid(0, 15) + QStringList{u"楽しかったです\r\n来年も参加します\r\n"_s}
                      : saved + QStringList{u" 0 "_s, u" 0 "_s, QString()};
        QCOMPARE(SettingsLines(form->stationEntries()), expected);
        // A restored contest is a text, not a choice: the category list stays as built.
        QCOMPARE(items(control<QComboBox>("Combo1_1")), initialCategories);
        QVERIFY(fake->messages.isEmpty());
        checkContestRules(rules);
    }

    void greyedCheckBoxClickTogglesTwoStates()
    {
        settingsWith(Contests::letsContest); // the donor box is restored greyed
        start(true);
        auto *donor = control<QCheckBox>("Check1_1");
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
        const QStringList club{u"7MHzｼﾝｸﾞﾙ部門"_s, u"7MHz/14MHzﾏﾙﾁ部門"_s};
        QTest::newRow("Let's contest") << 2 << 1 << initialCategories;
        QTest::newRow("club contest") << 1 << 2 << club;
        QTest::newRow("empty item keeps the category") << 2 << 0 << club;
    }
    void choosingContestAppliesItsRules()
    {
        QFETCH(int, previous);
        QFETCH(int, choice);
        QFETCH(QStringList, categories);
        start();
        auto *category = control<QComboBox>("Combo1_1");
        choose(control<QComboBox>("Combo1_0"), previous);
        choose(category, 1);
        const QString previousCategory = category->currentText();
        choose(control<QComboBox>("Combo1_0"), choice);
        QCOMPARE(items(category), categories);
        QCOMPARE(category->currentText(), choice == 0 ? previousCategory : QString());
        checkContestRules(choice);
    }

    void typedContestNameCountsAsRestored_data()
    {
        QTest::addColumn<QString>("restored"); // the contest in the settings file
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leaveBy"); // a key, or a click on another entry
        QTest::addColumn<int>("rules");
        QTest::newRow("Let's typed, Return")
            << QString() << Contests::letsContest << u"Return"_s << 1;
        QTest::newRow("club typed, Tab") << QString() << Contests::clubContest << u"Tab"_s << 2;
        QTest::newRow("club typed, click elsewhere")
            << QString() << Contests::clubContest << u"click"_s << 2;
        QTest::newRow("other text typed") << QString() << u"TORNAK"_s << u"Tab"_s << 0;
        QTest::newRow("club restored, Tab") << Contests::clubContest << QString() << u"Tab"_s << 2;
    }
    // Typing a contest's name in full brings its entries alive as a restart does; only a
    // choice from the list refills the categories.
    void typedContestNameCountsAsRestored()
    {
        QFETCH(QString, restored);
        QFETCH(QString, typed);
        QFETCH(QString, leaveBy);
        QFETCH(int, rules);
        if (!restored.isEmpty())
            settingsWith(restored);
        start(true);
        auto *contest = control<QComboBox>("Combo1_0");
        const QString category = control<QComboBox>("Combo1_1")->currentText();
        contest->setFocus();
        // Key by key with its text, as an input method commits it; keyClicks knows Latin-1 only.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, contest->lineEdit(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        if (leaveBy == u"click"_s)
            QTest::mouseClick(control("Text1_0"), Qt::LeftButton);
        else
            QTest::keyClick(contest->lineEdit(),
                            leaveBy == u"Tab"_s ? Qt::Key_Tab : Qt::Key_Return);

        QVERIFY(!contest->hasFocus() || leaveBy == u"Return"_s);
        QCOMPARE(contest->currentText(), restored + typed);
        QCOMPARE(items(contest), Contests::listItems());
        QCOMPARE(items(control<QComboBox>("Combo1_1")), initialCategories);
        QCOMPARE(control<QComboBox>("Combo1_1")->currentText(), category);
        checkContestRules(rules);
    }

    void exportFromTheWindow()
    {
        // The club's entries restored, then their file removed: only the export brings it back.
        QVERIFY(QFile::copy(testDataFile("club.ini.txt"), settingsFileName));
        start();
        QVERIFY(QFile::remove(settingsFileName));
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        control<QLineEdit>("Text1_0")->clear();
        control<QPushButton>("Command1_0")->click();
        QCOMPARE(fake->messages, QStringList{u"「コールサイン」は必須項目です"_s});
        QCOMPARE(entriesIn(u"."_s), QStringList());
        QVERIFY(form->statusText().isEmpty());

        control<QLineEdit>("Text1_0")->setText(u"JA1ABC/1"_s);
        control<QPushButton>("Command1_0")->click();
        QCOMPARE(fake->messages.size(), 1);
        QCOMPARE(form->statusText(), u"JA1ABC.txt を作成しました（QSO 7 件）"_s);
        // The log has no year: the export takes this year's.
        QByteArray expected = readFile(testDataFile("club.expected.txt"));
        expected.replace(" 2026-", " " + QByteArray::number(QDate::currentDate().year()) + "-");
        QCOMPARE(readFile(u"JA1ABC.txt"_s), expected);
        Form1 restarted(std::make_unique<FakeDialogs>());
        restarted.Form_Load();
        QCOMPARE(SettingsLines(restarted.stationEntries()), SettingsLines(form->stationEntries()));

        // An address that begins with a line break is shown shortened once exported.
        control<QLineEdit>("Text1_2")->setText(u"\r\n東京都"_s);
        control<QPushButton>("Command1_0")->click();
        QCOMPARE(control<QLineEdit>("Text1_2")->text(), u"東京都"_s);

        // The status line tells what happened last: a newly loaded log is no export.
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        QVERIFY(form->statusText().isEmpty());
    }

    void loadsByMenu()
    {
        start();
        control<QPlainTextEdit>("Text2")->setPlainText(u"typed before"_s);
        control<QAction>("FileOpen")->trigger(); // the dialog is cancelled
        QVERIFY(fake->messages.isEmpty());
        fake->chosenFile = u"missing.txt"_s;
        control<QAction>("FileOpen")->trigger();
        form->List1_OLEDragDrop({}); // a drop without a file
        QCOMPARE(fake->messages.size(), 2);
        QCOMPARE(form->logText(), u"typed before"_s);

        fake->chosenFile = testDataFile("club.zlog.txt");
        control<QAction>("FileOpen")->trigger();
        QCOMPARE(form->logText(), QString::fromLatin1(readFile(*fake->chosenFile)));
        QCOMPARE(fake->messages.size(), 2);
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
            control<QPlainTextEdit>("Text2")->clear();
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
        settingsWith(Contests::clubContest);
        start();
        form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
        const auto snapshot = [this] {
            QStringList state = SettingsLines(form->stationEntries());
            state << form->logText() << form->font().toString();
            for (const QString &name : alwaysEnabled + QStringList{u"Text2"_s})
                state << control(qPrintable(name))->font().toString();
            return state << entriesIn(u"."_s);
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

    void tabOrderSkipsCoveredControls()
    {
        // With a contest restored every entry is enabled, so the Tab key visits them all.
        settingsWith(Contests::letsContest);
        start(true);
        for (const char *name : {"Combo1_3", "Combo1_4", "Option1_0", "Option1_1"})
            QVERIFY2(control(name)->focusPolicy() == Qt::NoFocus, name);

        const QStringList order = u"Combo1_0 Text1_0 Text1_1 Text1_2 Text2 Text1_3 Text1_4 "
                                  u"Text1_5 Text3 Command1_0 Combo1_1 Combo1_2 List1 Check1_0 "
                                  u"Text1_6 Text1_7 Check1_1 Combo1_0"_s.split(u' ');
        control("Combo1_0")->setFocus();
        QStringList visited;
        while (visited.size() < order.size()) {
            // The focus may sit inside a control, such as a drop-down's line edit.
            QWidget *owner = QApplication::focusWidget();
            while (owner && owner->parentWidget() != form->centralWidget())
                owner = owner->parentWidget();
            visited.append(owner ? owner->objectName() : u"(none)"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, order);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
