#include "ui/form1.h"

#include "conversion/export_log.h"
#include "core/messages.h"
#include "core/today.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"
#include "ui/check_box.h"
#include "ui/file_drop_filter.h"
#include "ui/layout_area.h"
#include "ui/line_breaks.h"
#include "ui/qt_dialogs.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QTextBlock>

namespace
{

const QColor requiredRed(255, 0, 0);
const QString proportionalGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QColor contestHighlight(255, 255, 128);

// Positions are given in twips, 1/1440 inch, so the layout scales with the screen.
class Twips
{
public:
    explicit Twips(const QWidget *widget) : scale(widget->logicalDpiX() / 1440.0) {}

    int px(int twips) const { return qRound(twips * scale); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect(px(left), px(top), px(width), px(height));
    }

private:
    double scale;
};

} // namespace

QFont JapaneseFont(bool fixedPitch, double points)
{
    QFont font;
    if (fixedPitch) {
        font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                          QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")});
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    } else {
        font.setFamilies({proportionalGothic, QStringLiteral("MS PGothic"),
                          QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    }
    font.setPointSizeF(points);
    return font;
}

namespace
{

// Disabled labels keep the style's grey: only the enabled colour is set.
void setLabelColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
}

QColor normalLabelColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::Active, QPalette::ButtonText);
}

void highlight(QWidget *widget)
{
    QPalette palette = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, contestHighlight);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QString indexedName(const char *name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

Form1::Form1(const QString &settingsFile, const QString &outputFolderToUse,
             std::unique_ptr<Dialogs> dialogsToUse, QWidget *parent)
    : QMainWindow(parent), settingsPath(settingsFile), outputFolder(outputFolderToUse),
      dialogs(std::move(dialogsToUse))
{
    if (!dialogs)
        dialogs = std::make_unique<QtDialogs>(this);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("TORNAKクラブ主催コンテストログ作成(Cabrillo)"));

    const Twips twips(this);
    const QSize layoutSize(twips.px(11880), twips.px(8190));
    // A screen too small for the layout scrolls it; the menu and status line stay in view.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *area = new LayoutArea(layoutSize, scroll);
    // Beneath the two big text boxes, so they are built first.
    buildCoveredControls(area);
    buildControls(area);
    area->setGrowing(Text2);
    scroll->setWidget(area);
    setCentralWidget(scroll);
    buildMenus();
    setTabOrder();

    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status, 1);
    statusBar()->setSizeGripEnabled(false);

    resize(layoutSize.width(),
           layoutSize.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !fittedToScreen) {
        fittedToScreen = true;
        FitToScreen(this);
    }
}

Form1::~Form1()
{
    // The focused box ends its edit while QWidget deletes the children, when this is no
    // longer a Form1.
    QObject::disconnect(Combo1[Contest]->lineEdit(), nullptr, this, nullptr);
}

QComboBox *Form1::makeCombo(QWidget *area, int index, QRect rect, const QStringList &items)
{
    auto *box = new QComboBox(area);
    box->setObjectName(indexedName("Combo1", index));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr); // typed text stays exactly as typed
    // Typing is not choosing: when the edit ends (Enter or leaving the box), Qt would pick
    // the item that matches the typed text and report it as a choice. Only a choice from
    // the list may refill the categories and change the contest's entries.
    QObject::disconnect(box->lineEdit(), &QLineEdit::editingFinished, box, nullptr);
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
    box->setGeometry(rect);
    connect(box, &QComboBox::activated, this, [this, index] { Combo1_Click(index); });
    if (index == Contest)
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, &Form1::contestTyped);
    Combo1[index] = box;
    return box;
}

