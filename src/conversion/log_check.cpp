#include "conversion/log_check.h"

#include "core/contests.h"
#include "core/messages.h"
#include "core/text_search.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace
{

// Dates further from today than this are likely of another year or another contest.
constexpr qint64 farDays = 60;
// The club's contests last a day; a log spread over more mixes several.
constexpr qint64 longestSpreadDays = 3;

struct LineRef {
    int number = 0;
    QString text;
};

// What one pass over the log saw, for the rules to judge.
struct Observations {
    LogSummary summary;
    // For each of zLOG's bands, whether the category counts it; all when it says nothing.
    std::array<bool, ZlogExport::bandTexts.size()> counted{};
    QString category;
    QMap<int, int> uncountedBands; // band: QSOs
    LineRef firstUncounted;
    QList<std::pair<LineRef, LineRef>> unmarkedDuplicates;
    QList<LineRef> withoutNumber;
    QDate earliest, latest;
    LineRef earliestLine, latestLine;
    QString firstSent;
    LineRef firstSentLine, otherSentLine;
    QString otherSent;
    int otherSentCount = 0;
    QDate today;
};

// What a rule says, and the lines it names.
struct Said {
    QString text;
    QList<LineRef> lines;
};
using Findings = QList<Said>;

Said at(const QString &text, const QList<LineRef> &lines)
{
    return {text, lines};
}

void uncountedBands(const Observations &seen, Findings &out)
{
    if (seen.uncountedBands.isEmpty())
        return;
    QStringList counts;
    for (auto it = seen.uncountedBands.begin(); it != seen.uncountedBands.end(); ++it)
        counts.append(Messages::bandCount(BandName(it.key()), it.value()));
    out.append(at(Messages::uncountedBands(seen.category, counts), {seen.firstUncounted}));
}

void unmarkedDuplicates(const Observations &seen, Findings &out)
{
    for (const auto &[first, again] : seen.unmarkedDuplicates)
        out.append(at(Messages::unmarkedDuplicate(), {first, again}));
}

void withoutNumber(const Observations &seen, Findings &out)
{
    for (const LineRef &line : seen.withoutNumber)
        out.append(at(Messages::receivedWithoutNumber(), {line}));
}

void farOrSpreadDates(const Observations &seen, Findings &out)
{
    if (!seen.earliest.isValid())
        return;
    const bool far = std::abs(seen.earliest.daysTo(seen.today)) > farDays ||
                     std::abs(seen.latest.daysTo(seen.today)) > farDays;
    if (!far && seen.earliest.daysTo(seen.latest) < longestSpreadDays)
        return;
    const QString format = QStringLiteral("yyyy-MM-dd");
    out.append(
        at(Messages::checkDates(seen.earliest.toString(format), seen.latest.toString(format)),
           seen.earliestLine.number == seen.latestLine.number
               ? QList<LineRef>{seen.earliestLine}
               : QList<LineRef>{seen.earliestLine, seen.latestLine}));
}

void differingSentMultiplier(const Observations &seen, Findings &out)
{
    if (seen.otherSentCount == 0)
        return;
    out.append(
        at(Messages::differingSentMultiplier(seen.firstSent, seen.otherSent, seen.otherSentCount),
           {seen.firstSentLine, seen.otherSentLine}));
}

// The warnings, in the order they are listed; a new one is a row.
struct Rule {
    const char *name;
    void (*judge)(const Observations &, Findings &);
};
const Rule rules[] = {
    {"band", uncountedBands},    {"duplicate", unmarkedDuplicates}, {"number", withoutNumber},
    {"dates", farOrSpreadDates}, {"sent", differingSentMultiplier},
};

Finding finding(const char *rule, const Said &said)
{
    Finding made{QLatin1String(rule), said.text, {}, {}};
    QStringList where;
    for (const LineRef &line : said.lines) {
        made.lines.append(line.number);
        where.append(Messages::logLineShown(line.number, line.text));
    }
    made.where = where.join(QStringLiteral("、"));
    return made;
}

// The text behind the mode field: the points, then zLOG's memo.
bool markedDuplicate(QStringView line, const ZlogExport::QsoFields &f)
{
    const qsizetype behindMode = f.mode.data() - line.data() + f.mode.size();
    return TextSearch::contains(line.sliced(behindMode), u"-DUPE-");
}

// A text of the log as a key, without a copy, for a look-up only.
QString lookUp(QStringView text)
{
    return QString::fromRawData(reinterpret_cast<const QChar *>(text.data()), text.size());
}

using ZlogExport::modeCount;
using ZlogExport::modeText;
constexpr int bandModeCount = int(ZlogExport::bandTexts.size()) * modeCount;

} // namespace

