#include "conversion/output_file_name.h"

#include <QStringList>

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
