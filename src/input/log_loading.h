#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Asks the entrant for the multiplier they sent; an empty answer when they cancel.
using MultiplierQuestion = std::function<QString(const QString &prompt)>;

struct LoadedLog {
    QString text;  // the lines, each followed by CR LF; empty on failure
    QString error; // empty on success
    bool asked = false;
};

// Writes the sent multiplier into columns 28 and 29 from the first line that lacks it.
// The question is asked at most once; header lines never trigger it.
QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask,
                            bool *asked = nullptr);

// Reads zLOG's DOS text export into the log text. On failure nothing is asked.
LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask);
