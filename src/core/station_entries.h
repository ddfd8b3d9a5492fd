#pragma once

#include <QList>
#include <QString>

#include <array>

// Every entry of the window that a Cabrillo header or the settings file needs,
// held exactly as the controls hold it: no trimming, no validation.
struct StationEntries {
    QString contest;
    QString category;
    QString antenna;
    QString logType;
    QString separatorSign;
    QString callsign;
    QString name;
    QString address;
    QString equipment;
    QString key;
    QString power;
    QString telephone;
    QString mail;
    int senior = 0; // 0 unchecked, 1 checked, 2 greyed
    int donor = 0;
    QString soapbox; // lines separated by CR LF

    bool operator==(const StationEntries &other) const;
    bool operator!=(const StationEntries &other) const { return !(*this == other); }
};

// An entry of one line, with the name messages give it.
struct TextEntry {
    QString StationEntries::*text;
    const QString &name;
};

// The entries of one line in the order of the settings file, which is the order of the
// window's controls that hold them: its five drop-downs, then its eight text boxes.
const std::array<TextEntry, 13> &TextEntries();

inline const QString zlogLogType = QStringLiteral("ＺＬｏｇ");

// An entry without the blanks, half- or full-width, around it: typed with the Japanese input
// method on, a blank is easily U+3000. An entry of blanks only is as good as empty.
QStringView WithoutBlanks(QStringView entry);

// What the window shows before any settings are restored.
StationEntries InitialStationEntries();

// A text entry with the name a message uses for it.
struct LabelledText {
    QString label;
    QString text;
};

// Every text entry, in the order of the settings file, with the soapbox last.
QList<LabelledText> LabelledTexts(const StationEntries &entries);
