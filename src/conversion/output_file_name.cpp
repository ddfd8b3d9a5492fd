#include "conversion/output_file_name.h"

#include "core/messages.h"
#include "core/station_entries.h"
#include "core/text_file.h"

#include <QStringList>

#include <algorithm>

QString OutputFileName(const QString &callsign)
{
    // The home call is the longest part whichever side the portable one stands: JA1ABC/1,
    // JA1ABC/JD1, KH0/JA1ABC and JD1/JA1ABC/P are all JA1ABC. Of two as long, the last.
    QStringView longest;
    qsizetype longestLength = -1;
    for (const QStringView part : QStringView(callsign).split(u'/')) {
        const QStringView trimmed = WithoutBlanks(part);
        const qsizetype length = trimmed.toUcs4().size();
        if (length >= longestLength) {
            longest = trimmed;
            longestLength = length;
        }
    }
    return longest.toString();
}

bool CannotNameAFile(const QString &baseName)
{
    return baseName.isEmpty() || baseName.startsWith(QLatin1Char('.'));
}

namespace
{

// A slash, a backslash or a control character: refused on every system.
bool unsafeEverywhere(const QString &baseName)
{
    return std::any_of(baseName.begin(), baseName.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || TextFile::isControl(c.unicode());
    });
}

} // namespace

bool IsUnsafeFileName(const QString &baseName)
{
    if (unsafeEverywhere(baseName))
        return true;
#if defined(Q_OS_WIN)
    return WindowsCannotCreate(baseName);
#else
    return false;
#endif
}

std::optional<QChar> WindowsForbiddenCharacter(const QString &baseName)
{
    for (QChar c : baseName) {
        if (QStringView(u"<>:\"|?*").contains(c))
            return c;
    }
    return std::nullopt;
}

bool WindowsReservedName(const QString &baseName)
{
    if (baseName.endsWith(QLatin1Char('.')) || baseName.endsWith(QLatin1Char(' ')))
        return true;
    // NUL.txt is the device as much as NUL is.
    const QString device = baseName.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices = [] {
        QStringList names{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                          QStringLiteral("NUL")};
        for (char digit = '1'; digit <= '9'; ++digit) {
            names << QStringLiteral("COM") + QLatin1Char(digit)
                  << QStringLiteral("LPT") + QLatin1Char(digit);
        }
        return names;
    }();
    return devices.contains(device);
}

bool WindowsCannotCreate(const QString &baseName)
{
    return WindowsForbiddenCharacter(baseName) || WindowsReservedName(baseName);
}

// A slash or a control character is refused everywhere; what only Windows refuses is named
// as Windows' rule, so the entrant is not sent looking for characters that are not there.
QString UnsafeFileNameMessage(const QString &callsign, const QString &baseName)
{
    const QString fileName = baseName + QLatin1String(".txt");
    if (!unsafeEverywhere(baseName)) {
        if (const auto c = WindowsForbiddenCharacter(baseName))
            return Messages::windowsForbiddenCharacter(callsign, fileName, *c);
        if (WindowsReservedName(baseName))
            return Messages::windowsReservedName(callsign, fileName);
    }
    return Messages::unsafeFileName(callsign, fileName);
}
