#pragma once

#include "conversion/station_entries.h"

#include <QString>

#include <optional>

struct ExportRequest {
    StationEntries entries;
    QString logText;      // lines separated by CR LF
    int year = 0;         // the log gives month and day only
    QString outputFolder; // where <callsign>.txt goes
    QString settingsPath; // where the entries are saved; empty to save nothing
};

struct ExportResult {
    bool written = false;
    QString message;    // why nothing was written; empty on success
    QString outputPath; // the file written
    int qsoCount = 0;
    std::optional<QString> shortenedAddress; // the address entry as the window must now show it
    QString settingsError;                   // the settings could not be saved; the export went on
};

// Checks the entries, builds the whole Cabrillo file and checks that every text can be
// written in Shift_JIS before anything is touched; then saves the settings and writes the
// output in one piece, so an existing file is never left half-written.
ExportResult ExportCabrilloLog(const ExportRequest &request);
