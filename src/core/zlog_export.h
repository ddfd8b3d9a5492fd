#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The lines of zLOG's DOS-compatible text export, which both the loader and the conversion
// read, and which the reader of zLOG's own files writes: the header line, the fields of a QSO
// line, and the band and mode texts zLOG writes.
namespace ZlogExport
{

// Column 28, counted from 0: where the sent exchange follows the sent report.
constexpr qsizetype sentExchangeColumn = 27;

// zLOG's bands in MHz, in the order its files number them.
inline constexpr std::array<const char *, 16> bandTexts{"1.9",  "3.5",  "7",    "10", "14",  "18",
                                                        "21",   "24",   "28",   "50", "144", "430",
                                                        "1200", "2400", "5600", "10G"};

// zLOG's modes, in the order its files number them; the export also writes these two.
inline constexpr std::array<const char *, 8> modeTexts{"CW",  "SSB", "FM",  "AM",
                                                       "RTT", "FT4", "FT8", "Oth"};
inline constexpr std::array<const char *, 2> moreModeTexts{"RTTY", "Other"};

// The fields of a QSO line, left to right. The multiplier field is empty when the line has
// none; the points and the memo are not kept.
struct QsoFields {
    QStringView month;
    QStringView day;
    QStringView time;
    QStringView callsign;
    QStringView sent;     // the report with the exchange directly behind it
    QStringView received; // likewise
    QStringView multiplier;
    QStringView band;
    QStringView mode;
};

// A line of a log as a reader hands it on, with what a zLOG file knows beside it.
struct Line {
    QStringView text;
    int year = 0; // the QSO's year as zLOG's file records it; 0 where the log does not say
    qsizetype sentExchangeColumn = ZlogExport::sentExchangeColumn;
};

// zLOG's own header line: it holds "callsign" or "ログデータ" and does not begin with a
// month, a day and a time. A QSO line is never one, whatever its memo says.
bool isHeaderLine(QStringView line);

// A line without its leading and trailing blanks; zLOG separates fields by the plain blank
// only, so tabs and full-width blanks are text.
QStringView trimmed(QStringView line);

// Splits a trimmed line at its blanks. Gives back the fields, or nothing when the line has
// fewer than nine; fieldCount is set either way (12 stands for twelve or more).
std::optional<QsoFields> split(QStringView line, int &fieldCount);

// Which of bandTexts a band is: the text itself, or a decimal of the same value in MHz ("07",
// "3.50"); nothing for any other text.
std::optional<int> bandIndex(QStringView band);
// Which of zLOG's modes a text is, numbered through modeTexts then moreModeTexts; nothing for
// any other text, "cw" included.
constexpr int modeCount = int(modeTexts.size() + moreModeTexts.size());
std::optional<int> modeIndex(QStringView mode);
const char *modeText(int index);
// zLOG reports "599" for telegraphy and the data modes, "59" for phone.
int reportLength(QStringView mode);

// Month and day as zLOG writes them (one or two digits), a real day of that year.
bool isDate(QStringView month, QStringView day, int year);
// One to four digits read as hhmm, up to 2359.
bool isTime(QStringView time);
// The value of ASCII digits: 930 for "0930".
int numberOf(QStringView digits);

bool isAsciiDigits(QStringView text);

} // namespace ZlogExport
