#pragma once

#include "core/station_entries.h"

#include <QStringList>

#include <optional>

// The file that brings the entries back at the next start: 13 texts, the two check-box
// values, then the soapbox lines. Line positions alone say which entry a line is.
inline const QString settingsFileName = QStringLiteral("ini.txt");

// The file's lines, each to be followed by CR LF.
QStringList SettingsLines(const StationEntries &entries);

// Writes the file whole, or leaves the old one; gives back the message on failure.
// Callers check that the entries can be written in Shift_JIS.
std::optional<QString> SaveSettings(const QString &path, const StationEntries &entries);

struct SettingsLoad {
    // Complete: every fixed line was read and the contest rules may be applied to the
    // restored contest. Failed: the load stopped early; what was read before stays.
    enum class Outcome { Complete, Failed };
    Outcome outcome = Outcome::Failed;
    int linesRestored = 0;
    QString problem; // why it failed, for a caller that reports it
};

// Restores entries in file order and stops at the first line that cannot be used.
SettingsLoad LoadSettings(const QString &path, StationEntries &entries);
