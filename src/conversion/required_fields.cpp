#include "conversion/required_fields.h"

#include "core/contests.h"
#include "core/messages.h"

std::optional<QString> CheckRequiredFields(const StationEntries &e)
{
    const Contests::Contest *contest = Contests::named(e.contest);
    // The entries are asked for in the order of the settings file.
    for (const TextEntry &entry : TextEntries()) {
        if (Contests::requirement(contest, entry.text).checked &&
            WithoutBlanks(e.*entry.text).isEmpty())
            return Messages::required(entry.name);
    }
    return std::nullopt;
}
