#pragma once

#include <QList>
#include <QString>

// Every entry of the window that a Cabrillo header or the settings file needs,
// held exactly as the controls hold it: no trimming, no validation.
struct StationEntries {
    QString contest;       // Combo1(0)
    QString category;      // Combo1(1)
    QString antenna;       // Combo1(2)
    QString logType;       // Combo1(3)
    QString separatorSign; // Combo1(4)
    QString callsign;      // Text1(0)
    QString name;          // Text1(1)
    QString address;       // Text1(2)
    QString equipment;     // Text1(3)
    QString key;           // Text1(4)
    QString power;         // Text1(5)
    QString telephone;     // Text1(6)
    QString mail;          // Text1(7)
    int senior = 0;        // Check1(0): 0 unchecked, 1 checked, 2 greyed
    int donor = 0;         // Check1(1)
    QString soapbox;       // Text3, lines separated by CR LF

    bool operator==(const StationEntries &other) const;
    bool operator!=(const StationEntries &other) const { return !(*this == other); }
};

inline const QString zlogLogType = QStringLiteral("ＺＬｏｇ");

// What the window shows before any settings are restored.
StationEntries InitialStationEntries();

// A text entry with the name a message uses for it.
struct LabelledText {
    QString label;
    QString text;
};

// Every text entry, in the order of the settings file, with the soapbox last.
QList<LabelledText> LabelledTexts(const StationEntries &entries);
