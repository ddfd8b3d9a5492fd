#pragma once

#include <QString>

// Base name of the Cabrillo file for a callsign: the callsign without its portable parts
// (the longest of its parts between "/") and without blanks around it.
QString OutputFileName(const QString &callsign);

// A base name that names no file of the callsign's own: empty, or hidden (".", "..").
bool CannotNameAFile(const QString &baseName);

// A base name that would leave the output folder or confuse the file system: a slash,
// a backslash or a control character anywhere, and on Windows also what Windows cannot
// create (see WindowsCannotCreate).
bool IsUnsafeFileName(const QString &baseName);

// Windows' reserved characters < > : " | ? *, a trailing dot or blank, and the names of its
// devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9) with or without an extension.
bool WindowsCannotCreate(const QString &baseName);
