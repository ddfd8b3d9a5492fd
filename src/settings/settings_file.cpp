#include "settings/settings_file.h"

#include "core/files.h"
#include "core/messages.h"
#include "core/text_file.h"

#include <array>
#include <cmath>

namespace
{

constexpr int fixedLineCount = 15;

// Check-box values are written with a blank on either side.
QString checkValueLine(int value)
{
    return QStringLiteral(" %1 ").arg(value);
}

// Reads a check-box line as a 16-bit integer would be read: blanks around the number are
// ignored, a fraction is rounded (halves to even). Only 0, 1 and 2 are check-box values.
std::optional<int> parseCheckValue(const QString &line)
{
    bool ok = false;
    const double value = line.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < 0 || rounded > 2)
        return std::nullopt;
    return int(rounded);
}

std::array<QString *, 13> textEntries(StationEntries &e)
{
    return {&e.contest,  &e.category,  &e.antenna, &e.logType,   &e.separatorSign,
            &e.callsign, &e.name,      &e.address, &e.equipment, &e.key,
            &e.power,    &e.telephone, &e.mail};
}

// Each entry but the soapbox fills one line: a line break inside one would shift every
// entry after it at the next start.
std::optional<QString> entryWithLineBreak(const StationEntries &entries)
{
    const QList<LabelledText> texts = LabelledTexts(entries);
    for (const LabelledText &entry : texts.first(texts.size() - 1)) {
        if (entry.text.contains(QLatin1Char('\r')) || entry.text.contains(QLatin1Char('\n')))
            return entry.label;
    }
    return std::nullopt;
}

} // namespace

QStringList SettingsLines(const StationEntries &entries)
{
    StationEntries copy = entries;
    QStringList lines;
    for (const QString *text : textEntries(copy))
        lines.append(*text);
    lines << checkValueLine(entries.senior) << checkValueLine(entries.donor) << entries.soapbox;
    return lines;
}

std::optional<QString> SaveSettings(const QString &path, const StationEntries &entries)
{
    if (const auto entry = entryWithLineBreak(entries))
        return Messages::settingsNotSaved(path, Messages::lineBreakInEntry(*entry));
    const auto bytes = TextFile::encodeLines(SettingsLines(entries));
    if (!bytes)
        return Messages::settingsNotSaved(path, Messages::unencodableText());
    if (const auto reason = Files::writeAtomically(path, *bytes))
        return Messages::settingsNotSaved(path, *reason);
    return std::nullopt;
}

SettingsLoad LoadSettings(const QString &path, StationEntries &entries)
{
    SettingsLoad load;
    // A line that cannot be decoded stops the load there, like any other bad line.
    const TextFile::ReadResult read = TextFile::readLines(path);
    load.problem = read.error;
    const QStringList &lines = read.lines;
    const auto texts = textEntries(entries);
    for (QString *text : texts) {
        if (load.linesRestored == lines.size())
            break;
        *text = lines.at(load.linesRestored++);
    }
    for (int *check : {&entries.senior, &entries.donor}) {
        if (load.linesRestored == lines.size())
            break;
        const auto value = parseCheckValue(lines.at(load.linesRestored));
        if (!value)
            break;
        *check = *value;
        ++load.linesRestored;
    }
    if (!read.error.isEmpty())
        return load;
    if (load.linesRestored < fixedLineCount) {
        load.problem = Messages::settingsStopped(path, load.linesRestored + 1);
        return load;
    }
    for (qsizetype i = fixedLineCount; i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            entries.soapbox += lines.at(i) + QLatin1String("\r\n");
    }
    load.outcome = SettingsLoad::Outcome::Complete;
    return load;
}
