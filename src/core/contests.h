#pragma once

#include <QString>
#include <QStringList>

// The two contests of the club, compared character by character wherever they occur.
namespace Contests
{

inline const QString letsContest = QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト");
inline const QString clubContest = QStringLiteral("TORNAKクラブ．コンテスト");

// Items of the contest list, in list order: the empty text first.
QStringList listItems();

// Position of the list item whose text equals the given text exactly; -1 when none does.
int listPosition(const QString &contestText);

// True for either contest name; any other text selects no contest rules.
bool isClubContest(const QString &contestText);

} // namespace Contests
