#include "settings/settings_file.h"

#include "core/files.h"
#include "core/messages.h"
#include "core/text_file.h"

#include <cmath>

namespace
{

// A line for each text entry of one line, and one for each check box.
const qsizetype fixedLineCount = qsizetype(TextEntries().size()) + 2;

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

// Each entry but the soapbox fills one line: a line break inside one would shift every
// entry after it at the next start.
std::optional<QString> entryWithLineBreak(const StationEntries &entries)
{
    for (const TextEntry &entry : TextEntries()) {
        const QString &text = entries.*entry.text;
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            return entry.name;
    }
    return std::nullopt;
}

} // namespace

QStringList SettingsLines(const StationEntries &entries)
{
    QStringList lines;
    for (const TextEntry &entry : TextEntries())
        lines.append(entries.*entry.text);
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
    for (const TextEntry &entry : TextEntries()) {
        if (load.linesRestored == lines.size())
            break;
        entries.*entry.text = lines.at(load.linesRestored++);
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
