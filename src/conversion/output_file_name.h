#pragma once

#include <QString>

// Base name of the Cabrillo file for a callsign: the home call of PFX/CALL, the call
// without a one-character portable suffix of CALL/P, else the callsign unchanged.
QString OutputFileName(const QString &callsign);

// A base name that would leave the output folder or confuse the file system: a slash,
// a backslash or a control character anywhere, and on Windows also what Windows cannot
// create (see WindowsCannotCreate).
bool IsUnsafeFileName(const QString &baseName);

// Windows' reserved characters < > : " | ? *, a trailing dot or blank, and the names of its
// devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9) with or without an extension.
bool WindowsCannotCreate(const QString &baseName);
