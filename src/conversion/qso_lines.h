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

// A log's lines, handed in order to the receiver until it answers false: those of a log
// text, or of a file converted as it is read. Gives back why the log could not be read.
using LogLineReceiver = std::function<bool(QStringView line)>;
using LogSource = std::function<std::optional<QString>(const LogLineReceiver &receive)>;

// The lines of a log text, as the log box holds it: cut at each LF, whose character in
// front is taken for the CR of a CR LF. A text that starts with an LF, or two LFs in a row,
// cannot be read so.
LogSource LinesOfLogText(const QString &logText);

// Converts zLOG's text export into Cabrillo QSO lines, then the end line. The log gives no
// year, so the caller passes it; times above 1100 are taken back nine hours, from JST
// towards UTC. Gives back why a line cannot be read or converted; lines before it were sent.
std::optional<QString> WriteQsoLines(const LogSource &log, const QString &ownCallsign, int year,
                                     const QsoLineSink &sink);

// The same for a log text, collected.
QsoLines WriteQsoLines(const QString &logText, const QString &ownCallsign, int year);