void Form1::buildControls(QWidget *area)
{
    const Twips t(this);
    auto label = [&](QLabel *&slot, const QString &name, const QString &text, QRect r) {
        slot = new QLabel(text, area);
        slot->setObjectName(name);
        slot->setGeometry(r);
        return slot;
    };
    auto combo = [&](int i, QRect r, const QStringList &items) {
        return makeCombo(area, i, r, items);
    };
    auto text = [&](int i, QRect r) {
        auto *edit = new QLineEdit(area);
        edit->setObjectName(indexedName("Text1", i));
        edit->setGeometry(r);
        Text1[i] = edit;
        return edit;
    };
    QLabel *unused = nullptr;

    entryCaptions.append({label(Label1, QStringLiteral("Label1"),
                                QStringLiteral("コンテスト名(必須)"), t.rect(240, 120, 1455, 255)),
                          &StationEntries::contest});
    combo(Contest, t.rect(1680, 120, 3735, 300), Contests::listItems());

    QPushButton *button = Command1[ExportButton] =
        new QPushButton(QStringLiteral("Cabrillo作成"), area);
    button->setObjectName(indexedName("Command1", ExportButton));
    button->setFont(JapaneseFont(false, 15.75));
    button->setGeometry(t.rect(5520, 120, 3135, 675));
    connect(button, &QPushButton::clicked, this, [this] { Command1_Click(ExportButton); });

    List1 = new QListWidget(area);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(JapaneseFont(false, 15.75));
    List1->addItems({QStringLiteral("zLOGでのデータ"), QStringLiteral("入力後、ログの"),
                     QStringLiteral("保存でFile→"), QStringLiteral("Exportから＜DOS"),
                     QStringLiteral(" compartible(*.txt)＞"), QStringLiteral("を選択して出来た"),
                     QStringLiteral("＜*.txtファイル＞"),
                     QStringLiteral("をここにドロップする。")});
    List1->setGeometry(t.rect(8760, 120, 3015, 4470));
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setTextElideMode(Qt::ElideNone);

    entryCaptions.append({label(Label2, QStringLiteral("Label2"), QStringLiteral("参加部門(必須)"),
                                t.rect(240, 480, 1455, 255)),
                          &StationEntries::category});
    // Before any choice the list offers what the Let's contest does.
    combo(Category, t.rect(1680, 480, 3735, 300), Contests::lets.categories);

    using E = StationEntries;
    struct Caption {
        Label3Index index;
        const char *text;
        QRect rect;
        Contests::Entry entry; // nothing for a caption of no entry
    };
    const Caption captions[] = {
        {CallsignCaption, "ｺｰﾙｻｲﾝ(必須)", t.rect(240, 840, 1455, 375), &E::callsign},
        {NameCaption, "氏名(必須)", t.rect(240, 1200, 975, 375), &E::name},
        {AddressCaption, "住所(必須)", t.rect(240, 1560, 975, 375), &E::address},
        {TelephoneCaption, "電話番号", t.rect(240, 1920, 975, 375), &E::telephone},
        {MailCaption, "メールアドレス", t.rect(240, 2280, 1335, 255), &E::mail},
        {EquipmentCaption, "無線機", t.rect(240, 2640, 975, 375), &E::equipment},
        {AntennaCaption, "アンテナ", t.rect(240, 3000, 975, 375), &E::antenna},
        {KeyCaption, "使用電鍵(必須)", t.rect(240, 3360, 1455, 375), &E::key},
        {PowerCaption, "最大空中線電力(必須)", t.rect(240, 3720, 1935, 375), &E::power},
        {WattCaption, "W", t.rect(3360, 3720, 975, 375), nullptr},
        {SeniorCaption, "シニヤー", t.rect(240, 4080, 975, 255), nullptr},
        {SoapboxCaption, "意見・感想", t.rect(120, 4440, 975, 375), nullptr},
    };
    for (const Caption &c : captions) {
        QLabel *l =
            label(unused, indexedName("Label3", c.index), QString::fromUtf8(c.text), c.rect);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (c.entry)
            entryCaptions.append({l, c.entry});
        Label3[c.index] = l;
    }
    markRequiredEntries(nullptr);

    text(Callsign, t.rect(1680, 840, 6975, 270));
    text(Name, t.rect(1680, 1200, 6975, 270));
    text(Address, t.rect(1680, 1560, 6975, 270));
    highlight(text(Telephone, t.rect(1680, 1920, 6975, 270)));
    highlight(text(Mail, t.rect(1680, 2280, 6975, 270)));
    highlight(text(Equipment, t.rect(1680, 2640, 6975, 270)));
    highlight(combo(
        Antenna, t.rect(1680, 3000, 6975, 300),
        {QString(), QStringLiteral("DP（IV、R-DP、V-DP、短縮DP)"),
         QStringLiteral("ワイヤー（釣竿、ＬＷ）"), QStringLiteral("GP(バーチカル、ホイップ）"),
         QStringLiteral("ビーム（八木、HB9CV、CQ等）"), QStringLiteral("その他（上記以外）")}));
    highlight(text(Key, t.rect(1680, 3360, 6975, 270)));
    highlight(text(Power, t.rect(2040, 3720, 1215, 270)));

    const char *checkCaptions[] = {"”シニア－部門に参加希望される方はチエックを入れてください”",
                                   "”ドナー賞品を希望される方はチエックを入れてください”"};
    for (const Check1Index i : {Senior, Donor}) {
        Check1[i] = new CheckBox(QString::fromUtf8(checkCaptions[i]), area);
        Check1[i]->setObjectName(indexedName("Check1", i));
        Check1[i]->setGeometry(t.rect(1680, 4080 + 240 * i, 5175, 255));
        highlight(Check1[i]);
    }

    Text3 = new QPlainTextEdit(area);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setGeometry(t.rect(120, 4680, 11655, 1695));
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text3->setTabChangesFocus(true);

    Text2 = new QPlainTextEdit(area);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(JapaneseFont(true, 9.75));
    Text2->setGeometry(t.rect(120, 6480, 11655, 1575));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text2->setTabChangesFocus(true);

    auto *drops = new FileDropFilter(this);
    drops->watch(List1->viewport());
    auto *textDrops = new FileDropFilter(this);
    textDrops->watch(Text2->viewport());
    connect(drops, &FileDropFilter::filesDropped, this, &Form1::List1_OLEDragDrop);
    connect(textDrops, &FileDropFilter::filesDropped, this, &Form1::Text2_OLEDragDrop);
}