// Most QSOs only count: a line's text is copied only where a warning may name it, and the
// first QSO of a station keeps its line's number alone.
struct LogChecker::Observed : Observations {
    QSet<QString> multipliers;
    std::array<int, bandModeCount> bandModes{};
    QHash<QString, int> stations; // a number for each callsign, in the order first worked
    // The line of the first QSO with each station, band and mode: by the station's number
    // times bandModeCount, plus band and mode.
    QHash<qint64, int> firstLines;
};

LogChecker::LogChecker(const StationEntries &entries, const QDate &today)
    : seen(std::make_unique<Observed>())
{
    seen->today = today;
    seen->category = entries.category;
    const QStringList *bands =
        Contests::countedBands(Contests::named(entries.contest), entries.category);
    for (std::size_t band = 0; band < seen->counted.size(); ++band)
        seen->counted[band] = !bands || bands->contains(QLatin1String(ZlogExport::bandTexts[band]));
}

LogChecker::~LogChecker() = default;

void LogChecker::add(const Qso &qso, QStringView line, int number)
{
    const ZlogExport::QsoFields &f = qso.fields;
    LogSummary &summary = seen->summary;
    const QDate date(qso.year, ZlogExport::numberOf(f.month), ZlogExport::numberOf(f.day));
    if (summary.qsoCount++ == 0)
        summary.first = {date, qso.writtenTime().toString()};
    lastDate = date;
    // Every QSO may be the last: its time is kept in the same few characters.
    const QStringView time = qso.writtenTime();
    lastTime.resize(time.size());
    std::copy(time.begin(), time.end(), lastTime.begin());
    const int bandMode = qso.band * modeCount + qso.mode;
    ++seen->bandModes[std::size_t(bandMode)];
    if (!f.multiplier.isEmpty() && !seen->multipliers.contains(lookUp(f.multiplier)))
        seen->multipliers.insert(f.multiplier.toString());
    const bool marked = markedDuplicate(line, f);
    summary.markedDuplicates += marked;

    if (!seen->counted[std::size_t(qso.band)]) {
        if (seen->uncountedBands.isEmpty())
            seen->firstUncounted = {number, line.toString()};
        ++seen->uncountedBands[qso.band];
    }
    worked(bandMode, f.callsign, marked, line, number);
    const int n = ZlogExport::reportLength(f.mode);
    if (f.received.size() == n)
        seen->withoutNumber.append({number, line.toString()});
    dated(date, line, number);
    sent(f.sent.sliced(std::min<qsizetype>(n, f.sent.size())), line, number);
}

void LogChecker::worked(int bandMode, QStringView callsign, bool marked, QStringView line,
                        int number)
{
    auto station = seen->stations.constFind(lookUp(callsign));
    if (station == seen->stations.cend())
        station = seen->stations.insert(callsign.toString(), int(seen->stations.size()));
    const qint64 key = qint64(*station) * bandModeCount + bandMode;
    const auto first = seen->firstLines.constFind(key);
    if (first == seen->firstLines.cend())
        seen->firstLines.insert(key, number);
    else if (!marked)
        seen->unmarkedDuplicates.append({{*first, {}}, {number, line.toString()}});
}

