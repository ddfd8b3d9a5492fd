#include "conversion/contests.h"
#include "conversion/text_file.h"
#include "settings/settings_file.h"
#include "ui/form1.h"

#include "fake_dialogs.h"
#include "test_files.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace
{

const QColor requiredRed(255, 0, 0);
// The normal label colour is the button-text colour. It is made to differ from the
// window-text colour, so that a label left at its default colour is caught.
const QColor buttonText(0, 0, 160);

const QStringList initialCategories{QStringLiteral("一般局部門"), QStringLiteral("ＱＲＰ局部門")};
const QStringList clubCategories{QStringLiteral("7MHzｼﾝｸﾞﾙ部門"),
                                 QStringLiteral("7MHz/14MHzﾏﾙﾁ部門")};
const QString multiplierPrompt =
    QStringLiteral("自分で送信したマルチが設定されていません。\r送信したマルチを入力して下さい。");

// The entries that only make sense once a contest is chosen, with their captions.
const char *const contestSet[] = {"Text1_3",   "Text1_4",   "Text1_5",   "Text1_6",
                                  "Text1_7",   "Label3_3",  "Label3_4",  "Label3_5",
                                  "Label3_6",  "Label3_10", "Label3_11", "Label3_12",
                                  "Label3_13", "Check1_0",  "Check1_1",  "Combo1_2"};
const char *const alwaysEnabled[] = {"Label1",   "Label2",   "Label3_0", "Label3_1",   "Label3_2",
                                     "Label3_7", "Label3_8", "Combo1_0", "Combo1_1",   "Text1_0",
                                     "Text1_1",  "Text1_2",  "Text3",    "Command1_0", "List1"};
const char *const requiredLabels[] = {"Label1", "Label2", "Label3_0", "Label3_1", "Label3_2"};

template <typename T = QWidget> T *control(const QObject *form, const char *name)
{
    auto *found = form->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

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

// Every entry, one per line, so that a failed comparison shows which one differs.
QStringList fields(const StationEntries &entries)
{
    return SettingsLines(entries);
}

// The club member's settings file as lines, with the given contest in it.
QStringList settingsWith(const QString &contest)
{
    QStringList lines = TextFile::readLines(testDataFile("club.ini.txt")).lines;
    lines[0] = contest;
    return lines;
}

void writeSettings(const QStringList &lines)
{
    const auto bytes = TextFile::encodeLines(lines);
    QVERIFY(bytes);
    writeFile(settingsFileName, *bytes);
}

// Files dragged from a file manager: entered first, then dropped.
void dropFiles(QWidget *scrollArea, const QStringList &paths)
{
    QWidget *target = qobject_cast<QAbstractScrollArea *>(scrollArea)->viewport();
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstStart();
    void restoresEntriesAndContestRules_data();
    void restoresEntriesAndContestRules();
    void incompleteSettingsKeepWhatWasRestored_data();
    void incompleteSettingsKeepWhatWasRestored();
    void greyedCheckBoxClickTogglesTwoStates();
    void choosingContestAppliesItsRules_data();
    void choosingContestAppliesItsRules();
    void leavingContestTextChangesNothing_data();
    void leavingContestTextChangesNothing();

    void exportWritesFileAndSettings();
    void exportRefusesMissingEntry_data();
    void exportRefusesMissingEntry();
    void exportNamesBadLogLine();

    void menuOpenLoadsChosenFile();
    void failedLoadKeepsLogText_data();
    void failedLoadKeepsLogText();
    void dropLoadsFirstFileOnly_data();
    void dropLoadsFirstFileOnly();

    void fontDialogChangesNothing();
    void tabOrderSkipsCoveredControls();

private:
    void start();
    void showWindow();
    void checkContestState(bool enabled, const QColor &key, const QColor &power);
    QStringList contestState() const;
    void loadClubSettingsAndLog();

    QString originalDir;
    std::unique_ptr<QTemporaryDir> dir;
    FakeDialogs *fake = nullptr;
    std::unique_ptr<Form1> form;
};

void TestForm1::initTestCase()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ButtonText, buttonText);
    QApplication::setPalette(palette);
    QVERIFY(palette.color(QPalette::Active, QPalette::WindowText) != buttonText);
    originalDir = QDir::currentPath();
}

void TestForm1::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestForm1::cleanup()
{
    form.reset();
    QDir::setCurrent(originalDir);
    dir.reset();
}

