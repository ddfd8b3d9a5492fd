#include "core/station_entries.h"

#include "core/messages.h"

const std::array<TextEntry, 13> &TextEntries()
{
    using namespace Messages;
    using E = StationEntries;
    static const std::array<TextEntry, 13> entries{{
        {&E::contest, entryContest},
        {&E::category, entryCategory},
        {&E::antenna, entryAntenna},
        {&E::logType, entryLogType},
        {&E::separatorSign, entrySeparator},
        {&E::callsign, entryCallsign},
        {&E::name, entryName},
        {&E::address, entryAddress},
        {&E::equipment, entryEquipment},
        {&E::key, entryKey},
        {&E::power, entryPower},
        {&E::telephone, entryTelephone},
        {&E::mail, entryMail},
    }};
    return entries;
}

bool StationEntries::operator==(const StationEntries &other) const
{
    for (const TextEntry &entry : TextEntries()) {
        if (this->*entry.text != other.*entry.text)
            return false;
    }
    return senior == other.senior && donor == other.donor && soapbox == other.soapbox;
}

StationEntries InitialStationEntries()
{
    StationEntries entries;
    entries.logType = zlogLogType;
    return entries;
}

QList<LabelledText> LabelledTexts(const StationEntries &e)
{
    QList<LabelledText> texts;
    for (const TextEntry &entry : TextEntries())
        texts.append({entry.name, e.*entry.text});
    texts.append({Messages::entrySoapbox, e.soapbox});
    return texts;
}

QStringView WithoutBlanks(QStringView entry)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\u3000'; };
    while (!entry.isEmpty() && isBlank(entry.front()))
        entry = entry.sliced(1);
    while (!entry.isEmpty() && isBlank(entry.back()))
        entry.chop(1);
    return entry;
}
