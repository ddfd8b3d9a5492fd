#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The files a user cares about: read whole within a limit, written whole or not at all.
// Every failure comes back as a Japanese message that names the file.
namespace Files
{

// Far beyond any log: a contest of a million QSOs exports about 78 MB.
constexpr qint64 readLimit = 256 * 1024 * 1024;

struct Read {
    QByteArray bytes;
    QString error; // empty on success
};

// Refuses folders, devices, pipes and sockets before opening them, so a pipe can never
// block the window, and files over the limit.
Read readAll(const QString &path);

// Why an existing file must not be replaced (a folder, device, pipe or socket); nothing
// when the name is free or a regular file, or a link to one, whose target is then written.
std::optional<QString> refusalToReplace(const QString &path);

// Replaces the file in one step or leaves it as it was; gives back the Japanese reason.
std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes);

// Qt takes a path that begins with ":" for one inside the program's own resources.
QString diskPath(const QString &path);

} // namespace Files
