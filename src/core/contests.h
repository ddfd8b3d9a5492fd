#pragma once

#include <QString>
#include <QStringList>

// The club's two contests and what each asks of the entries: one table, read by the window
// (its contest list, the categories offered, the red captions, the entries it enables) and
// by the export (the entries it insists on, the header lines it writes).
namespace Contests
{

struct Contest {
    QString name;           // compared character by character wherever it occurs
    QStringList categories; // what the category list offers once the contest is chosen
    bool keyRequired;       // the export insists on the key, whose caption is then red
};

inline const Contest lets{QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト"),
                          {QStringLiteral("一般局部門"), QStringLiteral("ＱＲＰ局部門")},
                          true};
inline const Contest club{QStringLiteral("TORNAKクラブ．コンテスト"),
                          {QStringLiteral("7MHzｼﾝｸﾞﾙ部門"), QStringLiteral("7MHz/14MHzﾏﾙﾁ部門")},
                          false};

// The contest list in order: the empty text, then the two contests.
QStringList listItems();

// Position of the list item whose text equals the given text exactly; -1 when none does.
// This, not how the text got there, decides the contest.
int listPosition(const QString &contestText);

// The contest at a position of the list; nothing for the empty item or any other position.
// Without a contest, only the common entries apply: the contest's own entries are disabled
// and no caption is red but the five always required, though the power is still checked.
const Contest *atPosition(int position);

inline const Contest *named(const QString &contestText)
{
    return atPosition(listPosition(contestText));
}

} // namespace Contests
