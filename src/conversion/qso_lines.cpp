#include "conversion/qso_lines.h"

#include "conversion/cabrillo_header.h"
#include "core/messages.h"
#include "core/text_file.h"
#include "core/text_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace
{

const QChar space(QLatin1Char(' '));

// zLOG's field separator is the plain blank only; tabs and full-width blanks are text.
QStringView trimSpaces(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == space)
        ++begin;
    while (end > begin && s.at(end - 1) == space)
        --end;
    return s.sliced(begin, end - begin);
}

QString fitRight(const QString &text, qsizetype width)
{
    return (QString(width, space) + text).right(width);
}

bool isDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// "7", "3.5", "1.9" or "10G": what zLOG writes in its MHz column.
bool isBandValue(QStringView s)
{
    if (s.endsWith(QLatin1Char('G')))
        return isDigits(s.chopped(1));
    const qsizetype dot = s.indexOf(u'.');
    if (dot < 0)
        return isDigits(s);
    return isDigits(s.left(dot)) && isDigits(s.sliced(dot + 1));
}

// Bands of 100 MHz and more do not fit five digits of kHz; Cabrillo names them instead.
std::optional<QString> bandDesignator(QStringView band)
{
    static const std::array<std::pair<const char *, const char *>, 6> designators{{
        {"144", "144"},
        {"430", "432"},
        {"1200", "1.2G"},
        {"2400", "2.3G"},
        {"5600", "5.7G"},
        {"10G", "10G"},
    }};
    for (const auto &[zlog, cabrillo] : designators) {
        if (band == QLatin1String(zlog))
            return QString::fromLatin1(cabrillo);
    }
    return std::nullopt;
}

// The band in kHz, right-aligned in five characters.
std::optional<QString> frequencyField(QStringView band)
{
    if (!band.endsWith(QLatin1Char('G'))) {
        const double kHzValue = band.toDouble() * 1000.0;
        const QString kHz = QString::number(kHzValue, 'g', 15);
        if (std::isfinite(kHzValue) && !kHz.contains(QLatin1Char('e')) && kHz.size() <= 5)
            return fitRight(kHz, 5);
    }
    if (const auto designator = bandDesignator(band))
        return fitRight(*designator, 5);
    return std::nullopt;
}

// The number at the start of the time field, as a reader of "0902" or "2105" expects:
// optional sign, digits, optional fraction; 0 when the field does not begin with one.
double leadingNumber(QStringView s)
{
    if (s.size() <= 9 && isDigits(s)) { // the usual "0902"
        int value = 0;
        for (QChar c : s)
            value = value * 10 + (c.unicode() - u'0');
        return value;
    }
    qsizetype end = 0;
    if (end < s.size() && (s.at(end) == QLatin1Char('+') || s.at(end) == QLatin1Char('-')))
        ++end;
    bool seenDot = false;
    while (end < s.size() &&
           (isDigits(s.sliced(end, 1)) || (!seenDot && s.at(end) == QLatin1Char('.')))) {
        seenDot = seenDot || s.at(end) == QLatin1Char('.');
        ++end;
    }
    // Too many digits read as infinity, which the range check then refuses.
    return s.left(end).toDouble();
}

// zLOG reports "599" for the telegraphy and data modes and "59" for phone.
int reportLength(QStringView mode)
{
    for (const char *threeDigitMode : {"CW", "RTT", "RTTY", "FT4", "FT8", "Oth", "Other"}) {
        if (mode == QLatin1String(threeDigitMode))
            return 3;
    }
    return 2;
}

// Slots keep their values from line to line, as zLOG-era converters did. They are views
// into the log text, which outlives the conversion.
struct FieldTable {
    std::array<QStringView, 12> slot;
    int lastStored = 0;