void Form1::buildCoveredControls(QWidget *area)
{
    const Twips t(this);
    auto coveredCombo = [&](int i, QRect r, const QStringList &items) {
        makeCombo(area, i, r, items)->setFocusPolicy(Qt::NoFocus);
    };
    Label3[LogTypeCaption] = new QLabel(QStringLiteral("ログ種別"), area);
    Label3[LogTypeCaption]->setObjectName(indexedName("Label3", LogTypeCaption));
    Label3[LogTypeCaption]->setGeometry(t.rect(2160, 5400, 1695, 375));
    coveredCombo(LogType, t.rect(3600, 5400, 1455, 300), {zlogLogType, QStringLiteral("ハムログ")});
    Combo1[LogType]->setEditText(zlogLogType);

    Frame1 = new QGroupBox(area);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(t.rect(5760, 5400, 2055, 495));
    const char *options[] = {"UTC", "JST2UTC"};
    const QRect optionRects[] = {t.rect(120, 240, 735, 180), t.rect(840, 240, 1095, 180)};
    for (const Option1Index i : {Utc, JstToUtc}) {
        Option1[i] = new QRadioButton(QString::fromLatin1(options[i]), Frame1);
        Option1[i]->setObjectName(indexedName("Option1", i));
        Option1[i]->setGeometry(optionRects[i]);
        Option1[i]->setFocusPolicy(Qt::NoFocus);
    }
    Option1[Utc]->setChecked(true);

    Label3[SeparatorCaption] = new QLabel(QStringLiteral("区切符号"), area);
    Label3[SeparatorCaption]->setObjectName(indexedName("Label3", SeparatorCaption));
    Label3[SeparatorCaption]->setGeometry(t.rect(1920, 6840, 1695, 375));
    coveredCombo(SeparatorSign, t.rect(3960, 6840, 1095, 300),
                 {QStringLiteral("一般局部門"), QStringLiteral("ＱＲＰ部門")});
}

// Each menu is a list of its entries, so one more is one more line. The letter in
// brackets opens the menu from the keyboard (Alt+F), as on every Windows program.
void Form1::buildMenus()
{
    struct Entry {
        const char *name;
        const char *caption;
        void (Form1::*slot)();
        QKeySequence shortcut;
    };
    const auto addMenu = [this](const char *name, const char *caption,
                                std::initializer_list<Entry> entries) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QLatin1String(name));
        for (const Entry &entry : entries) {
            if (!entry.slot) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(entry.caption), this, entry.slot);
            action->setObjectName(QLatin1String(entry.name));
            action->setShortcut(entry.shortcut);
        }
    };
    addMenu("file", "ﾌｧｲﾙ(&F)",
            {{"FileOpen", "開く", &Form1::FileOpen_Click, QKeySequence::Open},
             {"openOutputFolder", "出力フォルダーを開く(&D)", &Form1::openOutputFolder_Click, {}},
             {"", "", nullptr, {}},
             {"FileExit", "終了", &Form1::FileExit_Click, {}}});
    addMenu("tool", "ツール(&T)",
            {{"gengo", "言語", &Form1::gengo_Click, {}},
             {"logCheck", "ログの確認...", &Form1::logCheck_Click, {}}});
    // Enabled once a file has been written.
    openOutputFolder = findChild<QAction *>(QStringLiteral("openOutputFolder"));
    openOutputFolder->setEnabled(false);
}

