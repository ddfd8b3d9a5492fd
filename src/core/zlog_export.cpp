#include "core/zlog_export.h"

#include "core/text_search.h"

#include <QDate>

namespace ZlogExport
{

namespace
{

const QChar blank(QLatin1Char(' '));

// What may stand in the MHz column, for telling it from a memo's words when the fields are
// put in their places; whether it is a band zLOG writes is decided later.
bool looksLikeBand(QStringView s)
{
    if (s.endsWith(QLatin1Char('G')))
        return isAsciiDigits(s.chopped(1));
    const qsizetype dot = s.indexOf(u'.');
    if (dot < 0)
        return isAsciiDigits(s);
    return isAsciiDigits(s.left(dot)) && isAsciiDigits(s.sliced(dot + 1));
}

// A decimal without the zeros that do not change its value: "07" is "7", "3.50" is "3.5".
QStringView withoutIdleZeros(QStringView number)
{
    const qsizetype dot = number.indexOf(u'.');
    if (dot >= 0) {
        while (number.endsWith(QLatin1Char('0')))
            number.chop(1);
        if (number.endsWith(QLatin1Char('.')))
            number.chop(1);
    }
    while (number.size() > 1 && number.startsWith(QLatin1Char('0')) &&
           number.at(1) != QLatin1Char('.'))
        number = number.sliced(1);
    return number;
}

bool isOneOrTwoDigits(QStringView text)
{
    return text.size() <= 2 && isAsciiDigits(text);
}

} // namespace

bool isAsciiDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QStringView trimmed(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line.at(begin) == blank)
        ++begin;
    while (end > begin && line.at(end - 1) == blank)
        --end;
    return line.sliced(begin, end - begin);
}

bool isHeaderLine(QStringView line)
{
    if (!TextSearch::contains(line, u"callsign") && !TextSearch::contains(line, u"ログデータ"))
        return false;
    // The first three fields, as a QSO line's month, day and time would stand.
    QStringView rest = trimmed(line);
    for (int field = 0; field < 3; ++field) {
        const qsizetype end = TextSearch::indexOf(rest, u' ');
        if (end < 0 || !isAsciiDigits(rest.first(end)))
            return true;
        rest = trimmed(rest.sliced(end));
    }
    return false;
}

std::optional<QsoFields> split(QStringView line, int &fieldCount)
{
    // The text behind the last blank (the points, or the memo's last word) is never taken,
    // nor anything behind the eleventh blank.
    std::array<QStringView, 11> slot;
    int stored = 0;
    for (qsizetype pos = 0; stored < int(slot.size());) {
        const qsizetype q = TextSearch::indexOf(line, u' ', pos);
        if (q < 0)
            break;
        slot[stored++] = line.sliced(pos, q - pos);
        pos = q + 1;
        while (pos < line.size() && line.at(pos) == blank)
            ++pos;
    }
    fieldCount = stored + 1;
    if (fieldCount < 9)
        return std::nullopt;
    const auto shiftBandAndMode = [&slot] {
        slot[8] = slot[7];
        slot[7] = slot[6];
        slot[6] = QStringView();
    };
    // Nine fields: the line has no multiplier field.
    if (stored == 8)
        shiftBandAndMode();
    // A memo behind the points leaves band and mode one field early on such a line.
    if (!looksLikeBand(slot[7]) && looksLikeBand(slot[6]))
        shiftBandAndMode();
    return QsoFields{slot[0], slot[1], slot[2], slot[3], slot[4],
                     slot[5], slot[6], slot[7], slot[8]};
}

std::optional<int> bandIndex(QStringView band)
{
    const QStringView value = looksLikeBand(band) ? withoutIdleZeros(band) : band;
    for (int i = 0; i < int(bandTexts.size()); ++i) {
        if (value == QLatin1String(bandTexts[i]))
            return i;
    }
    return std::nullopt;
}

bool isMode(QStringView mode)
{
    for (const char *text : modeTexts) {
        if (mode == QLatin1String(text))
            return true;
    }
    for (const char *text : moreModeTexts) {
        if (mode == QLatin1String(text))
            return true;
    }
    return false;
}

int reportLength(QStringView mode)
{
    for (const char *phone : {"SSB", "FM", "AM"}) {
        if (mode == QLatin1String(phone))
            return 2;
    }
    return 3;
}

bool isDate(QStringView month, QStringView day, int year)
{
    return isOneOrTwoDigits(month) && isOneOrTwoDigits(day) &&
           QDate::isValid(year, numberOf(month), numberOf(day));
}

bool isTime(QStringView time)
{
    if (time.size() > 4 || !isAsciiDigits(time))
        return false;
    const int number = numberOf(time);
    return number / 100 <= 23 && number % 100 <= 59;
}

int numberOf(QStringView digits)
{
    int value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

} // namespace ZlogExport