void TestForm1::start()
{
    auto dialogs = std::make_unique<FakeDialogs>();
    fake = dialogs.get();
    form = std::make_unique<Form1>(std::move(dialogs));
    form->Form_Load();
}

void TestForm1::showWindow()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestForm1::checkContestState(bool enabled, const QColor &key, const QColor &power)
{
    for (const char *name : contestSet)
        QVERIFY2(control(form.get(), name)->isEnabled() == enabled, name);
    for (const char *name : alwaysEnabled)
        QVERIFY2(control(form.get(), name)->isEnabled(), name);
    QVERIFY(!control(form.get(), "Label3_9")->isEnabled());
    QCOMPARE(colour(control(form.get(), "Label3_6")), key);
    QCOMPARE(colour(control(form.get(), "Label3_3")), power);
    for (const char *name : requiredLabels)
        QCOMPARE(colour(control(form.get(), name)), requiredRed);
}

// What a contest choice changes, in a form that shows the difference.
QStringList TestForm1::contestState() const
{
    QStringList state;
    for (const char *name : contestSet)
        state.append(QStringLiteral("%1 enabled %2")
                         .arg(QLatin1String(name))
                         .arg(control(form.get(), name)->isEnabled()));
    for (const char *name : {"Label3_3", "Label3_6"})
        state.append(QLatin1String(name) + QLatin1Char(' ') +
                     colour(control(form.get(), name)).name());
    const auto *category = control<QComboBox>(form.get(), "Combo1_1");
    state << items(category) << QStringLiteral("category text: ") + category->currentText();
    return state;
}

// The club's entries restored, then the settings file removed, so that only the export
// can bring it back.
void TestForm1::loadClubSettingsAndLog()
{
    QVERIFY(QFile::copy(testDataFile("club.ini.txt"), settingsFileName));
    start();
    QVERIFY(QFile::remove(settingsFileName));
    form->List1_OLEDragDrop({testDataFile("club.zlog.txt")});
    QVERIFY(fake->prompts.isEmpty());
}

void TestForm1::firstStart()
{
    start();
    StationEntries expected;
    expected.logType = QStringLiteral("ＺＬｏｇ");
    QCOMPARE(fields(form->stationEntries()), fields(expected));
    QVERIFY(form->logText().isEmpty());
    QVERIFY(control<QRadioButton>(form.get(), "Option1_0")->isChecked());
    QVERIFY(!control<QRadioButton>(form.get(), "Option1_1")->isChecked());
    QCOMPARE(items(control<QComboBox>(form.get(), "Combo1_0")), Contests::listItems());
    QCOMPARE(items(control<QComboBox>(form.get(), "Combo1_1")), initialCategories);
    QVERIFY(fake->messages.isEmpty());
    checkContestState(false, buttonText, buttonText);
}

void TestForm1::restoresEntriesAndContestRules_data()
{
    QTest::addColumn<QString>("contest");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("key");
    QTest::addColumn<QColor>("power");
    QTest::newRow("Let's contest") << Contests::letsContest << true << requiredRed << requiredRed;
    QTest::newRow("club contest") << Contests::clubContest << true << buttonText << requiredRed;
    QTest::newRow("half-width apostrophe")
        << QStringLiteral("Ｌｅｔ'ｓ　TORNAK　コンテスト") << false << buttonText << buttonText;
    QTest::newRow("no contest") << QString() << false << buttonText << buttonText;
}

void TestForm1::restoresEntriesAndContestRules()
{
    QFETCH(QString, contest);
    QFETCH(bool, enabled);
    QFETCH(QColor, key);
    QFETCH(QColor, power);
    const QStringList saved = settingsWith(contest);
    writeSettings(saved);
    start();
    const StationEntries restored = form->stationEntries();
    QCOMPARE(fields(restored).mid(0, 15), saved.mid(0, 15));
    QCOMPARE(restored.soapbox, QStringLiteral("楽しかったです\r\n来年も参加します\r\n"));
    // A restored contest is a text, not a choice: the category list stays as built.
    QCOMPARE(items(control<QComboBox>(form.get(), "Combo1_1")), initialCategories);
    QVERIFY(fake->messages.isEmpty());
    checkContestState(enabled, key, power);
}

void TestForm1::incompleteSettingsKeepWhatWasRestored_data()
{
    QTest::addColumn<QStringList>("tail"); // what follows the 13 text lines
    QTest::newRow("13 lines") << QStringList();
    QTest::newRow("empty check-box line") << QStringList{QString(), QStringLiteral(" 1 ")};
    QTest::newRow("check box not a number")
        << QStringList{QStringLiteral("x"), QStringLiteral(" 1 "), QStringLiteral("comment")};
}

