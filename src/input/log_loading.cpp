#include "input/log_loading.h"

#include "core/messages.h"
#include "core/text_search.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace
{

const QLatin1String crlf("\r\n");

bool lacksMultiplier(QStringView line, qsizetype column)
{
    return line.size() > column && line.at(column) == u' ';
}

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

std::optional<QString> SentMultiplierAnswer(const QString &typed)
{
    QString folded = typed;
    for (QChar &c : folded) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFEE0);
        else if (c == u'\u3000')
            c = u' ';
    }
    const QString answer = folded.trimmed();
    if (answer.size() > 2 || !std::all_of(answer.begin(), answer.end(), isAsciiLetterOrDigit))
        return std::nullopt;
    return answer;
}

QStringView MultiplierPatch::apply(QStringView line, qsizetype column)
{
    if (!questionAsked && lacksMultiplier(line, column) && !ZlogExport::isHeaderLine(line)) {
        columns = (ask(Messages::multiplierPrompt) + QStringLiteral("  ")).left(2);
        questionAsked = true;
    }
    if (!questionAsked || line.size() <= column)
        return line;
    // A line too short for the second column keeps its length.
    patched.resize(0);
    patched.append(line);
    for (qsizetype i = 0; i < 2 && column + i < line.size(); ++i)
        patched[column + i] = columns.at(i);
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

QString LogFile::read(const std::function<bool(const ZlogExport::Line &line)> &receive)
{
    if (!binary)
        return readText([&receive](QStringView text) { return receive({text}); });
    std::deque<ZlogFile::LineFacts> facts;
    const TextFile::LineReceiver withFacts = [&](QStringView text) {
        const ZlogFile::LineFacts known = facts.empty() ? ZlogFile::LineFacts() : facts.front();
        if (!facts.empty())
            facts.pop_front();
        return receive({text, known.year, known.sentExchangeColumn});
    };
    TextFile::LineDecoder decoder(withFacts, TextFile::Reading::ShiftJisOnly);
    binary->write([this](char *into, qsizetype room) { return file.read(into, room); },
                  [&decoder](QByteArrayView text) { return decoder.feed(text); }, &facts);
    const TextFile::LinesRead lines = decoder.finish();
    return file.error().isEmpty() ? TextFile::failure(file.path(), lines) : file.error();
}

// DOS editors and old exports end a text file with the byte 1A; one such byte behind the last
// line end is no line of the log. Anywhere else it stays a control character.
QString LogFile::readText(const TextFile::LineReceiver &receive)
{
    TextFile::LineDecoder decoder(receive, TextFile::Reading::Detect);
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    char last = '\n';  // the byte in front of the held one
    bool held = false; // a 1A at the end of what was read so far
    qsizetype n = 0;
    bool going = true;
    while (going && (n = file.read(bytes.data(), bytes.size())) > 0) {
        QByteArrayView chunk = QByteArrayView(bytes).first(n);
        if (held)
            going = decoder.feed("\x1a");
        held = chunk.back() == '\x1a';
        if (held)
            chunk.chop(1);
        if (!chunk.isEmpty())
            last = chunk.back();
        going = going && decoder.feed(chunk);
    }
    if (going && held && last != '\n' && last != '\r')
        decoder.feed("\x1a");
    const TextFile::LinesRead lines = decoder.finish();
    return n < 0 ? file.error() : TextFile::failure(file.path(), lines);
}

LoadedLog LoadLogFile(const QString &path, const MultiplierQuestion &ask)
{
    LoadedLog loaded;
    LogFile log(path);
    // Only zLOG's own files move the sent exchange; a text export has it in column 28.
    std::vector<qsizetype> columns;
    loaded.error = log.open();
    if (loaded.error.isEmpty()) {
        loaded.error = log.read([&](const ZlogExport::Line &line) {
            loaded.text.append(line.text).append(crlf);
            if (log.isZlogFile()) {
                loaded.years.append(line.year);
                if (loaded.firstYear == 0)
                    loaded.firstYear = line.year;
                columns.push_back(line.sentExchangeColumn);
            }
            return true;
        });
    }
    if (!loaded.error.isEmpty()) {
        loaded.text.clear();
        loaded.years.clear();
        loaded.firstYear = 0;
        return loaded;
    }
    // Patched where the lines lie: a line keeps its length.
    MultiplierPatch patch(ask);
    QChar *text = loaded.text.data();
    std::size_t number = 0;
    for (qsizetype start = 0; start < loaded.text.size(); ++number) {
        const qsizetype end = TextSearch::indexOf(loaded.text, u'\r', start);
        const QStringView line(text + start, end - start);
        const QStringView patched =
            patch.apply(line, columns.empty() ? ZlogExport::sentExchangeColumn : columns[number]);
        if (patched.data() != line.data())
            std::copy(patched.begin(), patched.end(), text + start);
        start = end + 2;
    }
    loaded.asked = patch.asked();
    return loaded;
}
