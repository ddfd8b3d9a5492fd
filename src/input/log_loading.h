#pragma once

#include "core/files.h"
#include "core/text_file.h"
#include "input/zlog_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// Asks the entrant for the multiplier they sent; an empty answer when they cancel.
using MultiplierQuestion = std::function<QString(const QString &prompt)>;

// What the entrant typed as the sent multiplier, as it may stand in every QSO line: full-width
// letters and digits (the Japanese input method left on) made half-width, blanks around it
// dropped. Nothing when that is not empty or one or two ASCII letters or digits.
std::optional<QString> SentMultiplierAnswer(const QString &typed);

// Writes the sent multiplier behind the sent report (columns 28 and 29 of the export) from
// the first line that lacks it, line by line. The question is asked at most once; header
// lines never trigger it.
class MultiplierPatch
{
public:
    explicit MultiplierPatch(MultiplierQuestion question) : ask(std::move(question)) {}

    // The line as it goes into the log text, of the same length; valid until the next line.
    QStringView apply(QStringView line, qsizetype column = ZlogExport::sentExchangeColumn);
    bool asked() const { return questionAsked; }

private:
    MultiplierQuestion ask;
    bool questionAsked = false;
    QString columns;
    QString patched;
};

// A zLOG log, handed on line by line as it is read: into the window's log text, or straight
// into an export. zLOG's DOS text export is read as it stands; zLOG's own log files (.ZLOX,
// .ZLO and their backups), known by their content, as the text zLOG would export for them.
class LogFile
{
public:
    explicit LogFile(const QString &path);
    ~LogFile();

    // Opens the file; a binary log is checked through. Gives back why the file cannot be
    // loaded.
    QString open();
    // Hands each line on until the receiver answers false; gives back why the file cannot
    // be read through as a log.
    QString read(const std::function<bool(const ZlogExport::Line &line)> &receive);
    // One of zLOG's own files, whose lines know their year; after open().
    bool isZlogFile() const { return binary != nullptr; }

private:
    QString readText(const TextFile::LineReceiver &receive);

    Files::Reader file;
    std::unique_ptr<ZlogFile::Exporter> binary;
};

struct LoadedLog {
    QString text;      // the lines, each followed by CR LF; empty on failure
    QList<int> years;  // each line's year, for a zLOG file; empty for a text export
    int firstYear = 0; // the first QSO's year in a zLOG file, else 0
    QString error;     // empty on success
    bool asked = false;
};

// Reads a zLOG log into the log text, then fills in the sent multiplier: a file that cannot
// be read asks nothing.
LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask);