void TestForm1::incompleteSettingsKeepWhatWasRestored()
{
    QFETCH(QStringList, tail);
    const QStringList saved = settingsWith(Contests::letsContest);
    writeSettings(saved.mid(0, 13) + tail);
    start();
    const StationEntries restored = form->stationEntries();
    QCOMPARE(fields(restored).mid(0, 13), saved.mid(0, 13));
    QCOMPARE(restored.senior, 0);
    QCOMPARE(restored.donor, 0);
    QVERIFY(restored.soapbox.isEmpty());
    QVERIFY(fake->messages.isEmpty());
    // The Let's contest was restored, yet its rules are not applied to a broken file.
    checkContestState(false, buttonText, buttonText);
}

void TestForm1::greyedCheckBoxClickTogglesTwoStates()
{
    QStringList saved = settingsWith(Contests::letsContest);
    saved[13] = QStringLiteral(" 2 ");
    writeSettings(saved);
    start();
    showWindow();
    auto *senior = control<QCheckBox>(form.get(), "Check1_0");
    QCOMPARE(senior->checkState(), Qt::PartiallyChecked);
    const QPoint indicator(senior->height() / 2, senior->height() / 2);
    QTest::mouseClick(senior, Qt::LeftButton, Qt::NoModifier, indicator);
    QCOMPARE(senior->checkState(), Qt::Unchecked);
    QTest::mouseClick(senior, Qt::LeftButton, Qt::NoModifier, indicator);
    QCOMPARE(senior->checkState(), Qt::Checked);
}

void TestForm1::choosingContestAppliesItsRules_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<bool>("keepsCategory");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("key");
    QTest::addColumn<QColor>("power");
    QTest::newRow("Let's contest")
        << 2 << 1 << initialCategories << false << true << requiredRed << requiredRed;
    QTest::newRow("club contest") << 1 << 2 << clubCategories << false << true << buttonText
                                  << requiredRed;
    QTest::newRow("empty item") << 2 << 0 << clubCategories << true << false << buttonText
                                << buttonText;
}

void TestForm1::choosingContestAppliesItsRules()
{
    QFETCH(int, previous);
    QFETCH(int, choice);
    QFETCH(QStringList, categories);
    QFETCH(bool, keepsCategory);
    QFETCH(bool, enabled);
    QFETCH(QColor, key);
    QFETCH(QColor, power);
    start();
    auto *contest = control<QComboBox>(form.get(), "Combo1_0");
    auto *category = control<QComboBox>(form.get(), "Combo1_1");
    choose(contest, previous);
    choose(category, 1);
    const QString previousCategory = category->currentText();
    QVERIFY(!previousCategory.isEmpty());

    choose(contest, choice);
    QCOMPARE(items(category), categories);
    QCOMPARE(category->currentText(), keepsCategory ? previousCategory : QString());
    checkContestState(enabled, key, power);
}

void TestForm1::leavingContestTextChangesNothing_data()
{
    QTest::addColumn<QString>("restored"); // the contest in the settings file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leaveKey");
    QTest::newRow("Let's contest typed, Return")
        << QString() << Contests::letsContest << int(Qt::Key_Return);
    QTest::newRow("club contest typed, Tab")
        << QString() << Contests::clubContest << int(Qt::Key_Tab);
    QTest::newRow("club contest restored, Tab")
        << Contests::clubContest << QString() << int(Qt::Key_Tab);
}

// Only a choice from the list applies the contest rules: neither typing a contest's name
// nor leaving the box that holds it counts as a choice.
void TestForm1::leavingContestTextChangesNothing()
{
    QFETCH(QString, restored);
    QFETCH(QString, typed);
    QFETCH(int, leaveKey);
    if (!restored.isEmpty())
        writeSettings(settingsWith(restored));
    start();
    showWindow();
    auto *contest = control<QComboBox>(form.get(), "Combo1_0");
    QLineEdit *edit = contest->lineEdit();
    contest->setFocus();
    QVERIFY(edit->hasFocus());
    // Key by key with its text, as an input method commits it; keyClicks knows only Latin-1.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    const QString contestText = contest->currentText();
    QCOMPARE(contestText, restored + typed);
    const QStringList before = contestState();
    QTest::keyClick(edit, Qt::Key(leaveKey));

    QCOMPARE(contest->currentText(), contestText);
    QCOMPARE(items(contest), Contests::listItems());
    QCOMPARE(contestState(), before);
}

