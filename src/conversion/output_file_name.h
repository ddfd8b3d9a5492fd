#pragma once

#include <QString>

// Base name of the Cabrillo file for a callsign: the home call of PFX/CALL, the call
// without a one-character portable suffix of CALL/P, else the callsign unchanged.
QString OutputFileName(const QString &callsign);

// A base name that would leave the output folder or confuse the file system.
bool IsUnsafeFileName(const QString &baseName);
