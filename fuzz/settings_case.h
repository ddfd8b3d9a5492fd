#pragma once

// Arbitrary bytes as "ini.txt", restored into the entries the window starts with. A load
// must restore exactly the lines in front of the first unusable one, and whatever a
// complete load restores must come back unchanged through a save and a second load.

#include "fuzz_support.h"

#include "core/station_entries.h"
#include "core/text_file.h"
#include "settings/settings_file.h"

namespace Fuzz
{

namespace SettingsCase
{

constexpr int fixedLineCount = 15; // 13 texts and the two check boxes
constexpr int textCount = 13;

inline bool isCheckValue(int value)
{
    return value >= 0 && value <= 2;
}

inline bool canBeSaved(const StationEntries &entries)
{
    for (const LabelledText &entry : LabelledTexts(entries)) {
        if (TextFile::firstUnencodable(entry.text))
            return false;
    }
    return true;
}

inline bool holdsLineBreak(const QStringList &texts)
{
    for (const QString &text : texts) {
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
            return true;
    }
    return false;
}

inline void checkRoundTrip(const StationEntries &entries)
{
    // SettingsLines gives the entries in file order: the 13 texts, then the check boxes.
    const QStringList fixed = SettingsLines(entries).mid(0, fixedLineCount);
    if (!canBeSaved(entries) || holdsLineBreak(fixed))
        return;
    static const QString savedPath = scratch().filePath(QStringLiteral("saved-ini.txt"));
    const std::optional<QString> error = SaveSettings(savedPath, entries);
    FUZZ_CHECK(!error);
    FUZZ_CHECK(readFile(savedPath) == referenceEncoding(SettingsLines(entries)));

    StationEntries again = InitialStationEntries();
    const SettingsLoad reload = LoadSettings(savedPath, again);
    FUZZ_CHECK(reload.outcome == SettingsLoad::Outcome::Complete);
    FUZZ_CHECK(SettingsLines(again).mid(0, fixedLineCount) == fixed);
    FUZZ_CHECK(again.soapbox == entries.soapbox);
}

} // namespace SettingsCase

inline void runSettingsCase(const QByteArray &bytes)
{
    using namespace SettingsCase;
    static const QString path = scratch().filePath(QStringLiteral("ini.txt"));
    static const StationEntries initial = InitialStationEntries();
    static const QStringList initialLines = SettingsLines(initial);

    writeFile(path, bytes);
    StationEntries entries = initial;
    const SettingsLoad load = LoadSettings(path, entries);

    const bool complete = load.outcome == SettingsLoad::Outcome::Complete;
    FUZZ_CHECK(load.linesRestored >= 0 && load.linesRestored <= fixedLineCount);
    FUZZ_CHECK(!complete || load.linesRestored == fixedLineCount);
    FUZZ_CHECK(complete == load.problem.isEmpty());
    FUZZ_CHECK(isCheckValue(entries.senior));
    FUZZ_CHECK(isCheckValue(entries.donor));

    // The restored lines are the file's first lines as they stand; the others keep what
    // the window showed before.
    const TextFile::ReadResult read = TextFile::readLines(path);
    FUZZ_CHECK(load.linesRestored <= read.lines.size());
    const QStringList restored = SettingsLines(entries);
    for (int i = 0; i < fixedLineCount; ++i) {
        if (i >= load.linesRestored)
            FUZZ_CHECK(restored.at(i) == initialLines.at(i));
        else if (i < textCount)
            FUZZ_CHECK(restored.at(i) == read.lines.at(i));
    }

    if (!complete) {
        FUZZ_CHECK(entries.soapbox == initial.soapbox);
        return;
    }
    // Every non-empty line behind the fixed ones is a soapbox line; empty ones are dropped.
    QString soapbox;
    for (qsizetype i = fixedLineCount; i < read.lines.size(); ++i) {
        if (!read.lines.at(i).isEmpty())
            soapbox += read.lines.at(i) + QLatin1String("\r\n");
    }
    FUZZ_CHECK(entries.soapbox == soapbox);

    checkRoundTrip(entries);
}

} // namespace Fuzz