void TestForm1::exportWritesFileAndSettings()
{
    loadClubSettingsAndLog();
    control<QPushButton>(form.get(), "Command1_0")->click();
    QVERIFY(fake->messages.isEmpty());
    QCOMPARE(form->statusText(), QStringLiteral("JA1ABC.txt を作成しました（QSO 7 件）"));

    // The log has no year: the export takes this year's.
    QByteArray expected = readFile(testDataFile("club.expected.txt"));
    expected.replace(" 2026-", " " + QByteArray::number(QDate::currentDate().year()) + "-");
    QCOMPARE(readFile(QStringLiteral("JA1ABC.txt")), expected);

    QVERIFY(QFile::exists(settingsFileName));
    Form1 restarted(std::make_unique<FakeDialogs>());
    restarted.Form_Load();
    QCOMPARE(fields(restarted.stationEntries()), fields(form->stationEntries()));
}

void TestForm1::exportRefusesMissingEntry_data()
{
    QTest::addColumn<int>("contestChoice"); // -1: keep the restored club contest
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<QString>("message");
    QTest::newRow("callsign") << -1 << QStringLiteral("Text1_0")
                              << QStringLiteral("「コールサイン」は必須項目です");
    QTest::newRow("key, Let's contest chosen")
        << 1 << QStringLiteral("Text1_4") << QStringLiteral("「使用電鍵」は必須項目です");
    QTest::newRow("power") << -1 << QStringLiteral("Text1_5")
                           << QStringLiteral("「最大空中線電力」は必須項目です");
}

void TestForm1::exportRefusesMissingEntry()
{
    QFETCH(int, contestChoice);
    QFETCH(QString, emptied);
    QFETCH(QString, message);
    loadClubSettingsAndLog();
    if (contestChoice >= 0) {
        choose(control<QComboBox>(form.get(), "Combo1_0"), contestChoice);
        choose(control<QComboBox>(form.get(), "Combo1_1"), 0);
    }
    control<QLineEdit>(form.get(), qPrintable(emptied))->clear();

    form->Command1_Click(0);
    QCOMPARE(fake->messages, QStringList{message});
    QVERIFY(!QFile::exists(settingsFileName));
    QVERIFY(!QFile::exists(QStringLiteral("JA1ABC.txt")));
    QVERIFY(form->statusText().isEmpty());
}

void TestForm1::exportNamesBadLogLine()
{
    loadClubSettingsAndLog();
    auto *text2 = control<QPlainTextEdit>(form.get(), "Text2");
    const QString good = text2->toPlainText();
    QStringList lines = good.split(QLatin1Char('\n'));
    lines[2] = QStringLiteral("garbage here");
    text2->setPlainText(lines.join(QLatin1Char('\n')));

    form->Command1_Click(0);
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY2(fake->messages.at(0).startsWith(QStringLiteral("ログの3行目")),
             qPrintable(fake->messages.at(0)));
    QVERIFY(!QFile::exists(settingsFileName));
    QVERIFY(!QFile::exists(QStringLiteral("JA1ABC.txt")));

    // Mended in place, the next press goes through.
    text2->setPlainText(good);
    form->Command1_Click(0);
    QCOMPARE(fake->messages.size(), 1);
    QVERIFY(QFile::exists(QStringLiteral("JA1ABC.txt")));
}

void TestForm1::menuOpenLoadsChosenFile()
{
    start();
    control<QPlainTextEdit>(form.get(), "Text2")->setPlainText(QStringLiteral("typed before"));
    fake->chosenFile = testDataFile("club.zlog.txt");
    control<QAction>(form.get(), "FileOpen")->trigger();
    QCOMPARE(form->logText(), QString::fromLatin1(readFile(testDataFile("club.zlog.txt"))));
    QVERIFY(fake->prompts.isEmpty());
    QVERIFY(fake->messages.isEmpty());
}

void TestForm1::failedLoadKeepsLogText_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<std::optional<QString>>("path"); // nothing: no file given
    QTest::addColumn<int>("messages");
    QTest::newRow("menu cancelled") << true << std::optional<QString>() << 0;
    QTest::newRow("menu, missing file")
        << true << std::optional<QString>(QStringLiteral("missing.txt")) << 1;
    QTest::newRow("drop without a file") << false << std::optional<QString>() << 1;
    QTest::newRow("drop, missing file")
        << false << std::optional<QString>(QStringLiteral("missing.txt")) << 1;
}

