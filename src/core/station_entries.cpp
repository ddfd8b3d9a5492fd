#include "core/station_entries.h"

#include "core/messages.h"

#include <tuple>

namespace
{

auto tied(const StationEntries &e)
{
    return std::tie(e.contest, e.category, e.antenna, e.logType, e.separatorSign, e.callsign,
                    e.name, e.address, e.equipment, e.key, e.power, e.telephone, e.mail, e.senior,
                    e.donor, e.soapbox);
}

} // namespace

bool StationEntries::operator==(const StationEntries &other) const
{
    return tied(*this) == tied(other);
}

StationEntries InitialStationEntries()
{
    StationEntries entries;
    entries.logType = zlogLogType;
    return entries;
}

QList<LabelledText> LabelledTexts(const StationEntries &e)
{
    using namespace Messages;
    return {
        {entryContest, e.contest},
        {entryCategory, e.category},
        {entryAntenna, e.antenna},
        {entryLogType, e.logType},
        {entrySeparator, e.separatorSign},
        {entryCallsign, e.callsign},
        {entryName, e.name},
        {entryAddress, e.address},
        {entryEquipment, e.equipment},
        {entryKey, e.key},
        {entryPower, e.power},
        {entryTelephone, e.telephone},
        {entryMail, e.mail},
        {entrySoapbox, e.soapbox},
    };
}
