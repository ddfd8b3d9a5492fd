// Starts the window as the program does, then takes a dropped log, and prints when each
// step was done on the machine-wide monotonic clock, so the process that started it can
// tell the time from its own start() to the window on screen.
//
//   tornak-bench-window LOGFILE     (run by tornak-bench with QT_QPA_PLATFORM=offscreen)

#include "bench_clock.h"

#include "../tests/fake_dialogs.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QWidget>

#include <cstdio>
#include <memory>

namespace
{

// Notices a paint of any widget inside the watched one. Widgets are painted in one pass
// per frame, so once the event loop returns after a paint, the frame is done.
class PaintWatch : public QObject
{
public:
    QWidget *watched = nullptr;
    bool painted = false;

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched) {
            auto *widget = qobject_cast<QWidget *>(object);
            if (widget && (widget == watched || watched->isAncestorOf(widget)))
                painted = true;
        }
        return false;
    }
};

bool waitForPaint(PaintWatch &watch)
{
    const double giveUp = monotonicSeconds() + 10.0;
    while (!watch.painted && monotonicSeconds() < giveUp)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return watch.painted;
}

void say(const char *key, double value)
{
    std::printf("%s=%.9f\n", key, value);
}

} // namespace

int main(int argc, char *argv[])
{
    const double entered = monotonicSeconds();
    if (argc != 2) {
        std::fprintf(stderr, "usage: tornak-bench-window LOGFILE\n");
        return 2;
    }
    // As the program's own window start does.
    QApplication application(argc, argv);
    SetUpWindowApplication();
    const double applicationMade = monotonicSeconds();

    auto dialogs = std::make_unique<FakeDialogs>();
    FakeDialogs *shownDialogs = dialogs.get();
    Form1 window(settingsFileName, QString(), std::move(dialogs));
    const double constructed = monotonicSeconds();
    window.Form_Load();
    const double loaded = monotonicSeconds();

    PaintWatch watch;
    watch.watched = &window;
    application.installEventFilter(&watch);
    window.show();
    if (!waitForPaint(watch)) {
        std::fprintf(stderr, "the window was never painted\n");
        return 1;
    }
    const double shown = monotonicSeconds();

    auto *text2 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    if (!text2) {
        std::fprintf(stderr, "no Text2 in the window\n");
        return 1;
    }
    watch.watched = text2;
    watch.painted = false;
    const double dropStart = monotonicSeconds();
    window.List1_OLEDragDrop({QString::fromLocal8Bit(argv[1])});
    const double dropped = monotonicSeconds();
    const bool repainted = waitForPaint(watch);
    const double dropPainted = monotonicSeconds();
    if (!shownDialogs->messages.isEmpty() || text2->blockCount() < 2 || !repainted) {
        std::fprintf(stderr, "the log was not loaded: %s\n",
                     shownDialogs->messages.join(QLatin1Char('\n')).toLocal8Bit().constData());
        return 1;
    }

    say("main", entered);
    say("application", applicationMade);
    say("constructed", constructed);
    say("loaded", loaded);
    say("shown", shown);
    say("drop", dropped - dropStart);
    say("dropPainted", dropPainted - dropStart);
    return 0;
}