void Form1::setTabOrder()
{
    // The covered controls beneath the big text boxes take no focus and are left out.
    const QList<QWidget *> order = {
        Combo1[Contest],  Text1[Callsign], Text1[Name],  Text1[Address], Text2,
        Text1[Equipment], Text1[Key],      Text1[Power], Text3,          Command1[ExportButton],
        Combo1[Category], Combo1[Antenna], List1,        Check1[Senior], Text1[Telephone],
        Text1[Mail],      Check1[Donor],
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    Combo1[Contest]->setFocus();
}

// The entries of one line are held by the drop-downs, then the text boxes, in the order
// of their table.
StationEntries Form1::stationEntries() const
{
    StationEntries e;
    const auto &entries = TextEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        e.*entries[i].text =
            i < Combo1.size() ? Combo1[i]->currentText() : Text1[i - Combo1.size()]->text();
    }
    e.senior = Check1[Senior]->value();
    e.donor = Check1[Donor]->value();
    e.soapbox = ToCrLf(Text3->toPlainText());
    return e;
}

void Form1::setStationEntries(const StationEntries &e)
{
    const auto &entries = TextEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i < Combo1.size())
            Combo1[i]->setEditText(e.*entries[i].text); // a text, not a choice: no click
        else
            Text1[i - Combo1.size()]->setText(e.*entries[i].text);
    }
    Check1[Senior]->setValue(e.senior);
    Check1[Donor]->setValue(e.donor);
    Text3->setPlainText(FromCrLf(e.soapbox));
}

QString Form1::logText() const
{
    return ToCrLf(Text2->toPlainText());
}

QString Form1::statusText() const
{
    return status->text();
}

void Form1::setStatus(const QString &text)
{
    status->setText(text);
}

void Form1::Form_Load()
{
    Label3[SeparatorCaption]->setEnabled(false);
    StationEntries entries = stationEntries();
    const SettingsLoad load = LoadSettings(settingsPath, entries);
    setStationEntries(entries);
    if (load.outcome == SettingsLoad::Outcome::Complete)
        applyContest(Contests::named(entries.contest), false);
    else
        SetContestFieldsEnabled(false);
}

void Form1::Combo1_Click(int index)
{
    if (index == Contest)
        applyContest(Contests::atPosition(Combo1[Contest]->currentIndex()), true);
}

// A contest's name typed in full counts as a restored text does: its entries come alive,
// so that the export's rules are no surprise, but its categories are left as typed.
void Form1::contestTyped()
{
    if (const Contests::Contest *contest = Contests::named(Combo1[Contest]->currentText()))
        applyContest(contest, false);
}

// Without a contest only the common entries apply.
void Form1::applyContest(const Contests::Contest *contest, bool offerItsCategories)
{
    if (contest && offerItsCategories) {
        Combo1[Category]->clear();
        Combo1[Category]->addItems(contest->categories);
        Combo1[Category]->setCurrentIndex(-1);
        Combo1[Category]->setEditText(QString());
    }
    markRequiredEntries(contest);
    SetContestFieldsEnabled(contest != nullptr);
}

void Form1::markRequiredEntries(const Contests::Contest *contest)
{
    for (const auto &[caption, entry] : entryCaptions) {
        const bool marked = Contests::requirement(contest, entry).marked;
        setLabelColour(caption, marked ? requiredRed : normalLabelColour(caption));
    }
}

void Form1::SetContestFieldsEnabled(bool enabled)
{
    const QList<QWidget *> set = {
        Text1[Equipment],    Text1[Key],           Text1[Power],           Text1[Telephone],
        Text1[Mail],         Label3[PowerCaption], Label3[AntennaCaption], Label3[EquipmentCaption],
        Label3[KeyCaption],  Label3[WattCaption],  Label3[SeniorCaption],  Label3[TelephoneCaption],
        Label3[MailCaption], Check1[Senior],       Check1[Donor],          Combo1[Antenna]};
    for (QWidget *widget : set)
        widget->setEnabled(enabled);
}

