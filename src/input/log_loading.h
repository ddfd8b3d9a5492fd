#pragma once

#include "core/files.h"
#include "core/text_file.h"
#include "input/zlog_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Asks the entrant for the multiplier they sent; an empty answer when they cancel.
using MultiplierQuestion = std::function<QString(const QString &prompt)>;

// Writes the sent multiplier into columns 28 and 29 from the first line that lacks it,
// line by line. The question is asked at most once; header lines never trigger it.
class MultiplierPatch
{
public:
    explicit MultiplierPatch(MultiplierQuestion question) : ask(std::move(question)) {}

    // The line as it goes into the log text, of the same length; valid until the next line.
    QStringView apply(QStringView line);
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
    QString read(const TextFile::LineReceiver &receive);

private:
    Files::Reader file;
    std::unique_ptr<ZlogFile::Exporter> binary;
};

struct LoadedLog {
    QString text;  // the lines, each followed by CR LF; empty on failure
    QString error; // empty on success
    bool asked = false;
};

// Reads a zLOG log into the log text, then fills in the sent multiplier: a file that cannot
// be read asks nothing.
LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask);

// The lines patched as loading patches them, each followed by CR LF.
QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask,
                            bool *asked = nullptr);
