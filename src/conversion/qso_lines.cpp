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

QString fitRight(const QString &text, qsizetype width)
{
    return (QString(width, space) + text).right(width);
}

// Each band's frequency column: kHz right-aligned in five characters, or, for bands of
// 100 MHz and more, which do not fit, the designator Cabrillo names them by.
const std::array<QString, ZlogExport::bandTexts.size()> &frequencyFields()
{
    static const std::array<QString, ZlogExport::bandTexts.size()> fields = [] {
        static const std::array<std::pair<const char *, const char *>, 6> designators{{
            {"144", "144"},
            {"430", "432"},
            {"1200", "1.2G"},
            {"2400", "2.3G"},
            {"5600", "5.7G"},
            {"10G", "10G"},
        }};
        std::array<QString, ZlogExport::bandTexts.size()> made;
        for (std::size_t i = 0; i < made.size(); ++i) {
            const QLatin1String band(ZlogExport::bandTexts[i]);
            QString text = QString::number(QString(band).toDouble() * 1000.0, 'g', 15);
            for (const auto &[zlog, cabrillo] : designators) {
                if (band == QLatin1String(zlog))
                    text = QString::fromLatin1(cabrillo);
            }
            made[i] = fitRight(text, 5);
        }
        return made;
    }();
    return fields;
}

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
    // Filled with blanks to the width; a text that fills it is written whole, and a blank
    // keeps it from the next field.
    LineWriter &putLeft(QStringView text, qsizetype width)
    {
        put(text);
        if (text.size() >= width)
            return put(space);
        std::fill_n(cursor, width - text.size(), space);
        cursor += width - text.size();
        return *this;
    }
    // The last two characters of "0" followed by the number.
    LineWriter &putTwoDigits(QStringView number)
    {
        if (number.size() >= 2)
            return put(number.right(2));
        return put(QLatin1Char('0')).put(number);
    }
    // The report, filled to at most four, then the exchange behind it, filled to seven. The
    // received exchange ends the line: a long one needs no blank behind it.
    LineWriter &putReportAndExchange(QStringView field, int n, bool endsLine = false)
    {
        const QStringView report = field.left(n);
        const QStringView exchange = field.sliced(report.size());
        putLeft(report, std::min<qsizetype>(report.size() + 2, 4));
        if (endsLine && exchange.size() >= 7)
            return put(exchange);
        return putLeft(exchange, 7);
    }

private:
    QString &out;
    QChar *begin;
    QChar *cursor;
};

// Takes times after 11:00 JST back nine hours, as four digits.
void applyTimeRule(Qso &qso)
{
    const int t = ZlogExport::numberOf(qso.fields.time);
    if (t <= 1100)
        return;
    int digits = t - 900;
    for (int i = 3; i >= 0; --i, digits /= 10)
        qso.shiftedTime[std::size_t(i)] = char16_t(u'0' + digits % 10);
    qso.timeShifted = true;
}

class Converter
{
public:
    Converter(const QString &ownCallsign, QsoYear years) : year(years)
    {
        LineWriter(call, ownCallsign.size() + 14).putLeft(ownCallsign, 14);
    }

    // The QSO line for one data line, or the message that says why there is none.
    bool convert(const ZlogExport::Line &line, QStringView text, int lineNumber, QString &out,
                 QString &error, const QsoObserver &observe)
    {
        const int lineYear = year.of(line);
        auto read = ReadQsoLine(text, lineNumber, lineYear);
        if (auto *message = std::get_if<QString>(&read)) {
            error = std::move(*message);
            return false;
        }
        const Qso &qso = std::get<Qso>(read);
        const ZlogExport::QsoFields &f = qso.fields;
        const int n = ZlogExport::reportLength(f.mode);
        const QStringView time = qso.writtenTime();
        // Every field has a fixed width but the mode and the time, which are copied as they
        // are, and a field too long for its width, which is written whole.
        LineWriter(out, 80 + f.mode.size() + time.size() + call.size() + f.callsign.size() +
                            f.sent.size() + f.received.size())
            .put(CabrilloTags::qso)
            .put(frequencyFields()[std::size_t(qso.band)])
            .put(space)
            .put(f.mode)
            .put(space)
            .put(yearText(lineYear))
            .put(QLatin1Char('-'))
            .putTwoDigits(f.month)
            .put(QLatin1Char('-'))
            .putTwoDigits(f.day)
            .put(space)
            .put(time)
            .put(space)
            .put(call)
            .putReportAndExchange(f.sent, n)
            .putLeft(f.callsign, 14)
            .putReportAndExchange(f.received, n, true);
        if (const auto c = TextFile::firstControlCharacter(out)) {
            error = Messages::logLineControlCharacter(lineNumber, text.toString(), *c);
            return false;
        }
        if (observe)
            observe(qso, text, lineNumber);
        return true;
    }

private:
    // Most logs have one year; each is written out once.
    const QString &yearText(int value)
    {
        if (value != cachedYear) {
            cachedYear = value;
            cachedYearText = QString::number(value).rightJustified(4, QLatin1Char('0'));
        }
        return cachedYearText;
    }

