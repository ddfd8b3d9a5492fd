#include "conversion/required_fields.h"

#include "core/contests.h"
#include "core/messages.h"

std::optional<QString> CheckRequiredFields(const StationEntries &e)
{
    using namespace Messages;
    // The key is asked for only in the Let's contest, whose rules score it.
    const bool keyRequired = Contests::listPosition(e.contest) == 1;
    const struct {
        const QString &text;
        const QString &name;
        bool tested;
    } checks[] = {
        {e.contest, entryContest, true},   {e.category, entryCategory, true},
        {e.callsign, entryCallsign, true}, {e.name, entryName, true},
        {e.address, entryAddress, true},   {e.key, entryKey, keyRequired},
        {e.power, entryPower, true},
    };
    for (const auto &check : checks) {
        if (check.tested && check.text.isEmpty())
            return required(check.name);
    }
    return std::nullopt;
}
