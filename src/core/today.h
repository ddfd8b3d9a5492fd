#pragma once

#include <QDate>

// Today's date, by the local clock: a zLOG export names no year, so its QSOs are taken to
// be of this year. The window and the command line both ask here, so that a test can set
// the day they see.
namespace Today
{

QDate date();

// From now on date() gives this day; an invalid date gives the clock back.
void set(const QDate &day);

} // namespace Today
