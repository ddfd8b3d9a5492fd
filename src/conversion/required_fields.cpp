#include "conversion/required_fields.h"

#include "core/contests.h"
#include "core/messages.h"

std::optional<QString> CheckRequiredFields(const StationEntries &e)
{
    using namespace Messages;
    const Contests::Contest *contest = Contests::named(e.contest);
    const bool keyRequired = contest && contest->keyRequired;
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