    QString call;
    const QsoYear year;
    int cachedYear = -1;
    QString cachedYearText;
};

} // namespace

std::variant<Qso, QString> ReadQsoLine(QStringView line, int lineNumber, int year)
{
    int fieldCount = 0;
    const auto fields = ZlogExport::split(line, fieldCount);
    if (!fields)
        return Messages::logLineTooFewFields(lineNumber, line.toString(), fieldCount);
    const ZlogExport::QsoFields &f = *fields;
    if (!ZlogExport::isDate(f.month, f.day, year)) {
        return Messages::logLineBadDate(lineNumber, line.toString(),
                                        f.month.toString() + QLatin1Char('/') + f.day.toString(),
                                        year);
    }
    if (!ZlogExport::isTime(f.time))
        return Messages::logLineBadTime(lineNumber, line.toString(), f.time.toString());
    const auto band = ZlogExport::bandIndex(f.band);
    if (!band)
        return Messages::logLineBadBand(lineNumber, line.toString(), f.band.toString());
    const auto mode = ZlogExport::modeIndex(f.mode);
    if (!mode)
        return Messages::logLineBadMode(lineNumber, line.toString(), f.mode.toString());
    const int n = ZlogExport::reportLength(f.mode);
    if (f.received.size() < n) {
        return Messages::logLineNoReceivedReport(lineNumber, line.toString(), f.received.toString(),
                                                 f.mode.toString(), n);
    }
    Qso qso;
    qso.fields = f;
    qso.band = *band;
    qso.mode = *mode;
    qso.year = year;
    applyTimeRule(qso);
    return qso;
}

bool IsPassedOver(QStringView trimmedLine)
{
    return trimmedLine.isEmpty() || ZlogExport::isHeaderLine(trimmedLine);
}

LogSource LinesOfLogText(const QString &logText, const QList<int> &years)
{
    return [logText, years](const LogLineReceiver &receive) -> std::optional<QString> {
        const QStringView text = ZlogExport::trimmed(logText);
        int lineNumber = 0;
        for (qsizetype pos = 0; pos < text.size();) {
            ++lineNumber;
            const qsizetype lf = TextSearch::indexOf(text, u'\n', pos);
            if (lf == pos)
                return Messages::logLineStartsWithLineFeed(lineNumber);
            const qsizetype end = lf < 0 ? text.size() : lf - 1;
            ZlogExport::Line line;
            line.text = text.sliced(pos, end - pos);
            line.year = years.value(lineNumber - 1);
            if (!receive(line))
                break;
            pos = lf < 0 ? text.size() : lf + 1;
        }
        return std::nullopt;
    };
}

std::optional<QString> WriteQsoLines(const LogSource &log, const QString &ownCallsign, QsoYear year,
                                     const QsoLineSink &sink, const QsoObserver &observe)
{
    Converter converter(ownCallsign, year);
    int lineNumber = 0;
    QString out;
    out.reserve(128);
    QString error;
    const std::optional<QString> unreadable = log([&](const ZlogExport::Line &raw) {
        ++lineNumber;
        const QStringView line = ZlogExport::trimmed(raw.text);
        if (IsPassedOver(line))
            return true;
        if (!converter.convert(raw, line, lineNumber, out, error, observe))
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
