#include "input/log_loading.h"

#include "conversion/messages.h"
#include "conversion/text_file.h"

namespace {

constexpr qsizetype multiplierColumn = 27; // column 28, counted from 0

bool isHeaderLine(const QString &line)
{
    return line.contains(QLatin1String("callsign"));
}

bool lacksMultiplier(const QString &line)
{
    return line.size() > multiplierColumn && line.at(multiplierColumn) == QLatin1Char(' ');
}

// Overwrites in place: a line too short for a column keeps its length.
void writeMultiplier(QString &line, const QString &answer)
{
    const QString columns = (answer + QStringLiteral("  ")).left(2);
    for (qsizetype i = 0; i < 2 && multiplierColumn + i < line.size(); ++i)
        line[multiplierColumn + i] = columns.at(i);
}

} // namespace

QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask, bool *asked)
{
    bool questionAsked = false;
    QString answer;
    QString text;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString &line : lines) {
        if (!questionAsked && !isHeaderLine(line) && lacksMultiplier(line)) {
            answer = ask(Messages::multiplierPrompt);
            questionAsked = true;
        }
        if (questionAsked) {
            QString patched = line;
            writeMultiplier(patched, answer);
            text += patched;
        } else {
            text += line;
        }
        text += QLatin1String("\r\n");
    }
    if (asked)
        *asked = questionAsked;
    return text;
}

LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask)
{
    LoadedLog loaded;
    if (path.isEmpty()) {
        loaded.error = Messages::noFileGiven();
        return loaded;
    }
    const TextFile::ReadResult read = TextFile::readLines(path);
    if (!read.error.isEmpty()) {
        loaded.error = read.error;
        return loaded;
    }
    loaded.text = PatchSentMultiplier(read.lines, ask, &loaded.asked);
    return loaded;
}
