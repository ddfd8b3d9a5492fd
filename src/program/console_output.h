#pragma once

#include <QIODevice>

#include <cstdio>

// Standard output or error for a QTextStream, which writes UTF-8. A Windows console shows
// the text through its own Unicode call whatever its code page is, so Japanese reads right;
// redirected on Windows, the text goes out in the console's code page, which is what the
// command prompt reads back. Elsewhere the bytes go out as they are.
class ConsoleOutput : public QIODevice
{
public:
    explicit ConsoleOutput(std::FILE *stream);

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::FILE *stream;
};
