#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "core/zlog_export.h"

#include <deque>
#include <functional>
#include <vector>

// zLOG's own binary logs (.ZLOX, .ZLO, and its backups *.ZLOX.BAK, which have the .ZLO
// layout), turned into the text of zLOG's "DOS compatible" export, so that a log can be
// loaded without exporting it from zLOG first.
namespace ZlogFile
{

// Whether a file is one of zLOG's binary logs, by content, never by name: "ZLOX" at the start
// (384-byte records), or whole 256-byte records of which the first reads as a header. start
// holds the file's first bytes (256 are enough), size is its size.
bool isBinaryLog(QByteArrayView start, qint64 size);
inline bool isBinaryLog(QByteArrayView bytes)
{
    return isBinaryLog(bytes, bytes.size());
}

// The bytes of a log as they are read: into the given room; 0 at the end, -1 on a failure.
using ByteSource = std::function<qsizetype(char *into, qsizetype room)>;

// What the reader knows of an export line beside its text.
struct LineFacts {
    int year = 0; // the QSO's year; 0 for the header line
    // Where the sent exchange starts: further right than in zLOG's own export where a long
    // callsign keeps a blank from the report.
    qsizetype sentExchangeColumn = ZlogExport::sentExchangeColumn;
};

// A log read twice, a chunk of records at a time, so that a large one is never held whole:
// first every record is checked, then the text of zLOG's export is handed on in pieces.
class Exporter
{
public:
    explicit Exporter(const QString &path);

    // Gives back the message for the first record zLOG could not show, or for a size that is
    // no whole number of records; start holds the first bytes, size is the log's size.
    QString check(const ByteSource &read, qint64 size, QByteArrayView start);
    // After check(), read from the start again: hands the export's lines on, CR LF after
    // each, in pieces, until text() answers false; false then, or when reading failed. Each
    // line's facts, where asked for, are queued before its piece is handed on.
    bool write(const ByteSource &read, const std::function<bool(QByteArrayView text)> &text,
               std::deque<LineFacts> *facts = nullptr);

private:
    QString name;
    bool zlox = false;
    qsizetype recordSize = 256;
    bool fiveIsFt4 = false;
    bool wide = false;
    std::vector<bool> keep; // for each QSO record, whether zLOG keeps it
};

} // namespace ZlogFile
