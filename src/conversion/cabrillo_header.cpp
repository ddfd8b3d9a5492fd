#include "conversion/cabrillo_header.h"

#include "core/contests.h"
#include "core/messages.h"

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

void add(CabrilloHeader &header, const QString &line, const QString &source = QString())
{
    header.lines.append(line);
    header.sources.append(source);
}

void appendAddress(const StationEntries &entries, CabrilloHeader &header)
{
    QString address = entries.address;
    if (address.startsWith(cr)) {
        address = address.mid(2);
        header.shortenedAddress = address;
    }
    for (const QString &part : splitAtBreaks(address))
        add(header, CabrilloTags::address + part, Messages::entryAddress);
}

void appendSoapbox(const QString &soapbox, CabrilloHeader &header)
{
    for (const QString &line : splitAtBreaks(soapbox)) {
        if (!line.isEmpty())
            add(header, CabrilloTags::soapbox + line, Messages::entrySoapbox);
    }
}

} // namespace

CabrilloHeader WriteCabrilloHeader(const StationEntries &e)
{
    using namespace CabrilloTags;
    using namespace Messages;
    CabrilloHeader h;
    add(h, startOfLog);
    add(h, contest + e.contest, entryContest);
    add(h, CabrilloTags::callsign + e.callsign, entryCallsign);
    add(h, CabrilloTags::category + e.category, entryCategory);
    add(h, CabrilloTags::name + e.name, entryName);
    appendAddress(e, h);
    appendSoapbox(e.soapbox, h);
    if (Contests::named(e.contest)) {
        add(h, telephone + e.telephone, entryTelephone);
        add(h, mail + e.mail, entryMail);
        add(h, CabrilloTags::key + e.key, entryKey);
        add(h, CabrilloTags::equipment + e.equipment, entryEquipment);
        add(h, CabrilloTags::power + e.power, entryPower);
        add(h, CabrilloTags::antenna + e.antenna, entryAntenna);
        add(h, senior + yesNo(e.senior));
        add(h, donor + yesNo(e.donor));
    }
    add(h, createdBy);
    return h;
}
