#include "input/log_loading.h"

#include "core/messages.h"
#include "core/text_search.h"

#include <algorithm>

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
    return line.size() > multiplierColumn && line.at(multiplierColumn) == u' ';
}

} // namespace

QStringView MultiplierPatch::apply(QStringView line)
{
    if (!questionAsked && lacksMultiplier(line) && !isHeaderLine(line)) {
        columns = (ask(Messages::multiplierPrompt) + QStringLiteral("  ")).left(2);
        questionAsked = true;
    }
    if (!questionAsked || line.size() <= multiplierColumn)
        return line;
    // A line too short for the second column keeps its length.
    patched.resize(0);
    patched.append(line);
    for (qsizetype i = 0; i < 2 && multiplierColumn + i < line.size(); ++i)
        patched[multiplierColumn + i] = columns.at(i);
    return patched;
}

LogFile::LogFile(const QString &path) : file(path) {}

LogFile::~LogFile() = default;

QString LogFile::open()
{
    if (const QString problem = TextFile::codecProblem(); !problem.isEmpty())
        return problem;
    if (QString problem = file.open(); !problem.isEmpty())
        return problem;
    char header[256] = {};
    const qsizetype n = std::max<qsizetype>(file.read(header, sizeof header), 0);
    if (!file.rewind())
        return file.error();
    const QByteArrayView start(header, n);
    if (!ZlogFile::isBinaryLog(start, file.size()))
        return {};
    binary = std::make_unique<ZlogFile::Exporter>(file.path());
    const QString problem = binary->check(
        [this](char *into, qsizetype room) { return file.read(into, room); }, file.size(), start);
    if (!file.error().isEmpty())
        return file.error();
    return !problem.isEmpty() || file.rewind() ? problem : file.error();
}

QString LogFile::read(const TextFile::LineReceiver &receive)
{
    if (!binary)
        return TextFile::forEachLine(file, receive);
    TextFile::LineDecoder decoder(receive, TextFile::Reading::ShiftJisOnly);
    binary->write([this](char *into, qsizetype room) { return file.read(into, room); },
                  [&decoder](QByteArrayView text) { return decoder.feed(text); });
    const TextFile::LinesRead lines = decoder.finish();
    return file.error().isEmpty() ? TextFile::failure(file.path(), lines) : file.error();
}

LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask)
{
    LoadedLog loaded;
    LogFile log(path);
    loaded.error = log.open();
    if (loaded.error.isEmpty()) {
        loaded.error = log.read([&loaded](QStringView line) {
            loaded.text.append(line).append(crlf);
            return true;
        });
    }
    if (!loaded.error.isEmpty()) {
        loaded.text.clear();
        return loaded;
    }
    // Patched where the lines lie: a line keeps its length.
    MultiplierPatch patch(ask);
    QChar *text = loaded.text.data();
    for (qsizetype start = 0; start < loaded.text.size();) {
        const qsizetype end = TextSearch::indexOf(loaded.text, u'\r', start);
        const QStringView line(text + start, end - start);
        const QStringView patched = patch.apply(line);
        if (patched.data() != line.data())
            std::copy(patched.begin(), patched.end(), text + start);
        start = end + 2;
    }
    loaded.asked = patch.asked();
    return loaded;
}

QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask, bool *asked)
{
    MultiplierPatch patch(ask);
    QString text;
    for (const QString &line : lines)
        text.append(patch.apply(line)).append(crlf);
    if (asked)
        *asked = patch.asked();
    return text;
}
