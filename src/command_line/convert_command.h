#pragma once

#include "conversion/qso_lines.h"

#include <QString>
#include <QTextStream>

#include <optional>

struct ConvertOptions {
    QString logFile;
    QString settingsFile;
    QString outputFolder;
    std::optional<QString> multiplier; // the answer to the sent-multiplier question, checked
    QsoYear year;                      // --year overrides the years of zLOG's files
    bool checkLog = true;              // convert's warnings, which scripts may do without
};

// check's status when the log would be written, yet holds something to look at.
constexpr int exitWarnings = 3;

// The window's export without the window: entries from the settings file, which is
// left as it is. Gives back the exit status: 0 written, 1 refused.
int RunConvert(const ConvertOptions &options, QTextStream &out, QTextStream &err);

// The export's checks, and the check of the log, writing nothing: the summary and one
// warning a line on standard output. Gives back 0 without warnings, exitWarnings with
// some, 1 when the export would refuse.
int RunCheck(const ConvertOptions &options, QTextStream &out, QTextStream &err);
