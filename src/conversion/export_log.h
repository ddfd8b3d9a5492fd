#pragma once

#include "conversion/qso_lines.h"
#include "core/station_entries.h"

#include <QString>

#include <functional>
#include <optional>

struct ExportRequest {
    StationEntries entries;
    LogSource log;        // LinesOfLogText() of the log box, or a file read as it converts
    int year = 0;         // the log gives month and day only
    QString outputFolder; // where <callsign>.txt goes
    QString settingsPath; // where the entries are saved; empty to save nothing
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

// Checks the entries, builds the whole Cabrillo file and checks that every text can be
// written in Shift_JIS and holds no control character before anything is touched; then
// saves the settings and writes the output in one piece, so an existing file is never left
// half-written. When the output cannot be written, the settings have been saved already.
ExportResult ExportCabrilloLog(const ExportRequest &request);