// The text of the first line of each station worked again without the mark, known so far
// by its number only.
void LogChecker::readFirstLines(const LogSource &log)
{
    QHash<int, QString> texts;
    for (const auto &[first, again] : seen->unmarkedDuplicates)
        texts.insert(first.number, QString());
    int number = 0;
    log([&](const ZlogExport::Line &raw) {
        if (const auto text = texts.find(++number); text != texts.end())
            *text = ZlogExport::trimmed(raw.text).toString();
        return true;
    });
    for (auto &[first, again] : seen->unmarkedDuplicates)
        first.text = texts.value(first.number);
}

void LogChecker::dated(const QDate &date, QStringView line, int number)
{
    if (!seen->earliest.isValid() || date < seen->earliest) {
        seen->earliest = date;
        seen->earliestLine = {number, line.toString()};
    }
    if (!seen->latest.isValid() || date > seen->latest) {
        seen->latest = date;
        seen->latestLine = {number, line.toString()};
    }
}

void LogChecker::sent(QStringView exchange, QStringView line, int number)
{
    if (seen->summary.qsoCount == 1) {
        seen->firstSent = exchange.toString();
        seen->firstSentLine = {number, line.toString()};
    } else if (exchange != seen->firstSent && seen->otherSentCount++ == 0) {
        seen->otherSent = exchange.toString();
        seen->otherSentLine = {number, line.toString()};
    }
}

LogCheck LogChecker::finish(const LogSource &log)
{
    seen->summary.receivedMultipliers = int(seen->multipliers.size());
    if (seen->summary.qsoCount > 0)
        seen->summary.last = {lastDate, lastTime};
    for (int bandMode = 0; bandMode < bandModeCount; ++bandMode) {
        if (const int count = seen->bandModes[std::size_t(bandMode)]) {
            seen->summary.bandModes.append(
                {bandMode / modeCount, QLatin1String(modeText(bandMode % modeCount)), count});
        }
    }
    if (!seen->unmarkedDuplicates.isEmpty())
        readFirstLines(log);
    LogCheck check;
    check.summary = seen->summary;
    for (const Rule &rule : rules) {
        Findings said;
        rule.judge(*seen, said);
        for (const Said &one : said)
            check.findings.append(finding(rule.name, one));
    }
    return check;
}

LogCheck CheckLog(const StationEntries &entries, const LogSource &log, QsoYear year,
                  const QDate &today)
{
    LogChecker checker(entries, today);
    int number = 0;
    log([&](const ZlogExport::Line &raw) {
        ++number;
        const QStringView line = ZlogExport::trimmed(raw.text);
        if (IsPassedOver(line))
            return true;
        const auto read = ReadQsoLine(line, number, year.of(raw));
        if (const Qso *qso = std::get_if<Qso>(&read))
            checker.add(*qso, line, number);
        return true;
    });
    return checker.finish(log);
}

QString BandName(int band)
{
    const QString text = QLatin1String(ZlogExport::bandTexts[std::size_t(band)]);
    return text.endsWith(QLatin1Char('G')) ? text + QStringLiteral("Hz")
                                           : text + QStringLiteral("MHz");
}

QString BandCounts(const LogSummary &summary)
{
    QMap<int, int> perBand;
    for (const BandModeCount &count : summary.bandModes)
        perBand[count.band] += count.count;
    QStringList counts;
    for (auto it = perBand.begin(); it != perBand.end(); ++it)
        counts.append(BandName(it.key()) + QLatin1Char(' ') + QString::number(it.value()));
    return counts.join(QStringLiteral("・"));
}

QString SummaryLine(const LogCheck &check)
{
    const LogSummary &s = check.summary;
    const auto shown = [](const WrittenMoment &m) {
        return m.date.toString(QStringLiteral("MM-dd")) + QLatin1Char(' ') + m.time;
    };
    // The contests last a day: the last QSO's date only when it differs.
    const QString last = s.last.date == s.first.date ? s.last.time : shown(s.last);
    return Messages::checkSummary(s.qsoCount, BandCounts(s),
                                  Messages::qsoSpan(shown(s.first), last),
                                  int(check.findings.size()));
}
