#include "core/contests.h"

namespace Contests
{

QStringList listItems()
{
    return {QString(), letsContest, clubContest};
}

int listPosition(const QString &contestText)
{
    return int(listItems().indexOf(contestText));
}

bool isClubContest(const QString &contestText)
{
    return contestText == letsContest || contestText == clubContest;
}

} // namespace Contests
