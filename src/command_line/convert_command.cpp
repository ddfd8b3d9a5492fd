#include "command_line/convert_command.h"

#include "conversion/export_log.h"
#include "core/messages.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"

#include <QDir>

int RunConvert(const ConvertOptions &options, QTextStream &out, QTextStream &err)
{
    StationEntries entries = InitialStationEntries();
    const SettingsLoad settings = LoadSettings(options.settingsFile, entries);
    if (settings.outcome == SettingsLoad::Outcome::Failed)
        err << Messages::warning(settings.problem) << Qt::endl;

    const auto answer = [&](const QString &) { return options.multiplier.value_or(QString()); };
    // The log is converted as it is read, so that a large one never stands in memory whole.
    LogFile log(options.logFile);
    if (const QString error = log.open(); !error.isEmpty()) {
        err << error << Qt::endl;
        return 1;
    }
    MultiplierPatch patch(answer);

    ExportRequest request;
    request.entries = entries;
    request.log = [&](const LogLineReceiver &receive) -> std::optional<QString> {
        const QString error = log.read([&](const ZlogExport::Line &line) {
            ZlogExport::Line patched = line;
            patched.text = patch.apply(line.text, line.sentExchangeColumn);
            return receive(patched);
        });
        return error.isEmpty() ? std::nullopt : std::optional<QString>(error);
    };
    request.year = options.year;
    request.outputFolder = options.outputFolder;
    request.settingsRead = options.settingsFile;
    request.logPath = options.logFile;
    const ExportResult result = ExportCabrilloLog(request);
    if (patch.asked() && !options.multiplier)
        err << Messages::warning(Messages::multiplierMissing()) << Qt::endl;
    if (!result.written) {
        err << result.message << Qt::endl;
        return 1;
    }
    out << QDir::toNativeSeparators(result.outputPath) << Qt::endl;
    return 0;
}
