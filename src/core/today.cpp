#include "core/today.h"

namespace Today
{

namespace
{

QDate &setDay()
{
    static QDate day;
    return day;
}

} // namespace

QDate date()
{
    return setDay().isValid() ? setDay() : QDate::currentDate();
}

void set(const QDate &day)
{
    setDay() = day;
}

} // namespace Today
