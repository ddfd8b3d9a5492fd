#include "input/log_loading.h"

#include "core/messages.h"
#include "core/text_file.h"
#include "core/text_search.h"

namespace
{

constexpr qsizetype multiplierColumn = 27; // column 28, counted from 0
const QLatin1String crlf("\r\n");

bool isHeaderLine(QStringView line)
{
    return TextSearch::contains(line, u"callsign");
}

bool lacksMultiplier(QStringView line)
{
    return line.size() > multiplierColumn && line.at(multiplierColumn) == QLatin1Char(' ');
}

// Every line followed by CR LF, as zLOG writes it; anything else is rewritten so.
bool endsEveryLineWithCrLf(const QString &text)
{
    if (text.isEmpty())
        return true;
    if (!text.endsWith(crlf))
        return false;
    for (qsizetype cr = TextSearch::indexOf(text, u'\r'); cr >= 0;
         cr = TextSearch::indexOf(text, u'\r', cr + 2)) {
        if (cr + 1 == text.size() || text.at(cr + 1) != QLatin1Char('\n'))
            return false;
    }
    return true;
}

QString joinWithCrLf(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text.append(line).append(crlf);
    return text;
}

// Patches the text where it lies: a log can be large, and the columns keep their places.
bool patchInPlace(QString &text, const MultiplierQuestion &ask)
{
    bool asked = false;
    QString columns;
    QChar *data = text.data();
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = TextSearch::indexOf(text, u'\r', start);
        const QStringView line(data + start, end - start);
        if (!asked && lacksMultiplier(line) && !isHeaderLine(line)) {
            columns = (ask(Messages::multiplierPrompt) + QStringLiteral("  ")).left(2);
            asked = true;
        }
        // A line too short for a column keeps its length.
        for (qsizetype i = 0; asked && i < 2 && multiplierColumn + i < line.size(); ++i)
            data[start + multiplierColumn + i] = columns.at(i);
        start = end + 2;
    }
    return asked;
}

} // namespace

QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask, bool *asked)
{
    QString text = joinWithCrLf(lines);
    const bool questionAsked = patchInPlace(text, ask);
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
    TextFile::TextRead read = TextFile::readText(path);
    if (!read.error.isEmpty()) {
        loaded.error = read.error;
        return loaded;
    }
    loaded.text = std::move(read.text);
    if (!endsEveryLineWithCrLf(loaded.text))
        loaded.text = joinWithCrLf(TextFile::splitLines(loaded.text));
    loaded.asked = patchInPlace(loaded.text, ask);
    return loaded;
}
