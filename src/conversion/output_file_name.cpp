#include "conversion/output_file_name.h"

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
    return false;
}
