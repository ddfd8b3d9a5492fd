#include "command_line/command_line.h"

#include "command_line/convert_command.h"
#include "core/messages.h"
#include "core/today.h"
#include "input/log_loading.h"
#include "program/program.h"
#include "settings/settings_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <new>

namespace
{

constexpr int exitUsage = 2;

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
    QCommandLineOption noCheck{QStringLiteral("no-check"),
                               QStringLiteral("convert でログの確認（警告）を省く")};
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

int parseAndRun(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SetUpProgram();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "zLOGのログ（.ZLOX、.ZLO、またはテキスト出力）からTORNAKクラブのコンテスト用Cabrillo"
            "ファイルを作ります。\n"
            "引数なしで起動するとウィンドウが開きます。\n\n"
            "  %1 convert LOGFILE [オプション]\n"
            "  %1 check LOGFILE [オプション]")
            .arg(Messages::commandName));
    // Qt's own help option is described in English whatever its catalogue says.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("使い方を表示する。"));
    const QCommandLineOption version = parser.addVersionOption();
    Options options;
    parser.addOptions({help, options.settings, options.multiplier, options.year, options.outputDir,
                       options.noCheck});
    parser.addPositionalArgument(QStringLiteral("convert"),
                                 QStringLiteral("LOGFILE をCabrilloファイルに変換します"),
                                 QStringLiteral("convert LOGFILE"));
    parser.addPositionalArgument(
        QStringLiteral("check"),
        QStringLiteral("LOGFILE を確かめ、概要と警告を表示します（何も書きません）"),
        QStringLiteral("check LOGFILE"));

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
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
    const QString command = arguments.value(0);
    if (command != QLatin1String("convert") && command != QLatin1String("check"))
        return usageError(Messages::noCommand());
    if (arguments.size() != 2)
        return usageError(Messages::oneLogFile());

    ConvertOptions convert;
    // Checked before anything else, also when the log would not ask for it.
    if (parser.isSet(options.multiplier)) {
        convert.multiplier = SentMultiplierAnswer(parser.value(options.multiplier));
        if (!convert.multiplier)
            return usageError(Messages::badMultiplierAnswer());
    }
    convert.logFile = arguments.at(1);
    convert.settingsFile = parser.value(options.settings);
    convert.outputFolder = parser.value(options.outputDir);
    convert.checkLog = !parser.isSet(options.noCheck);
    convert.year.fallback = Today::date().year();
    if (parser.isSet(options.year)) {
        const auto year = parseYear(parser.value(options.year));
        if (!year)
            return usageError(Messages::badYear());
        convert.year = {*year, true};
    }
    if (command == QLatin1String("check"))
        return RunCheck(convert, standardOutput(), standardError());
    return RunConvert(convert, standardOutput(), standardError());
}

} // namespace

int RunCommandLine(int argc, char *argv[])
{
    try {
        return parseAndRun(argc, argv);
    } catch (const std::bad_alloc &) {
        standardError() << Messages::outOfMemory() << Qt::endl;
        return 1;
    }
}
