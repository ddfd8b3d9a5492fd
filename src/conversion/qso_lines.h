#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct QsoLines {
    // One line per data line of the log, then the end line.
    QStringList lines;
    // For each QSO line, the 1-based number of the log-text line it came from.
    QList<int> sourceLines;
    // Set when a data line cannot be converted; the lines are then incomplete.
    std::optional<QString> error;
};

// Converts zLOG's text export into Cabrillo QSO lines. The log gives no year, so the
// caller passes it; times above 1100 are taken back nine hours, from JST towards UTC.
QsoLines WriteQsoLines(const QString &logText, const QString &ownCallsign, int year);
