#include "core/contests.h"

namespace Contests
{

Requirement requirement(const Contest *contest, Entry entry)
{
    using E = StationEntries;
    for (const Entry common : {&E::contest, &E::category, &E::callsign, &E::name, &E::address}) {
        if (entry == common)
            return {true, true};
    }
    if (contest)
        return {contest->required.contains(entry), contest->required.contains(entry)};
    return {entry == &E::power, false};
}

QStringList listItems()
{
    return {QString(), lets.name, club.name};
}

int listPosition(const QString &contestText)
{
    return int(listItems().indexOf(contestText));
}

const Contest *atPosition(int position)
{
    switch (position) {
    case 1:
        return &lets;
    case 2:
        return &club;
    default:
        return nullptr;
    }
}

const QStringList *countedBands(const Contest *contest, const QString &category)
{
    if (!contest)
        return nullptr;
    for (const CategoryBands &entry : contest->categoryBands) {
        if (entry.category == category)
            return &entry.bands;
    }
    return nullptr;
}

} // namespace Contests
