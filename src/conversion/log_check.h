#pragma once

#include "conversion/qso_lines.h"
#include "core/station_entries.h"

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

// What the entrant should see before the file goes out: a summary of the log, and the
// mistakes organizers see every year. Advice only: the export writes the log as it is.

// QSOs of one band and mode; band indexes ZlogExport::bandTexts.
struct BandModeCount {
    int band = 0;
    QString mode;
    int count = 0;
};

// A QSO's date and time as its Cabrillo line will carry them.
struct WrittenMoment {
    QDate date;
    QString time; // hhmm
};

struct LogSummary {
    int qsoCount = 0;
    QList<BandModeCount> bandModes; // by band, then by mode in zLOG's order
    WrittenMoment first, last;      // of the first and the last QSO line
    int receivedMultipliers = 0;    // distinct texts of the multiplier column
    int markedDuplicates = 0;       // QSOs zLOG marked -DUPE-
};

// One warning: which rule found it, what it says, and where: the log's lines it names
// (numbers counted as the log box counts them), or, without lines, the entries.
struct Finding {
    QString rule;
    QString text;
    QList<int> lines;
    QString where;
};

struct LogCheck {
    LogSummary summary;
    QList<Finding> findings;
};

// Looks at the QSOs one by one, as the export reads them, so that an export checks its log
// in the same pass.
class LogChecker
{
public:
    LogChecker(const StationEntries &entries, const QDate &today);
    ~LogChecker();
    LogChecker(const LogChecker &) = delete;
    LogChecker &operator=(const LogChecker &) = delete;

    // A QSO read from the trimmed line of that number.
    void add(const Qso &qso, QStringView line, int lineNumber);
    // The summary and the warnings. The log is read again only for the text of the first
    // line of a station worked again without zLOG's mark.
    LogCheck finish(const LogSource &log);

private:
    struct Observed;
    void worked(int bandMode, QStringView callsign, bool marked, QStringView line, int number);
    void readFirstLines(const LogSource &log);
    void dated(const QDate &date, QStringView line, int number);
    void sent(QStringView exchange, QStringView line, int number);

    std::unique_ptr<Observed> seen;
    QDate lastDate;
    QString lastTime;
};

// Reads every QSO of the log as the export would, and checks it against the entries. Lines
// the export would refuse are left to the export. today decides how far away is too far.
LogCheck CheckLog(const StationEntries &entries, const LogSource &log, QsoYear year,
                  const QDate &today);

// The QSOs counted per band, in band order, as "7MHz 5・14MHz 2".
QString BandCounts(const LogSummary &summary);
// A band as the entrant names it: "7MHz", "10GHz".
QString BandName(int band);
// The summary in one line, as the status line and the command line give it: "QSO 7 件
// （7MHz 5・14MHz 2）、11-23 0902〜1459、警告 1 件".
QString SummaryLine(const LogCheck &check);
