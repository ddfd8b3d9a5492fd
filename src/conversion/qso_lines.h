#pragma once

#include "core/zlog_export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <variant>

// Receives each line as it is made, with the number of the log-text line it came from
// (0 for the end line).
using QsoLineSink = std::function<void(QStringView line, int sourceLine)>;

// A log's lines, handed in order to the receiver until it answers false: those of a log
// text, or of a file converted as it is read. Gives back why the log could not be read.
using LogLineReceiver = std::function<bool(const ZlogExport::Line &line)>;
using LogSource = std::function<std::optional<QString>(const LogLineReceiver &receive)>;

// The lines of a log text, as the log box holds it: cut at each LF, whose character in
// front is taken for the CR of a CR LF. A text that starts with an LF, or two LFs in a row,
// cannot be read so. years, where given, holds the year of each line, as zLOG's file
// recorded it.
LogSource LinesOfLogText(const QString &logText, const QList<int> &years = {});

// The year a QSO line carries: the log's own for a line of zLOG's file, else the fallback;
// an explicit choice overrides the log.
struct QsoYear {
    int fallback = 0;
    bool overridesLog = false;

    int of(const ZlogExport::Line &line) const
    {
        return line.year != 0 && !overridesLog ? line.year : fallback;
    }
};

// One QSO of the log, checked, with what the Cabrillo line takes from it.
struct Qso {
    ZlogExport::QsoFields fields;
    int band = 0; // index into ZlogExport::bandTexts
    int mode = 0; // as ZlogExport::modeIndex numbers it
    int year = 0;
    bool timeShifted = false;
    std::array<char16_t, 4> shiftedTime{};

    // The time as written: taken back nine hours after 11:00 JST, else as logged.
    QStringView writtenTime() const
    {
        return timeShifted ? QStringView(shiftedTime.data(), 4) : fields.time;
    }
};

// A trimmed data line as a QSO, or the message that names the line and what is wrong in it.
std::variant<Qso, QString> ReadQsoLine(QStringView line, int lineNumber, int year);

// Whether a log line is one the conversion passes over: empty, or zLOG's header.
bool IsPassedOver(QStringView trimmedLine);

// Sees each QSO the conversion wrote, with its trimmed line and that line's number.
using QsoObserver = std::function<void(const Qso &qso, QStringView line, int lineNumber)>;

// Converts zLOG's text export into Cabrillo QSO lines, then the end line. Times above 1100
// are taken back nine hours, from JST towards UTC. Gives back why a line cannot be read or
// converted; lines before it were sent.
std::optional<QString> WriteQsoLines(const LogSource &log, const QString &ownCallsign, QsoYear year,
                                     const QsoLineSink &sink, const QsoObserver &observe = {});
