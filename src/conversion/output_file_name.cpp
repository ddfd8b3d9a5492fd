#include "conversion/output_file_name.h"

#include "core/station_entries.h"

#include <QStringList>

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

bool WindowsCannotCreate(const QString &baseName)
{
    for (QChar c : baseName) {
        if (QStringView(u"<>:\"|?*").contains(c))
            return true;
    }
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
