#include "console_output.h"
#include "convert_command.h"

#include "core/messages.h"
#include "settings/settings_file.h"
#include "ui/application.h"
#include "ui/form1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>

#include <cstdio>
#include <cstdlib>
#include <new>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace
{

constexpr int exitUsage = 2;

QTextStream &standardOutput()
{
    static ConsoleOutput device(stdout);
    static QTextStream stream(&device);
    return stream;
}

QTextStream &standardError()
{
    static ConsoleOutput device(stderr);
    static QTextStream stream(&device);
    return stream;
}

struct Options {
    QCommandLineOption settings{QStringLiteral("settings"),
                                QStringLiteral("局情報を読む設定ファイル（既定: ini.txt）"),
                                QStringLiteral("FILE"), settingsFileName};
    QCommandLineOption multiplier{QStringLiteral("multiplier"),
                                  QStringLiteral("ログに無い自分の送信マルチ"),
                                  QStringLiteral("TEXT")};
    QCommandLineOption year{QStringLiteral("year"), QStringLiteral("QSOの年（既定: 今年）"),
                            QStringLiteral("YYYY")};
    QCommandLineOption outputDir{
        QStringLiteral("output-dir"),
        QStringLiteral("Cabrilloファイルを書くフォルダー（既定: 現在のフォルダー）"),
        QStringLiteral("DIR")};
};

int usageError(const QString &message)
{
    QTextStream &err = standardError();
    err << message << Qt::endl << Messages::seeHelp() << Qt::endl;
    return exitUsage;
}

// Qt's usage line names the program as it was started (a path, with or without ".exe");
// the rest of the help names it as one types it.
QString helpText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    const QString started = QCoreApplication::arguments().constFirst();
    if (const qsizetype at = text.indexOf(started); at >= 0)
        text.replace(at, started.size(), Messages::commandName);
    return text;
}

std::optional<int> parseYear(const QString &text)
{
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok || text.size() != 4 || year < 1000)
        return std::nullopt;
    return year;
}

int runCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(programName);
    QCoreApplication::setApplicationVersion(QStringLiteral(TORNAK_VERSION));
    UseJapanese();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "zLOGのログ（.ZLOX、.ZLO、またはテキスト出力）からTORNAKクラブのコンテスト用Cabrillo"
            "ファイルを作ります。\n"
            "引数なしで起動するとウィンドウが開きます。\n\n"
            "  %1 convert LOGFILE [オプション]")
            .arg(Messages::commandName));
    // Qt's own help option is described in English whatever its catalogue says.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("使い方を表示する。"));
    const QCommandLineOption version = parser.addVersionOption();
    Options options;
    parser.addOptions(
        {help, options.settings, options.multiplier, options.year, options.outputDir});
    parser.addPositionalArgument(QStringLiteral("convert"),
                                 QStringLiteral("LOGFILE をCabrilloファイルに変換します"),
                                 QStringLiteral("convert LOGFILE"));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    // Written through our own streams: on Windows, Qt's would put them in a message box
    // whenever the program has no console window of its own, as under a script.
    if (parser.isSet(help)) {
        standardOutput() << helpText(parser);
        return 0;
    }
    if (parser.isSet(version)) {
        standardOutput() << Messages::commandName << ' ' << QCoreApplication::applicationVersion()
                         << Qt::endl;
        return 0;
    }

    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty() || arguments.first() != QLatin1String("convert"))
        return usageError(Messages::noCommand());
    if (arguments.size() != 2)
        return usageError(Messages::oneLogFile());

    ConvertOptions convert;
    convert.logFile = arguments.at(1);
    convert.settingsFile = parser.value(options.settings);
    convert.outputFolder = parser.value(options.outputDir);
    if (parser.isSet(options.multiplier))
        convert.multiplier = parser.value(options.multiplier);
    convert.year = QDate::currentDate().year();
    if (parser.isSet(options.year)) {
        const auto year = parseYear(parser.value(options.year));
        if (!year)
            return usageError(Messages::badYear());
        convert.year = *year;
    }
    return RunConvert(convert, standardOutput(), standardError());
}

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
    QApplication::setApplicationVersion(QStringLiteral(TORNAK_VERSION));
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
    try {
        return runCommandLine(argc, argv);
    } catch (const std::bad_alloc &) {
        standardError() << Messages::outOfMemory() << Qt::endl;
        return 1;
    }
}
