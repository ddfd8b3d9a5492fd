#include "convert_command.h"

#include "conversion/export_log.h"
#include "core/messages.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"

int RunConvert(const ConvertOptions &options, QTextStream &out, QTextStream &err)
{
    StationEntries entries = InitialStationEntries();
    const SettingsLoad settings = LoadSettings(options.settingsFile, entries);
    if (settings.outcome == SettingsLoad::Outcome::Failed)
        err << Messages::warning(settings.problem) << Qt::endl;

    const auto answer = [&](const QString &) { return options.multiplier.value_or(QString()); };
    const LoadedLog log = LoadLogFile(options.logFile, answer);
    if (!log.error.isEmpty()) {
        err << log.error << Qt::endl;
        return 1;
    }
    if (log.asked && !options.multiplier)
        err << Messages::warning(Messages::multiplierMissing()) << Qt::endl;

    ExportRequest request;
    request.entries = entries;
    request.logText = log.text;
    request.year = options.year;
    request.outputFolder = options.outputFolder;
    const ExportResult result = ExportCabrilloLog(request);
    if (!result.written) {
        err << result.message << Qt::endl;
        return 1;
    }
    out << result.outputPath << Qt::endl;
    return 0;
}
