#pragma once

#include "conversion/qso_lines.h"
#include "core/station_entries.h"

#include <QString>

#include <functional>
#include <optional>

struct ExportRequest {
    StationEntries entries;
    LogSource log;             // LinesOfLogText() of the log box, or a file read as it converts
    QsoYear year;              // a text export gives month and day only
    QString outputFolder;      // where <callsign>.txt goes
    QString settingsPath;      // where the entries are saved; empty to save nothing
    QString settingsRead;      // where the entries came from, when not from settingsPath
    QString logPath;           // the file the log was loaded from; empty when none
    bool writeNothing = false; // everything is checked; nothing is saved or written
    QsoObserver observeQso;    // sees each QSO as it is converted, e.g. to check the log
    // Asked, with the file's name and whether an existing file would be replaced, before a
    // log without QSOs is written; unset to write it without asking.
    std::function<bool(const QString &fileName, bool replacing)> confirmEmptyLog;
};

struct ExportResult {
    bool written = false;
    bool declined = false; // writing an empty log was declined: nothing written
    QString message;       // why nothing was written; empty on success or when declined
    QString outputPath;    // the file written
    int qsoCount = 0;
    std::optional<QString> shortenedAddress; // the address entry as the window must now show it
    QString settingsError;                   // the settings could not be saved; the export went on
};

// Checks the entries and the output's name, then converts the log line by line, streaming
// the encoded lines into a temporary file beside the output. Any line that cannot be read,
// converted or written in Shift_JIS stops the export with nothing saved; only when every line
// has passed are the settings saved and the temporary file put in the output's place in one
// step, so an existing file is never left half-written. When that last step fails, the
// settings have been saved already.
ExportResult ExportCabrilloLog(const ExportRequest &request);
