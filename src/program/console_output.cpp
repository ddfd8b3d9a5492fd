#include "program/console_output.h"

#include <QByteArray>
#include <QString>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#endif

namespace
{

#if defined(Q_OS_WIN)
// cmd, PowerShell 5, `type` and `find` read a program's redirected output in the console's
// code page (932 on a Japanese Windows), not as UTF-8. Without a console, the system's.
QByteArray inConsoleCodePage(const QString &text)
{
    UINT codePage = GetConsoleOutputCP();
    if (codePage == 0)
        codePage = GetACP();
    if (codePage == CP_UTF8)
        return text.toUtf8();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size =
        WideCharToMultiByte(codePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, Qt::Uninitialized);
    WideCharToMultiByte(codePage, 0, wide, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}
#endif

} // namespace

ConsoleOutput::ConsoleOutput(std::FILE *output) : stream(output)
{
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ConsoleOutput::writeData(const char *data, qint64 size)
{
#if defined(Q_OS_WIN)
    // QTextStream hands over whole characters, so a piece is always complete UTF-8.
    const QString text = QString::fromUtf8(data, size);
    const HANDLE handle = HANDLE(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
        return size;
    }
    const QByteArray bytes = inConsoleCodePage(text);
    const bool complete =
        std::fwrite(bytes.data(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    std::fflush(stream);
    return complete ? size : -1;
#else
    const qint64 written = qint64(std::fwrite(data, 1, size_t(size), stream));
    std::fflush(stream);
    return written;
#endif
}
