#include "core/contests.h"

namespace Contests
{

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

} // namespace Contests
