#pragma once

#include <QString>

#include <optional>

// Base name of the Cabrillo file for a callsign: the callsign without its portable parts
// (the longest of its parts between "/") and without blanks around it.
QString OutputFileName(const QString &callsign);

// A base name that names no file of the callsign's own: empty, or hidden (".", "..").
bool CannotNameAFile(const QString &baseName);

// A base name that would leave the output folder or confuse the file system: a slash,
// a backslash or a control character anywhere, and on Windows also what Windows cannot
// create (see WindowsCannotCreate).
bool IsUnsafeFileName(const QString &baseName);

// What Windows cannot create: a name holding one of its reserved characters, or a
// reserved name (see below).
bool WindowsCannotCreate(const QString &baseName);

// The first of Windows' reserved characters < > : " | ? * in the name, if any.
std::optional<QChar> WindowsForbiddenCharacter(const QString &baseName);

// The names of Windows' devices (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9) with or
// without an extension, and a name ending in a dot or blank.
bool WindowsReservedName(const QString &baseName);

// Why the callsign's file name is refused, for a base name IsUnsafeFileName refuses.
QString UnsafeFileNameMessage(const QString &callsign, const QString &baseName);
