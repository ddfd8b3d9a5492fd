#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct QsoLines {
    // One line per data line of the log, then the end line.
    QStringList lines;
    // For each QSO line, the 1-based number of the log-text line it came from.
    QList<int> sourceLines;
    // Set when a data line cannot be converted; the lines are then incomplete.
    std::optional<QString> error;
};

// Receives each line as it is made, with the number of the log-text line it came from
// (0 for the end line).
using QsoLineSink = std::function<void(QStringView line, int sourceLine)>;

// Converts zLOG's text export into Cabrillo QSO lines, then the end line. The log gives no
// year, so the caller passes it; times above 1100 are taken back nine hours, from JST
// towards UTC. Gives back why a data line cannot be converted; lines before it were sent.
std::optional<QString> WriteQsoLines(const QString &logText, const QString &ownCallsign, int year,
                                     const QsoLineSink &sink);

// The same, collected.
QsoLines WriteQsoLines(const QString &logText, const QString &ownCallsign, int year);