    // Stores the fields in front of the first eleven blanks; the text behind the last blank
    // is never stored. Gives back the number of fields on the line, or 12 for more.
    int split(QStringView line)
    {
        qsizetype pos = 0;
        int stored = 0;
        for (int i = 0; i <= 10; ++i) {
            const qsizetype q = TextSearch::indexOf(line, u' ', pos);
            if (q < 0)
                break;
            slot[i] = line.sliced(pos, q - pos);
            lastStored = i;
            ++stored;
            pos = q + 1;
            while (pos < line.size() && line.at(pos) == space)
                ++pos;
        }
        return stored + 1;
    }

    void shiftBandAndMode()
    {
        slot[8] = slot[7];
        slot[7] = slot[6];
        slot[6] = QStringView();
    }

    void realign()
    {
        if (lastStored == 7)
            shiftBandAndMode();
        // A memo behind the points leaves band and mode one slot early on a line without
        // the multiplier field.
        if (!isBandValue(slot[7]) && isBandValue(slot[6]))
            shiftBandAndMode();
    }
};

// Writes a line into a buffer sized for it beforehand: a log has many lines, and piecewise
// appends with their checks cost more than the conversion itself.
class LineWriter
{
public:
    LineWriter(QString &buffer, qsizetype maxLength) : out(buffer)
    {
        out.resize(maxLength);
        begin = out.data();
        cursor = begin;
    }
    ~LineWriter() { out.resize(cursor - begin); }

    LineWriter &put(QStringView text)
    {
        std::copy_n(text.data(), text.size(), cursor);
        cursor += text.size();
        return *this;
    }
    LineWriter &put(QChar c)
    {
        *cursor++ = c;
        return *this;
    }
    // Cut or filled with blanks to the width.
    LineWriter &putLeft(QStringView text, qsizetype width)
    {
        const qsizetype n = std::min(text.size(), width);
        std::copy_n(text.data(), n, cursor);
        std::fill_n(cursor + n, width - n, space);
        cursor += width;
        return *this;
    }
    // The last two characters of "0" followed by the number.
    LineWriter &putTwoDigits(QStringView number)
    {
        if (number.size() >= 2)
            return put(number.right(2));
        return put(QLatin1Char('0')).put(number);
    }
    // The report, filled to at most four, then the exchange behind it, cut or filled to seven.
    LineWriter &putReportAndExchange(QStringView field, int n)
    {
        const QStringView report = field.left(n);
        putLeft(report, std::min<qsizetype>(report.size() + 2, 4));
        return putLeft(field.mid(std::min<qsizetype>(n, field.size())), 7);
    }

private:
    QString &out;
    QChar *begin;
    QChar *cursor;
};

class Converter
{
public:
    Converter(const QString &ownCallsign, int year)
        : yearText(QString::number(year).rightJustified(4, QLatin1Char('0')))
    {
        LineWriter(call, 14).putLeft(ownCallsign, 14);
    }

