#include "core/zlog_export.h"

#include "core/text_search.h"

#include <QDate>

#include <algorithm>

namespace ZlogExport
{

namespace
{

const QChar blank(QLatin1Char(' '));

qsizetype dotIn(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'.')
            return i;
    }
    return -1;
}

// zLOG's texts as strings, made once: the lists are the bytes zLOG's files are written with.
template <std::size_t n> std::array<QString, n> strings(const std::array<const char *, n> &texts)
{
    std::array<QString, n> made;
    for (std::size_t i = 0; i < n; ++i)
        made[i] = QString::fromLatin1(texts[i]);
    return made;
}

template <std::size_t n>
std::optional<int> indexIn(const std::array<QString, n> &texts, QStringView text)
{
    // The first character tells most texts apart without a call into Qt.
    for (std::size_t i = 0; i < n; ++i) {
        if (!text.isEmpty() && text.front() == texts[i].front() && text == texts[i])
            return int(i);
    }
    return std::nullopt;
}

// What may stand in the MHz column, for telling it from a memo's words when the fields are
// put in their places; whether it is a band zLOG writes is decided later.
bool looksLikeBand(QStringView s)
{
    if (s.endsWith(QLatin1Char('G')))
        return isAsciiDigits(s.chopped(1));
    const qsizetype dot = dotIn(s);
    if (dot < 0)
        return isAsciiDigits(s);
    return isAsciiDigits(s.left(dot)) && isAsciiDigits(s.sliced(dot + 1));
}

// A decimal without the zeros that do not change its value: "07" is "7", "3.50" is "3.5".
QStringView withoutIdleZeros(QStringView number)
{
    if (dotIn(number) >= 0) {
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
    // A QSO line begins with its month, day and time, whatever its memo holds.
    const QStringView rest = trimmed(line);
    int field = 0;
    for (qsizetype i = 0; i < rest.size() && field < 3; ++i) {
        if (rest[i] == blank) {
            if (rest[i - 1] != blank)
                ++field;
        } else if (rest[i] < u'0' || rest[i] > u'9') {
            break;
        } else if (i + 1 == rest.size()) {
            ++field;
        }
    }
    if (field == 3)
        return false;
    return TextSearch::contains(line, u"callsign") || TextSearch::contains(line, u"ログデータ");
}

std::optional<QsoFields> split(QStringView line, int &fieldCount)
{
    // The text behind the last blank (the points, or the memo's last word) is never taken,
    // nor anything behind the eleventh blank. One pass over the line: most of it is blanks.
    std::array<QStringView, 11> slot;
    int stored = 0;
    const char16_t *const text = line.utf16();
    const qsizetype size = line.size();
    qsizetype start = 0;
    for (qsizetype pos = 0; pos < size && stored < int(slot.size()); ++pos) {
        if (text[pos] != u' ')
            continue;
        slot[std::size_t(stored++)] = line.sliced(start, pos - start);
        while (pos + 1 < size && text[pos + 1] == u' ')
            ++pos;
        start = pos + 1;
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
    static const auto bands = strings(bandTexts);
    if (const auto exact = indexIn(bands, band))
        return exact;
    if (!looksLikeBand(band))
        return std::nullopt;
    const QStringView value = withoutIdleZeros(band);
    return value.size() < band.size() ? indexIn(bands, value) : std::nullopt;
}

std::optional<int> modeIndex(QStringView mode)
{
    static const auto modes = [] {
        std::array<const char *, modeCount> all{};
        std::copy(modeTexts.begin(), modeTexts.end(), all.begin());
        std::copy(moreModeTexts.begin(), moreModeTexts.end(), all.begin() + modeTexts.size());
        return strings(all);
    }();
    return indexIn(modes, mode);
}

const char *modeText(int index)
{
    const int more = index - int(modeTexts.size());
    return more < 0 ? modeTexts[std::size_t(index)] : moreModeTexts[std::size_t(more)];
}

int reportLength(QStringView mode)
{
    return mode == u"SSB" || mode == u"FM" || mode == u"AM" ? 2 : 3;
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
