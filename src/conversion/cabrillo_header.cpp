#include "conversion/cabrillo_header.h"

#include "conversion/contests.h"

namespace
{

const QLatin1Char cr('\r');

// Text pieces between line breaks. A break is taken as CR plus the character after it.
QStringList splitAtBreaks(const QString &text)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype p = text.indexOf(cr); p >= 0; p = text.indexOf(cr, start)) {
        parts.append(text.mid(start, p - start));
        start = p + 2;
    }
    parts.append(text.mid(start));
    return parts;
}

QString yesNo(int checkValue)
{
    return checkValue == 1 ? QStringLiteral("YES") : QStringLiteral("NO");
}

void appendAddress(const StationEntries &entries, CabrilloHeader &header)
{
    QString address = entries.address;
    if (address.startsWith(cr)) {
        address = address.mid(2);
        header.shortenedAddress = address;
    }
    for (const QString &part : splitAtBreaks(address))
        header.lines.append(CabrilloTags::address + part);
}

void appendSoapbox(const QString &soapbox, QStringList &lines)
{
    for (const QString &line : splitAtBreaks(soapbox)) {
        if (!line.isEmpty())
            lines.append(CabrilloTags::soapbox + line);
    }
}

} // namespace

CabrilloHeader WriteCabrilloHeader(const StationEntries &e)
{
    using namespace CabrilloTags;
    CabrilloHeader header;
    QStringList &lines = header.lines;
    lines << startOfLog << contest + e.contest << CabrilloTags::callsign + e.callsign
          << CabrilloTags::category + e.category << CabrilloTags::name + e.name;
    appendAddress(e, header);
    appendSoapbox(e.soapbox, lines);
    if (Contests::isClubContest(e.contest)) {
        lines << telephone + e.telephone << mail + e.mail << CabrilloTags::key + e.key
              << CabrilloTags::equipment + e.equipment << CabrilloTags::power + e.power
              << CabrilloTags::antenna + e.antenna << senior + yesNo(e.senior)
              << donor + yesNo(e.donor);
    }
    lines << createdBy;
    return header;
}
