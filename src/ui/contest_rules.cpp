#include "ui/contest_rules.h"

#include "core/contests.h"

ContestRules ContestRulesForChoice(int listPosition)
{
    switch (listPosition) {
    case 1:
        return {generalCategories, true, true, true};
    case 2:
        return {QStringList{QStringLiteral("7MHzｼﾝｸﾞﾙ部門"), QStringLiteral("7MHz/14MHzﾏﾙﾁ部門")},
                false, true, true};
    default:
        return {};
    }
}

ContestRules ContestRulesForText(const QString &contestText)
{
    ContestRules rules = ContestRulesForChoice(Contests::listPosition(contestText));
    rules.categories.reset();
    return rules;
}
