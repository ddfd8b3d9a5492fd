// Writes pictures of the window in its usual states, for a person to look at.
#include "../tests/fake_dialogs.h"
#include "core/messages.h"
#include "core/today.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"
#include "ui/qt_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace
{

void save(QWidget &widget, const QString &folder, const char *name)
{
    for (int i = 0; i < 5; ++i) // a dialog lays itself out over a few turns of the loop
        QApplication::processEvents();
    const QString path = QDir(folder).filePath(QLatin1String(name));
    widget.grab().save(path);
    QTextStream(stdout) << path << Qt::endl;
}

// What the screen shows over the window, menus included.
void saveScreen(QWidget &window, const QString &folder, const char *name)
{
    const QString path = QDir(folder).filePath(QLatin1String(name));
    const QRect frame = window.frameGeometry();
    QGuiApplication::primaryScreen()
        ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
        .save(path);
    QTextStream(stdout) << path << Qt::endl;
}

// The window's own dialogs, shown without waiting for an answer.
void saveDialog(std::unique_ptr<QDialog> dialog, const QString &folder, const char *name)
{
    dialog->show();
    save(*dialog, folder, name);
}

void choose(Form1 &window, int position)
{
    auto *contest = window.findChild<QComboBox *>(QStringLiteral("Combo1_0"));
    contest->setCurrentIndex(position);
    Q_EMIT contest->activated(position);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpWindowApplication();
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: tornak-screenshots OUTPUT_DIR EXAMPLES_DIR" << Qt::endl;
        return 2;
    }
    const QString out = QDir(args.at(1)).absolutePath();
    const QDir examples(QDir(args.at(2)).absolutePath());
    QDir().mkpath(out);
    QTemporaryDir work;
    QDir::setCurrent(work.path());

    {
        Form1 window(settingsFileName, QString(), std::make_unique<FakeDialogs>());
        window.Form_Load();
        window.show();
        save(window, out, "1-first-start.png");
        choose(window, 1);
        save(window, out, "2-lets-contest.png");
        choose(window, 2);
        save(window, out, "3-club-contest.png");
        choose(window, 0);
        save(window, out, "4-no-contest.png");
    }

    QFile::copy(examples.filePath(QStringLiteral("ini.txt")), QStringLiteral("ini.txt"));
    // The example's contest day is close: only the warnings of the log itself show.
    Today::set(QDate(2026, 11, 30));
    auto dialogs = std::make_unique<FakeDialogs>();
    FakeDialogs *answered = dialogs.get();
    dialogs->answer = QStringLiteral("10");
    Form1 window(settingsFileName, QString(), std::move(dialogs));
    window.Form_Load();
    window.show();
    window.List1_OLEDragDrop({examples.filePath(QStringLiteral("zlog-export.txt"))});
    save(window, out, "5-restored-and-loaded.png");
    window.Command1_Click(0);
    save(window, out, "6-exported.png");
    window.findChild<QAction *>(QStringLiteral("logCheck"))->trigger();
    saveDialog(LogCheckDialog(&window, *answered->check, answered->selectLine), out,
               "16-log-check.png");

    saveDialog(OpenLogDialog(&window), out, "7-open-dialog.png");
    saveDialog(TextDialog(&window, Messages::multiplierPrompt), out, "8-multiplier-question.png");
    saveDialog(FontDialog(&window, QFont(QFontInfo(JapaneseFont(false, 9)).family(), 9)), out,
               "9-font-dialog.png");
    saveDialog(MessageDialog(&window, Messages::required(Messages::entryKey)), out,
               "10-refusal.png");
    saveDialog(QuestionDialog(&window, Messages::replaceWithEmptyLog(QStringLiteral("JA1ABC.txt"))),
               out, "11-replace-question.png");
    saveDialog(QuestionDialog(&window, Messages::writeEmptyLog()), out,
               "12-empty-log-question.png");

    // The File menu opened with Alt+F: a menu is a window of its own, so the screen is taken.
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        QTextStream(stderr) << "the window did not become active" << Qt::endl;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
    QTest::qWait(500);
    saveScreen(window, out, "13-file-menu.png");
    if (QWidget *menu = QApplication::activePopupWidget())
        menu->close();

    // A screen smaller than the layout scrolls it; a larger window gives the log box the room.
    const QSize usual = window.size();
    // The scroll area lays itself out, and shows its bars, only once the events have run.
    window.resize(usual - QSize(250, 200));
    QTest::qWait(300);
    save(window, out, "14-small-screen.png");
    window.resize(usual + QSize(200, 150));
    QTest::qWait(300);
    save(window, out, "15-enlarged.png");
    return 0;
}
