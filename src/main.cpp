#include "command_line/command_line.h"
#include "core/messages.h"
#include "program/program.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"

#include <QApplication>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace
{

// Qt would abort with an English message; say in the user's words what to do instead.
bool displayAvailable()
{
#if defined(Q_OS_WIN)
    return true;
#else
    const auto set = [](const char *name) { return !qEnvironmentVariableIsEmpty(name); };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#endif
}

int runWindow(int argc, char *argv[])
{
    if (!displayAvailable()) {
        standardError() << Messages::noDisplay() << Qt::endl;
        return 1;
    }
#if defined(Q_OS_WIN)
    // The program is a console program, so that the command line prints and waits as one
    // does; started by a double click it has a console of its own, which the window lets go.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
#endif
    QApplication app(argc, argv);
    SetUpWindowApplication();
    Form1 window(settingsFileName, QString());
    window.Form_Load();
    window.show();
    return app.exec();
}

} // namespace

// With arguments it is the command line; without, the window.
int main(int argc, char *argv[])
{
    if (argc == 1)
        return runWindow(argc, argv);
    return RunCommandLine(argc, argv);
}
