#include "input/zlog_file.h"

#include "core/messages.h"
#include "core/shift_jis.h"
#include "core/zlog_export.h"

#include <QDate>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace ZlogFile
{

namespace
{

constexpr qsizetype zloRecordSize = 256;
constexpr qsizetype zloxRecordSize = 384;

// A string field: a length byte, then up to its capacity of CP932 bytes.
struct Field {
    qsizetype offset;
    qsizetype capacity;
};
constexpr Field callSignField{8, 12};
constexpr Field sentField{21, 30};
constexpr Field receivedField{52, 30};
constexpr Field multiplierField{95, 30};
constexpr Field secondMultiplierField{126, 30};
constexpr Field operatorField{160, 14};
constexpr Field memoField{175, 64};
constexpr Field frequencyField{256, 10}; // .ZLOX only

constexpr Field headerStrings[] = {
    callSignField,         sentField,     receivedField, multiplierField,
    secondMultiplierField, operatorField, memoField};
constexpr qsizetype headerBooleans[] = {157, 158, 240, 241};

constexpr const auto &bandNames = ZlogExport::bandTexts;
constexpr const auto &modeNames = ZlogExport::modeTexts;
constexpr quint8 ambiguousMode = 5;
constexpr const char *otherMode = "Oth";

const QByteArrayView shortHeader =
    "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo";
const QByteArrayView longHeader = "mon day time  callsign      sent                              "
                                  "rcvd                           multi   MHz mode pts memo";

quint8 byteAt(QByteArrayView record, qsizetype offset)
{
    return static_cast<quint8>(record[offset]);
}

template <typename T> T numberAt(QByteArrayView record, qsizetype offset)
{
    return qFromLittleEndian<T>(record.data() + offset);
}

double doubleAt(QByteArrayView record, qsizetype offset)
{
    const auto bits = numberAt<quint64>(record, offset);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// zLOG never writes a length beyond the capacity; one that is there is read as the capacity.
QByteArrayView stringAt(QByteArrayView record, Field field)
{
    const qsizetype length = std::min<qsizetype>(byteAt(record, field.offset), field.capacity);
    return record.sliced(field.offset + 1, length);
}

qsizetype characterLength(QByteArrayView text, qsizetype at)
{
    return ShiftJis::isLeadByte(static_cast<quint8>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Lines written into room made for them beforehand: appending to a QByteArray or a
// std::string cost more than all the rest of a large log's export (measured).
class Line
{
public:
    // Room for a record's line, which is never as long.
    void makeRoom()
    {
        if (buffer.size() - used < 1024)
            buffer.resize(std::max<qsizetype>(2 * buffer.size(), used + 1024));
    }
    Line &operator+=(QByteArrayView text)
    {
        if (text.isEmpty()) // an empty view may hold no pointer at all
            return *this;
        separate(text.front());
        std::memcpy(buffer.data() + used, text.data(), size_t(text.size()));
        used += text.size();
        return *this;
    }
    Line &operator+=(char c)
    {
        separate(c);
        buffer[used++] = c;
        return *this;
    }
    void append(qsizetype count, char c)
    {
        if (count == 0)
            return;
        separate(c);
        std::memset(buffer.data() + used, c, size_t(count));
        used += count;
    }
    // The next field, unless it starts with a blank, gets one in front.
    void keepApart() { apart = true; }
    void endLine()
    {
        apart = false;
        *this += "\r\n";
    }
    qsizetype size() const { return used; }
    QByteArrayView text() const { return QByteArrayView(buffer).first(used); }
    void clear() { used = 0; }

private:
    void separate(char next)
    {
        if (std::exchange(apart, false) && next != ' ')
            buffer[used++] = ' ';
    }

    QByteArray buffer;
    qsizetype used = 0;
    bool apart = false;
};

// The widths of the export count bytes. zLOG cuts a text too long for its width, or glues a
// text that fills it to the next field; here it is written whole, and the next field keeps a
// blank from it.
void appendLeft(Line &line, QByteArrayView text, qsizetype width)
{
    line += text;
    line.append(std::max<qsizetype>(width - text.size(), 0), ' ');
    if (text.size() >= width)
        line.keepApart();
}

void appendRight(Line &line, QByteArrayView text, qsizetype width)
{
    line.append(std::max<qsizetype>(width - text.size(), 0), ' ');
    line += text;
}

// What zLOG shows around the memo's own text: QSL wish, forced entry, dupe, frequency, QSY.
struct Notes {
    QByteArray memo;
    QByteArrayView frequency;
    quint8 qslState = 0; // 1 PSE QSL, 2 NO QSL
    bool forced = false;
    bool dupe = false;
    bool qsyViolation = false;
};

QByteArray trimmed(QByteArrayView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && static_cast<quint8>(text[start]) <= 0x20)
        ++start;
    while (end > start && static_cast<quint8>(text[end - 1]) <= 0x20)
        --end;
    return text.sliced(start, end - start).toByteArray();
}

// Only where a character starts: the trail byte of ケ (83 50) is a "P", and "ケSE QSL" asks
// for no card.
bool removeAll(QByteArray &memo, QByteArrayView word)
{
    if (!memo.contains(word))
        return false;
    QByteArray kept;
    bool found = false;
    for (qsizetype at = 0; at < memo.size();) {
        const QByteArrayView rest = QByteArrayView(memo).sliced(at);
        if (rest.startsWith(word)) {
            found = true;
            at += word.size();
            continue;
        }
        const qsizetype length = characterLength(memo, at);
        kept += rest.first(length);
        at += length;
    }
    if (found)
        memo = trimmed(kept);
    return found;
}

Notes zloxNotes(QByteArrayView record)
{
    Notes notes;
    notes.memo = stringAt(record, memoField).toByteArray();
    notes.frequency = stringAt(record, frequencyField);
    notes.qsyViolation = byteAt(record, 267) != 0;
    notes.forced = byteAt(record, 279) != 0;
    notes.qslState = byteAt(record, 280);
    notes.dupe = byteAt(record, 241) != 0;
    return notes;
}

// A .ZLO has no fields for these: zLOG folds them into the memo when it saves one and takes
// them out again when it opens one; whatever stood in front of "(" is lost on the way.
Notes zloNotes(QByteArrayView record)
{
    Notes notes;
    QByteArrayView memo = stringAt(record, memoField);
    if (const qsizetype open = memo.indexOf('('); open >= 0) {
        if (const qsizetype close = memo.indexOf(')', open + 1); close >= 0) {
            notes.frequency = memo.sliced(open + 1, close - open - 1);
            memo = memo.sliced(close + 1);
        }
    }
    notes.memo = memo.toByteArray();
    notes.dupe = removeAll(notes.memo, "-DUPE-") || byteAt(record, 241) != 0;
    notes.qsyViolation = removeAll(notes.memo, "*QSY Violation*");
    notes.forced = removeAll(notes.memo, "*");
    if (removeAll(notes.memo, "PSE QSL"))
        notes.qslState = 1;
    if (removeAll(notes.memo, "NO QSL"))
        notes.qslState = 2;
    return notes;
}

// The memo always has its place, so a memo of flags only ends in a blank.
void appendMemo(Line &line, const Notes &notes)
{
    const qsizetype start = line.size();
    const auto add = [&line, start](QByteArrayView part) {
        if (line.size() > start)
            line += ' ';
        line += part;
    };
    if (notes.qslState == 1)
        add("PSE QSL");
    else if (notes.qslState == 2)
        add("NO QSL");
    if (notes.forced)
        add("*");
    if (notes.dupe)
        add("-DUPE-");
    if (!notes.frequency.isEmpty()) {
        add("(");
        line += notes.frequency;
        line += ')';
    }
    add(notes.memo);
    if (notes.qsyViolation)
        add("*QSY Violation*");
}

struct Stamp {
    int year;
    int month;
    int day;
    int hour;
    int minute;
};

// Delphi's dates, 0001-01-01 to 9999-12-31, as days from 1899-12-30.
constexpr qint64 firstDay = -693'593;
constexpr qint64 lastDay = 2'958'465;
constexpr qint64 msPerDay = 86'400'000;

// As Delphi rounds a date and time: to the millisecond, halves to even; nothing when that
// is no date Delphi can show.
std::optional<qint64> millisecondsOf(double days)
{
    if (!(days > double(firstDay - 1) && days < double(lastDay + 1)))
        return std::nullopt;
    const auto ms = static_cast<qint64>(std::nearbyint(days * double(msPerDay)));
    const qint64 date = ms / msPerDay;
    if (date < firstDay || date > lastDay)
        return std::nullopt;
    return ms;
}

// As Delphi decodes a date and time: the date the whole days, the time of day what is left,
// also before 1899-12-30, which is Julian day 2,415,019.
std::optional<Stamp> decodeTime(double days)
{
    const std::optional<qint64> ms = millisecondsOf(days);
    if (!ms)
        return std::nullopt;
    const QDate date = QDate::fromJulianDay(*ms / msPerDay + 2'415'019);
    const qint64 time = std::llabs(*ms) % msPerDay;
    return Stamp{date.year(), date.month(), date.day(), int(time / 3'600'000),
                 int(time / 60'000 % 60)};
}

// Characters as zLOG counts them (UTF-16 units), or nothing when the bytes are no CP932.
std::optional<qsizetype> charactersOf(QByteArrayView text)
{
    // zLOG never writes a NUL into a string: one there is a damaged record, which would
    // otherwise reach the log's text as a line of a binary file.
    if (text.contains('\0'))
        return std::nullopt;
    // Most fields are ASCII, which needs no converter.
    quint8 bits = 0;
    for (const char c : text)
        bits |= quint8(c);
    if (bits < 0x80)
        return text.size();
    char16_t units[64]; // the largest capacity
    const ShiftJis::Decoded decoded = ShiftJis::decode(text, units);
    if (decoded.badByte >= 0)
        return std::nullopt;
    return decoded.units;
}

bool isText(QByteArrayView record, bool zlox)
{
    const Field fields[] = {callSignField,   sentField,     receivedField,
                            multiplierField, operatorField, memoField};
    const auto decodes = [record](Field field) {
        return charactersOf(stringAt(record, field)).has_value();
    };
    return std::all_of(std::begin(fields), std::end(fields), decodes) &&
           (!zlox || decodes(frequencyField));
}

// Why zLOG could not show the record; nothing when it can.
QString problemOf(QByteArrayView record, bool zlox, const QString &path, int number)
{
    if (!isText(record, zlox))
        return Messages::zlogUndecodableText(path, number);
    if (!millisecondsOf(doubleAt(record, 0)))
        return Messages::zlogBadTime(path, number);
    if (const quint8 band = byteAt(record, 93); band >= std::size(bandNames))
        return Messages::zlogBadBand(path, number, band);
    if (const quint8 mode = byteAt(record, 92); mode >= std::size(modeNames))
        return Messages::zlogBadMode(path, number, mode);
    return {};
}

// A number's decimal digits, without allocating.
struct Digits {
    char bytes[12];
    qsizetype size;
    QByteArrayView view() const { return {bytes, size}; }
};

Digits digitsOf(int number)
{
    Digits digits{};
    const char *const end =
        std::to_chars(std::begin(digits.bytes), std::end(digits.bytes), number).ptr;
    digits.size = end - digits.bytes;
    return digits;
}

void appendTwoDigits(Line &line, int number)
{
    line += char('0' + number / 10);
    line += char('0' + number % 10);
}

struct Format {
    bool zlox;
    bool fiveIsFt4;
};

// The line of a record that problemOf() passed, and what the reader knows beside it.
LineFacts appendLine(Line &text, QByteArrayView record, Format format, bool wide)
{
    text.makeRoom();
    const qsizetype start = text.size();
    const qsizetype exchange = wide ? 31 : 10;
    const QByteArrayView gap = wide ? "" : "  ";
    const Stamp stamp = decodeTime(doubleAt(record, 0)).value_or(Stamp{});
    appendRight(text, digitsOf(stamp.month).view(), 3);
    text += ' ';
    appendRight(text, digitsOf(stamp.day).view(), 3);
    text += ' ';
    appendTwoDigits(text, stamp.hour);
    appendTwoDigits(text, stamp.minute);
    text += ' ';
    appendLeft(text, stringAt(record, callSignField), 11);
    appendRight(text, digitsOf(numberAt<qint16>(record, 84)).view(), 3);
    const QByteArrayView beforeExchange = text.text().sliced(start);
    appendLeft(text, stringAt(record, sentField), exchange);
    appendRight(text, digitsOf(numberAt<quint16>(record, 86)).view(), 3);
    appendLeft(text, stringAt(record, receivedField), exchange);
    const bool newMultiplier = byteAt(record, 157) != 0;
    appendRight(text, newMultiplier ? stringAt(record, multiplierField) : QByteArrayView(), 6);
    text += "  ";
    appendRight(text, bandNames[byteAt(record, 93)], 4);
    text += "  ";
    const quint8 mode = byteAt(record, 92);
    appendLeft(text, mode == ambiguousMode && !format.fiveIsFt4 ? otherMode : modeNames[mode], 3);
    text += ' ';
    appendLeft(text, digitsOf(byteAt(record, 159)).view(), 2);
    if (const QByteArrayView operatorName = stringAt(record, operatorField);
        !operatorName.isEmpty()) {
        text += gap;
        text += "%%";
        text += operatorName;
        text += "%%";
    }
    text += gap;
    appendMemo(text, format.zlox ? zloxNotes(record) : zloNotes(record));
    text.endLine();
    return {stamp.year, charactersOf(beforeExchange).value_or(beforeExchange.size())};
}

// zLOG keeps only the first record of a QSO id and callsign when it opens a file.
bool repeats(QByteArrayView record, QSet<QByteArray> &seen)
{
    const qint32 id = numberAt<qint32>(record, 252) / 100;
    if (id == 0)
        return false;
    QByteArray key(reinterpret_cast<const char *>(&id), sizeof id);
    key += stringAt(record, callSignField);
    if (seen.contains(key))
        return true;
    seen.insert(key);
    return false;
}

// The records of a log, read a chunk at a time into the same memory: a large log is read
// twice rather than held whole. Gives back false when reading failed or each() said stop.
bool forEachRecord(const ByteSource &read, qsizetype recordSize,
                   const std::function<bool(QByteArrayView record)> &each)
{
    QByteArray chunk(recordSize * 2048, Qt::Uninitialized);
    qsizetype filled = 0;
    for (qsizetype n = 1; n > 0;) {
        n = read(chunk.data() + filled, chunk.size() - filled);
        if (n < 0)
            return false;
        filled += n;
        const qsizetype whole = filled - filled % recordSize;
        for (qsizetype at = 0; at < whole; at += recordSize) {
            if (!each(QByteArrayView(chunk).sliced(at, recordSize)))
                return false;
        }
        std::memmove(chunk.data(), chunk.data() + whole, size_t(filled - whole));
        filled -= whole;
    }
    return true;
}

} // namespace

Exporter::Exporter(const QString &path) : name(path) {}

QString Exporter::check(const ByteSource &read, qint64 size, QByteArrayView start)
{
    zlox = start.startsWith("ZLOX");
    recordSize = zlox ? zloxRecordSize : zloRecordSize;
    if (size <= 0 || size % recordSize != 0)
        return Messages::zlogRecordSize(name, int(recordSize));
    keep.clear();
    QSet<QByteArray> seen;
    qsizetype lastSent = 0;
    bool header = true;
    QString problem;
    forEachRecord(read, recordSize, [&](QByteArrayView record) {
        if (std::exchange(header, false)) {
            // What a crash or a full disk leaves: zLOG always writes its defaults there.
            if (size == recordSize && record.count('\0') == recordSize) {
                problem = Messages::zlogEmptyHeaderOnly(name);
                return false;
            }
            // Before 2.8.5, zLOG's list of modes ended with Other at 5, where FT4 is now; only
            // 2.8.5 and later write the contest's start time into the header of a .ZLO.
            fiveIsFt4 = zlox || doubleAt(record, 248) != 0.0;
            return true;
        }
        const int number = int(keep.size()) + 1;
        // Day 0, 1899-12-30, is no QSO's time: the record was never written.
        if (doubleAt(record, 0) == 0.0) {
            problem = Messages::zlogZeroTime(name, number);
            return false;
        }
        problem = problemOf(record, zlox, name, number);
        if (!problem.isEmpty())
            return false;
        keep.push_back(!repeats(record, seen));
        if (keep.back())
            lastSent = charactersOf(stringAt(record, sentField)).value_or(0);
        return true;
    });
    // zLOG widens the exchanges when the last QSO's sent one fills their usual width.
    wide = lastSent >= 10;
    return problem;
}

bool Exporter::write(const ByteSource &read, const std::function<bool(QByteArrayView text)> &text,
                     std::deque<LineFacts> *facts)
{
    Line lines;
    lines.makeRoom();
    lines += wide ? longHeader : shortHeader;
    lines.endLine();
    if (facts)
        facts->push_back({});
    std::size_t number = 0;
    bool header = true;
    const bool done = forEachRecord(read, recordSize, [&](QByteArrayView record) {
        if (std::exchange(header, false))
            return true;
        if (number < keep.size() && keep[number++]) {
            const LineFacts made = appendLine(lines, record, {zlox, fiveIsFt4}, wide);
            if (facts)
                facts->push_back(made);
        }
        if (lines.size() < 64 * 1024)
            return true;
        const bool goOn = text(lines.text());
        lines.clear();
        return goOn;
    });
    return done && text(lines.text());
}

// The first record reads as zLOG's header when, as in every record zLOG writes, each string's
// length byte is within the string's capacity and each boolean is 0 or 1. Text holds no byte
// 0 or 1 for the four booleans, nor control codes at the length bytes of the callsign and
// the exchanges, so a text file is never taken for a log, whatever its size.
bool isBinaryLog(QByteArrayView start, qint64 size)
{
    if (start.startsWith("ZLOX"))
        return true;
    if (size <= 0 || size % zloRecordSize != 0 || start.size() < zloRecordSize)
        return false;
    const QByteArrayView header = start.first(zloRecordSize);
    return std::all_of(
               std::begin(headerStrings), std::end(headerStrings),
               [header](Field field) { return byteAt(header, field.offset) <= field.capacity; }) &&
           std::all_of(std::begin(headerBooleans), std::end(headerBooleans),
                       [header](qsizetype offset) { return byteAt(header, offset) <= 1; });
}

} // namespace ZlogFile
