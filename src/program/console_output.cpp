#include "program/console_output.h"

#include <QString>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

ConsoleOutput::ConsoleOutput(std::FILE *output) : stream(output)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ConsoleOutput::writeData(const char *data, qint64 size)
{
#if defined(Q_OS_WIN)
    const HANDLE handle = HANDLE(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // QTextStream hands over whole characters, so a piece is always complete UTF-8.
        const QString text = QString::fromUtf8(data, size);
        DWORD written = 0;
        WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
        return size;
    }
#endif
    const qint64 written = qint64(std::fwrite(data, 1, size_t(size), stream));
    std::fflush(stream);
    return written;
}