// An exception must not reach Qt's event loop: a log too large for the memory ends the
// operation with a message, not the program.
void Form1::guardMemory(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const std::bad_alloc &) {
        dialogs->showMessage(Messages::outOfMemory());
    }
}

void Form1::Command1_Click(int)
{
    guardMemory([this] { exportLog(); });
}

// zLOG's files know each QSO's year; once the entrant edits the lines, the line numbers no
// longer say which year is whose, and the first QSO's year stands for all.
LogSource Form1::currentLog() const
{
    const QString text = logText();
    const bool asLoaded = !loaded.years.isEmpty() && text == loaded.text;
    return LinesOfLogText(text, asLoaded ? loaded.years : QList<int>());
}

QsoYear Form1::currentYear() const
{
    return {loaded.firstYear != 0 ? loaded.firstYear : Today::date().year(), false};
}

LogCheck Form1::checkCurrentLog() const
{
    return CheckLog(stationEntries(), currentLog(), currentYear(), Today::date());
}

void Form1::exportLog()
{
    setStatus(QString());
    ExportRequest request;
    request.entries = stationEntries();
    request.log = currentLog();
    request.year = currentYear();
    request.outputFolder = outputFolder;
    request.settingsPath = settingsPath;
    request.logPath = loaded.path;
    request.confirmEmptyLog = [this](const QString &fileName, bool replacing) {
        return dialogs->confirm(replacing ? Messages::replaceWithEmptyLog(fileName)
                                          : Messages::writeEmptyLog());
    };
    LogChecker checker(request.entries, Today::date());
    request.observeQso = [&checker](const Qso &qso, QStringView line, int lineNumber) {
        checker.add(qso, line, lineNumber);
    };
    const ExportResult result = ExportCabrilloLog(request);
    if (result.shortenedAddress)
        Text1[Address]->setText(*result.shortenedAddress);
    if (result.written) {
        lastWritten = result.outputPath;
        openOutputFolder->setEnabled(true);
        const QString written = Messages::written(result.outputPath, result.qsoCount);
        const int warnings = int(checker.finish(request.log).findings.size());
        setStatus(warnings > 0 ? Messages::writtenWithWarnings(written, warnings) : written);
    }
    if (!result.settingsError.isEmpty())
        dialogs->showMessage(result.settingsError);
    if (!result.written && !result.declined)
        dialogs->showMessage(result.message);
}

void Form1::logCheck_Click()
{
    guardMemory([this] {
        dialogs->showLogCheck(checkCurrentLog(), [this](int line) { selectLogLine(line); });
    });
}

void Form1::selectLogLine(int line)
{
    QTextCursor cursor(Text2->document()->findBlockByNumber(line - 1));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Text2->setTextCursor(cursor);
    Text2->ensureCursorVisible();
}

void Form1::openOutputFolder_Click()
{
    dialogs->openFolder(QFileInfo(lastWritten).absolutePath());
}

void Form1::FileOpen_Click()
{
    // A cancelled dialog loads nothing.
    if (const auto path = dialogs->openFileName())
        openLog(*path);
}

void Form1::List1_OLEDragDrop(const QStringList &paths)
{
    openLog(paths.value(0));
}

void Form1::Text2_OLEDragDrop(const QStringList &paths)
{
    openLog(paths.value(0));
}

void Form1::openLog(const QString &path)
{
    guardMemory([this, &path] {
        setStatus(QString());
        const LoadedLog log = LoadLogFile(path, [this](const QString &prompt) {
            // Cancelling still answers: with nothing.
            for (;;) {
                if (const auto answer = SentMultiplierAnswer(dialogs->askText(prompt)))
                    return *answer;
                dialogs->showMessage(Messages::badMultiplierAnswer());
            }
        });
        if (!log.error.isEmpty()) {
            dialogs->showMessage(log.error);
            return;
        }
        Text2->setPlainText(FromCrLf(log.text));
        loaded = {path, logText(), log.years, log.firstYear};
        setStatus(SummaryLine(checkCurrentLog()));
    });
}

void Form1::FileExit_Click()
{
    close();
}

void Form1::gengo_Click()
{
    // The font the window shows for ＭＳ Ｐゴシック, where that is missing its stand-in.
    QFont shown(QFontInfo(JapaneseFont(false, 9)).family());
    shown.setPointSizeF(9);
    dialogs->chooseFont(shown);
}
