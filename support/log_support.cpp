#include "log_support.h"

#include "input/zlog_file.h"

#include <algorithm>
#include <cstring>

QsoLines ConvertLogText(const QString &logText, const QString &ownCallsign, int year)
{
    QsoLines result;
    result.error = WriteQsoLines(LinesOfLogText(logText), ownCallsign, QsoYear{year},
                                 [&](QStringView line, int source) {
                                     result.lines.append(line.toString());
                                     if (source > 0)
                                         result.sourceLines.append(source);
                                 });
    return result;
}

ZlogExportText ExportZlogBytes(QByteArrayView bytes, const QString &path)
{
    const auto from = [bytes](qsizetype &position) {
        return [bytes, &position](char *into, qsizetype room) {
            const qsizetype n = std::min(room, bytes.size() - position);
            std::memcpy(into, bytes.data() + position, size_t(n));
            position += n;
            return n;
        };
    };
    ZlogFile::Exporter exporter(path);
    qsizetype position = 0;
    if (QString problem = exporter.check(from(position), bytes.size(), bytes); !problem.isEmpty())
        return {{}, std::move(problem)};
    position = 0;
    QByteArray text;
    exporter.write(from(position), [&text](QByteArrayView lines) {
        text += lines;
        return true;
    });
    return {std::move(text), {}};
}

QString PatchSentMultiplier(const QStringList &lines, const MultiplierQuestion &ask, bool *asked)
{
    MultiplierPatch patch(ask);
    QString text;
    for (const QString &line : lines)
        text.append(patch.apply(line)).append(QLatin1String("\r\n"));
    if (asked)
        *asked = patch.asked();
    return text;
}

TextFile::LinesRead ForEachLine(QByteArrayView bytes, const TextFile::LineReceiver &receive)
{
    TextFile::LineDecoder decoder(receive, TextFile::Reading::Detect);
    constexpr qsizetype piece = 64 * 1024;
    for (qsizetype start = 0; start < bytes.size(); start += piece) {
        if (!decoder.feed(bytes.sliced(start, std::min(piece, bytes.size() - start))))
            break;
    }
    return decoder.finish();
}