void TestForm1::failedLoadKeepsLogText()
{
    QFETCH(bool, byMenu);
    QFETCH(std::optional<QString>, path);
    QFETCH(int, messages);
    start();
    control<QPlainTextEdit>(form.get(), "Text2")->setPlainText(QStringLiteral("typed before"));
    const QString before = form->logText();
    if (byMenu) {
        fake->chosenFile = path;
        control<QAction>(form.get(), "FileOpen")->trigger();
    } else {
        form->List1_OLEDragDrop(path ? QStringList{*path} : QStringList());
    }
    QCOMPARE(form->logText(), before);
    QCOMPARE(fake->messages.size(), messages);
    QVERIFY(fake->prompts.isEmpty());
}

void TestForm1::dropLoadsFirstFileOnly_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("multiplier");
    QTest::newRow("on the list") << QStringLiteral("List1") << QStringLiteral("13")
                                 << QStringLiteral("13");
    QTest::newRow("on the log text")
        << QStringLiteral("Text2") << QStringLiteral("7") << QStringLiteral("7 ");
    QTest::newRow("empty answer") << QStringLiteral("Text2") << QString() << QStringLiteral("  ");
}

void TestForm1::dropLoadsFirstFileOnly()
{
    QFETCH(QString, target);
    QFETCH(QString, answer);
    QFETCH(QString, multiplier);
    start();
    control<QPlainTextEdit>(form.get(), "Text2")->setPlainText(QStringLiteral("typed before"));
    fake->answer = answer;
    dropFiles(control(form.get(), qPrintable(target)),
              {testDataFile("lets.zlog.txt"), testDataFile("club.zlog.txt"),
               testDataFile("lets.expected.txt")});

    QCOMPARE(fake->prompts, QStringList{multiplierPrompt});
    QVERIFY(fake->messages.isEmpty());
    // Every line below the header lacks the multiplier and takes the answer.
    QStringList lines =
        QString::fromLatin1(readFile(testDataFile("lets.zlog.txt"))).split(QStringLiteral("\r\n"));
    for (qsizetype i = 1; i < lines.size() - 1; ++i)
        lines[i].replace(27, 2, multiplier);
    QCOMPARE(form->logText(), lines.join(QStringLiteral("\r\n")));
}

void TestForm1::fontDialogChangesNothing()
{
    loadClubSettingsAndLog();
    const auto snapshot = [this] {
        QStringList state = fields(form->stationEntries());
        state << form->logText() << form->font().toString();
        for (const char *name : {"Text2", "List1", "Command1_0", "Text3", "Text1_0", "Label1"})
            state << control(form.get(), name)->font().toString();
        return state << QDir().entryList(QDir::Files);
    };
    const QStringList before = snapshot();
    control<QAction>(form.get(), "gengo")->trigger();
    QCOMPARE(fake->fontDialogs, 1);
    QCOMPARE(snapshot(), before);
}

void TestForm1::tabOrderSkipsCoveredControls()
{
    // With a contest restored every entry is enabled, so the Tab key visits them all.
    writeSettings(settingsWith(Contests::letsContest));
    start();
    showWindow();
    for (const char *name : {"Combo1_3", "Combo1_4", "Option1_0", "Option1_1"})
        QVERIFY2(control(form.get(), name)->focusPolicy() == Qt::NoFocus, name);

    const char *const order[] = {"Combo1_0", "Text1_0",  "Text1_1", "Text1_2",  "Text2",
                                 "Text1_3",  "Text1_4",  "Text1_5", "Text3",    "Command1_0",
                                 "Combo1_1", "Combo1_2", "List1",   "Check1_0", "Text1_6",
                                 "Text1_7",  "Check1_1", "Combo1_0"};
    control(form.get(), "Combo1_0")->setFocus();
    QStringList expected, visited;
    for (const char *name : order) {
        expected.append(QString::fromLatin1(name));
        // The focus may sit in a control's inner part, such as a drop-down's line edit.
        QWidget *focused = QApplication::focusWidget();
        QWidget *owner = focused;
        while (owner && owner->parentWidget() != form->centralWidget())
            owner = owner->parentWidget();
        visited.append(owner ? owner->objectName() : QStringLiteral("(none)"));
        if (focused)
            QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
