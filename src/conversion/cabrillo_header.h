#pragma once

#include "core/station_entries.h"

#include <QStringList>

#include <optional>

namespace CabrilloTags
{
inline const QString startOfLog = QStringLiteral("START-OF-LOG: 2.0");
inline const QString contest = QStringLiteral("CONTEST: ");
inline const QString callsign = QStringLiteral("CALLSIGN: ");
inline const QString category = QStringLiteral("CATEGORY: ");
inline const QString name = QStringLiteral("NAME: ");
inline const QString address = QStringLiteral("ADDRESS: ");
inline const QString soapbox = QStringLiteral("SOAPBOX: ");
inline const QString telephone = QStringLiteral("SOAPBOX: TEL: ");
inline const QString mail = QStringLiteral("SOAPBOX: MAIL: ");
inline const QString key = QStringLiteral("SOAPBOX: KEY: ");
inline const QString equipment = QStringLiteral("SOAPBOX: EQUIPMENT: ");
inline const QString power = QStringLiteral("SOAPBOX: POWER："); // full-width colon, no blank
inline const QString antenna = QStringLiteral("SOAPBOX: ANTENNA: ");
inline const QString senior = QStringLiteral("SOAPBOX: SENIOR: ");
inline const QString donor = QStringLiteral("SOAPBOX: DONOR: ");
inline const QString createdBy = QStringLiteral("CREATED-BY: TORNAK CLUB Ver1.3B");
inline const QString qso = QStringLiteral("QSO: ");
inline const QString endOfLog = QStringLiteral("END-OF-LOG: ");
} // namespace CabrilloTags

struct CabrilloHeader {
    QStringList lines;
    // For each line, the name of the entry it shows; empty for the fixed lines.
    QStringList sources;
    // Set when the address began with a line break: the entry loses that break.
    std::optional<QString> shortenedAddress;
};

CabrilloHeader WriteCabrilloHeader(const StationEntries &entries);
