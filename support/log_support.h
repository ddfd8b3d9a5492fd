#pragma once

#include "conversion/qso_lines.h"
#include "core/text_file.h"
#include "input/log_loading.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The program streams a log through its conversion; these take and give whole texts, so a
// test or a fuzz target can compare them.

struct QsoLines {
    // One line per data line of the log, then the end line.
    QStringList lines;
    // For each QSO line, the 1-based number of the log-text line it came from.
    QList<int> sourceLines;
    // Set when a data line cannot be converted; the lines are then incomplete.
    std::optional<QString> error;
};

// The QSO lines of a log text, every line in the given year.
QsoLines ConvertLogText(const QString &logText, const QString &ownCallsign, int year);

struct ZlogExportText {
    QByteArray text; // CP932, CR LF after every line; empty on failure
    QString error;   // empty on success
};

// The text the program reads from a zLOG file's bytes, or why it refuses them.
ZlogExportText ExportZlogBytes(QByteArrayView bytes, const QString &path);

// The lines patched as loading patches them, each followed by CR LF.
QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask,
                            bool *asked = nullptr);

// The lines of bytes in memory, decoded as a text file is.
TextFile::LinesRead ForEachLine(QByteArrayView bytes, const TextFile::LineReceiver &receive);
