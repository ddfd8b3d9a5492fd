#pragma once

#include <QStringList>

#include <optional>

// The categories of the Let's contest, which the window also offers before any choice.
inline const QStringList generalCategories{QStringLiteral("一般局部門"),
                                           QStringLiteral("ＱＲＰ局部門")};

// What a contest means for the window: the categories on offer, which of the key and
// power captions are drawn in the required red, and whether the contest's extra entries
// can be edited.
struct ContestRules {
    std::optional<QStringList> categories; // nothing: the category list stays as it is
    bool keyRequired = false;
    bool powerRequired = false;
    bool contestFieldsEnabled = false;
};

// For a choice from the contest list, by its position.
ContestRules ContestRulesForChoice(int listPosition);

// For a contest text restored from the settings file: the same captions and enabling,
// but the category list is left alone.
ContestRules ContestRulesForText(const QString &contestText);
