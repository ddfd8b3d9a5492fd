#pragma once

#include "conversion/log_check.h"
#include "core/contests.h"
#include "core/station_entries.h"
#include "ui/dialogs.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class CheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The look of a Japanese Windows desktop: its UI font, or the nearest installed.
QFont JapaneseFont(bool fixedPitch, double points);

// The one window: every entry lives in its controls and is read at the moment an
// operation needs it. Controls keep the array names and indices their entries are known
// by, and their object names are made of both ("Text1_5"); the slots are named after the
// events they handle.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // What each index of a control array holds; an index always means the same entry.
    enum Combo1Index { Contest, Category, Antenna, LogType, SeparatorSign };
    enum Text1Index { Callsign, Name, Address, Equipment, Key, Power, Telephone, Mail };
    enum Check1Index { Senior, Donor };
    enum Option1Index { Utc, JstToUtc };
    enum Command1Index { ExportButton };
    enum Label3Index {
        CallsignCaption,
        NameCaption,
        AddressCaption,
        PowerCaption,
        AntennaCaption,
        EquipmentCaption,
        KeyCaption,
        SoapboxCaption,
        LogTypeCaption,
        SeparatorCaption,
        WattCaption,
        SeniorCaption,
        TelephoneCaption,
        MailCaption,
    };

    // The entries are saved to and restored from the settings file, and the Cabrillo file
    // is written into the output folder (the current folder when empty). Without dialogs
    // of its own, the window uses Qt's.
    Form1(const QString &settingsPath, const QString &outputFolder,
          std::unique_ptr<Dialogs> dialogs = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    StationEntries stationEntries() const;
    void setStationEntries(const StationEntries &entries);
    QString logText() const;
    QString statusText() const;

public Q_SLOTS:
    void Form_Load();
    void Combo1_Click(int index);
    void Command1_Click(int index);
    void FileOpen_Click();
    void FileExit_Click();
    void gengo_Click();
    void List1_OLEDragDrop(const QStringList &paths);
    void Text2_OLEDragDrop(const QStringList &paths);
    void SetContestFieldsEnabled(bool enabled);
    void logCheck_Click();
    void openOutputFolder_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *makeCombo(QWidget *area, int index, QRect rect, const QStringList &items);
    void buildControls(QWidget *area);
    void buildCoveredControls(QWidget *area);
    void buildMenus();
    void setTabOrder();
    void applyContest(const Contests::Contest *contest, bool offerItsCategories);
    void markRequiredEntries(const Contests::Contest *contest);
    void contestTyped();
    void openLog(const QString &path);
    void exportLog();
    void guardMemory(const std::function<void()> &operation);
    void setStatus(const QString &text);
    LogSource currentLog() const;
    QsoYear currentYear() const;
    LogCheck checkCurrentLog() const;
    void selectLogLine(int line);

    const QString settingsPath;
    const QString outputFolder;
    std::unique_ptr<Dialogs> dialogs;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    std::array<QLabel *, 14> Label3{};
    QList<std::pair<QLabel *, Contests::Entry>> entryCaptions; // drawn red while required
    std::array<QComboBox *, 5> Combo1{};
    std::array<QLineEdit *, 8> Text1{};
    std::array<CheckBox *, 2> Check1{};
    std::array<QRadioButton *, 2> Option1{};
    std::array<QPushButton *, 1> Command1{};
    QGroupBox *Frame1 = nullptr;
    QListWidget *List1 = nullptr;
    QPlainTextEdit *Text2 = nullptr;
    QPlainTextEdit *Text3 = nullptr;
    QLabel *status = nullptr;
    bool fittedToScreen = false;
    QAction *openOutputFolder = nullptr; // enabled once a file has been written
    QString lastWritten;

    // The last log loaded: its file, which an export must not replace, and the years of its
    // lines, which hold while the log box holds its text.
    struct {
        QString path;
        QString text;
        QList<int> years;
        int firstYear = 0;
    } loaded;
};
