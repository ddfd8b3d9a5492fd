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

// The bands a category counts, as zLOG writes them; a category not listed counts them all.
struct CategoryBands {
    QString category;
    QStringList bands;
};

struct Contest {
    QString name;           // compared character by character wherever it occurs
    QStringList categories; // what the category list offers once the contest is chosen
    QList<Entry> required;  // its own entries the export insists on, besides the common five
    QList<CategoryBands> categoryBands = {};
};

inline const Contest lets{QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト"),
                          {QStringLiteral("一般局部門"), QStringLiteral("ＱＲＰ局部門")},
                          {&StationEntries::key, &StationEntries::power}};
inline const QString clubSingleBand = QStringLiteral("7MHzｼﾝｸﾞﾙ部門");
inline const QString clubTwoBands = QStringLiteral("7MHz/14MHzﾏﾙﾁ部門");
inline const Contest club{QStringLiteral("TORNAKクラブ．コンテスト"),
                          {clubSingleBand, clubTwoBands},
                          {&StationEntries::power},
                          {{clubSingleBand, {QStringLiteral("7")}},
                           {clubTwoBands, {QStringLiteral("7"), QStringLiteral("14")}}}};

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

// The bands the category of the contest counts; nothing when it counts them all.
const QStringList *countedBands(const Contest *contest, const QString &category);

inline const Contest *named(const QString &contestText)
{
    return atPosition(listPosition(contestText));
}

} // namespace Contests
