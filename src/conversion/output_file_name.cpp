#include "conversion/output_file_name.h"

#include "core/messages.h"

#include <QStringList>

#include <algorithm>

QString OutputFileName(const QString &callsign)
{
    const qsizetype slash = callsign.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return callsign;
    // At least two characters behind the slash make it a prefix: PFX/CALL, CALL/MM.
    if (callsign.size() - slash > 2)
        return callsign.mid(slash + 1);
    return callsign.left(slash);
}

bool IsUnsafeFileName(const QString &baseName)
{
    for (QChar c : baseName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return true;
    }
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
    const bool unsafeEverywhere = std::any_of(baseName.begin(), baseName.end(), [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\') ||
               c.category() == QChar::Other_Control;
    });
    if (!unsafeEverywhere) {
        if (const auto c = WindowsForbiddenCharacter(baseName))
            return Messages::windowsForbiddenCharacter(callsign, fileName, *c);
        if (WindowsReservedName(baseName))
            return Messages::windowsReservedName(callsign, fileName);
    }
    return Messages::unsafeFileName(callsign, fileName);
}
