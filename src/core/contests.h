#pragma once

#include "core/station_entries.h"

#include <QString>
#include <QStringList>

// The club's two contests and what each asks of the entries: one table, read by the window
// (its contest list, the categories offered, the red captions, the entries it enables) and
// by the export (the entries it insists on, the header lines it writes).
namespace Contests
{

// One entry of the station entries, such as &StationEntries::key.
using Entry = QString StationEntries::*;

struct Contest {
    QString name;           // compared character by character wherever it occurs
    QStringList categories; // what the category list offers once the contest is chosen
    QList<Entry> required;  // its own entries the export insists on, besides the common five
};

inline const Contest lets{QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト"),
                          {QStringLiteral("一般局部門"), QStringLiteral("ＱＲＰ局部門")},
                          {&StationEntries::key, &StationEntries::power}};
inline const Contest club{QStringLiteral("TORNAKクラブ．コンテスト"),
                          {QStringLiteral("7MHzｼﾝｸﾞﾙ部門"), QStringLiteral("7MHz/14MHzﾏﾙﾁ部門")},
                          {&StationEntries::power}};

// What the rules ask of one entry.
struct Requirement {
    bool checked; // the export refuses to run while the entry is empty
    bool marked;  // the window draws its caption red
};

// The rules for an entry under the contest of the list (nullptr: none). The contest, the
// category, the callsign, the name and the address are required whatever the contest.
// Without a contest the contest's own entries are greyed and their captions plain, yet the
// power is checked all the same.
Requirement requirement(const Contest *contest, Entry entry);

// The contest list in order: the empty text, then the two contests.
QStringList listItems();

// Position of the list item whose text equals the given text exactly; -1 when none does.
// This, not how the text got there, decides the contest.
int listPosition(const QString &contestText);

// The contest at a position of the list; nothing for the empty item or any other position.
const Contest *atPosition(int position);

inline const Contest *named(const QString &contestText)
{
    return atPosition(listPosition(contestText));
}

} // namespace Contests