    // The QSO line for one data line, or the message that says why there is none.
    bool convert(QStringView line, int lineNumber, QString &out, QString &error)
    {
        const int fieldCount = table.split(line);
        if (fieldCount < 9) {
            error = Messages::logLineTooFewFields(lineNumber, line.toString(), fieldCount);
            return false;
        }
        table.realign();
        auto &slot = table.slot;
        if (!isBandValue(slot[7])) {
            error = Messages::logLineBadBand(lineNumber, line.toString(), slot[7].toString());
            return false;
        }
        const std::optional<QString> &frequency = frequencyOf(slot[7]);
        if (!frequency) {
            error =
                Messages::logLineFrequencyTooWide(lineNumber, line.toString(), slot[7].toString());
            return false;
        }
        if (!applyTimeRule(slot[2])) {
            error = Messages::logLineBadTime(lineNumber, line.toString(), slot[2].toString());
            return false;
        }
        const QStringView mode = slot[8];
        const int n = reportLength(mode);
        // Every field has a fixed width but the mode and the time, which are copied as they are.
        LineWriter(out, 80 + mode.size() + slot[2].size())
            .put(CabrilloTags::qso)
            .put(*frequency)
            .put(space)
            .put(mode)
            .put(space)
            .put(yearText)
            .put(QLatin1Char('-'))
            .putTwoDigits(slot[0])
            .put(QLatin1Char('-'))
            .putTwoDigits(slot[1])
            .put(space)
            .put(slot[2])
            .put(space)
            .put(call)
            .putReportAndExchange(slot[4], n)
            .putLeft(slot[3], 14)
            .putReportAndExchange(slot[5], n);
        if (const auto c = TextFile::firstControlCharacter(out)) {
            error = Messages::logLineControlCharacter(lineNumber, line.toString(), *c);
            return false;
        }
        return true;
    }

private:
    // Takes times after 11:00 JST back nine hours. Gives false when the time is no number
    // a 16-bit field can hold.
    bool applyTimeRule(QStringView &time)
    {
        const double number = leadingNumber(time);
        const double rounded = std::nearbyint(number); // halves to even
        if (rounded < -32768.0 || rounded > 32767.0)
            return false;
        const int t = int(rounded);
        if (t > 1100) {
            // The last four digits of the zero-filled number.
            int digits = t - 900;
            for (int i = 3; i >= 0; --i, digits /= 10)
                rewrittenTime[i] = char16_t(u'0' + digits % 10);
            time = QStringView(rewrittenTime, 4);
        }
        return true;
    }

    // A log holds few distinct band texts; each is worked out once.
    const std::optional<QString> &frequencyOf(QStringView band)
    {
        for (const auto &[text, field] : frequencies) {
            if (text == band)
                return field;
        }
        frequencies.emplace_back(band.toString(), frequencyField(band));
        return frequencies.back().second;
    }

    FieldTable table;
    QString call;
    const QString yearText;
    char16_t rewrittenTime[4] = {};
    std::vector<std::pair<QString, std::optional<QString>>> frequencies;
};

bool isIgnored(QStringView line)
{
    return line.isEmpty() || TextSearch::contains(line, u"callsign") ||
           TextSearch::contains(line, u"ログデータ");
}

} // namespace

LogSource LinesOfLogText(const QString &logText)
{
    return [logText](const LogLineReceiver &receive) -> std::optional<QString> {
        const QStringView text = trimSpaces(logText);
        int lineNumber = 0;
        for (qsizetype pos = 0; pos < text.size();) {
            ++lineNumber;
            const qsizetype lf = TextSearch::indexOf(text, u'\n', pos);
            if (lf == pos)
                return Messages::logLineStartsWithLineFeed(lineNumber);
            const qsizetype end = lf < 0 ? text.size() : lf - 1;
            if (!receive(text.sliced(pos, end - pos)))
                break;
            pos = lf < 0 ? text.size() : lf + 1;
        }
        return std::nullopt;
    };
}

QsoLines WriteQsoLines(const QString &logText, const QString &ownCallsign, int year)
{
    QsoLines result;
    result.error = WriteQsoLines(LinesOfLogText(logText), ownCallsign, year,
                                 [&](QStringView line, int source) {
                                     result.lines.append(line.toString());
                                     if (source > 0)
                                         result.sourceLines.append(source);
                                 });
    return result;
}

std::optional<QString> WriteQsoLines(const LogSource &log, const QString &ownCallsign, int year,
                                     const QsoLineSink &sink)
{
    Converter converter(ownCallsign, year);
    int lineNumber = 0;
    QString out;
    out.reserve(128);
    QString error;
    const std::optional<QString> unreadable = log([&](QStringView raw) {
        ++lineNumber;
        const QStringView line = trimSpaces(raw);
        if (isIgnored(line))
            return true;
        if (!converter.convert(line, lineNumber, out, error))
            return false;
        sink(out, lineNumber);
        return true;
    });
    if (unreadable)
        return unreadable;
    if (!error.isEmpty())
        return error;
    sink(CabrilloTags::endOfLog, 0);
    return std::nullopt;
}
