#pragma once

#include <QString>
#include <QStringList>

// Every message the tool shows or prints, in the words the user reads.
namespace Messages
{

// The program as a command prompt is told to run it: the name of the file it was started from.
#if defined(Q_OS_WIN)
inline const QString commandName = QStringLiteral("tornak-cabrillo.exe");
#else
inline const QString commandName = QStringLiteral("tornak-cabrillo");
#endif

// Names of the entries, as the messages call them.
inline const QString entryContest = QStringLiteral("コンテスト名");
inline const QString entryCategory = QStringLiteral("参加部門");
inline const QString entryAntenna = QStringLiteral("アンテナ");
inline const QString entryLogType = QStringLiteral("ログ種別");
inline const QString entrySeparator = QStringLiteral("区切符号");
inline const QString entryCallsign = QStringLiteral("コールサイン");
inline const QString entryName = QStringLiteral("氏名");
inline const QString entryAddress = QStringLiteral("住所");
inline const QString entryEquipment = QStringLiteral("無線機");
inline const QString entryKey = QStringLiteral("使用電鍵");
inline const QString entryPower = QStringLiteral("最大空中線電力");
inline const QString entryTelephone = QStringLiteral("電話番号");
inline const QString entryMail = QStringLiteral("メールアドレス");
inline const QString entrySoapbox = QStringLiteral("意見・感想");

// "「名前」は必須項目です"
QString required(const QString &entry);

// The question asked while loading a log that lacks the sent multiplier.
inline const QString multiplierPrompt =
    QStringLiteral("自分で送信したマルチが設定されていません。\r送信したマルチを入力して下さい。");

// What the system said when a file could not be read or written, in our users' words.
enum class SystemFailure {
    NotFound,
    AccessDenied,
    InUse,
    IsFolder,
    DiskFull,
    TooLarge,
    NameTooLong,
    ReadOnly,
    Other
};
QString systemReason(SystemFailure failure, const QString &systemWords);
QString programFolderNotWritable();

QString codecMissing();
QString noDisplay();
QString seeHelp();
QString noCommand();
QString oneLogFile();
QString badYear();
QString written(const QString &path, int qsoCount);
QString noFileGiven();
QString warning(const QString &message);
QString multiplierMissing();
QString unencodableText();
QString cannotOpen(const QString &path, const QString &reason);
QString isFolder(const QString &path);
QString noSuchFolder(const QString &path);
QString notAFolder(const QString &path);
QString undecodableBytes(const QString &path, int lineNumber);
QString nulBytes(const QString &path, int lineNumber);
QString cannotWrite(const QString &path, const QString &reason);
QString settingsStopped(const QString &path, int lineNumber);
QString settingsNotSaved(const QString &path, const QString &reason);
QString unsafeFileName(const QString &callsign, const QString &fileName);
QString windowsReservedName(const QString &callsign, const QString &fileName);
QString windowsForbiddenCharacter(const QString &callsign, const QString &fileName, QChar c);
QString unencodableEntry(const QString &entry, char32_t character);
QString controlCharacterInEntry(const QString &entry, char32_t character);
QString lineBreakInEntry(const QString &entry);
QString notRegularFile(const QString &path);
QString notRegularFileReason();
QString fileTooLarge(const QString &path, qint64 limit);
QString outOfMemory();
QString replaceWithEmptyLog(const QString &fileName);
QString outputIsTheLog(const QString &path);
QString outputIsTheSettings(const QString &path);
QString noFileNameFromCallsign(const QString &callsign);
QString badMultiplierAnswer();
QString unreadableFileName(const QString &path);
QString writeEmptyLog();

// Problems of one line of the log text; each names the line so it can be mended.
QString logLineTooFewFields(int lineNumber, const QString &line, int fieldCount);
QString logLineBadBand(int lineNumber, const QString &line, const QString &band);
QString logLineBadDate(int lineNumber, const QString &line, const QString &date, int year);
QString logLineBadTime(int lineNumber, const QString &line, const QString &time);
QString logLineBadMode(int lineNumber, const QString &line, const QString &mode);
QString logLineNoReceivedReport(int lineNumber, const QString &line, const QString &received,
                                const QString &mode, int reportLength);
QString logLineStartsWithLineFeed(int lineNumber);
QString logLineUnencodable(int lineNumber, const QString &line, char32_t character);
QString logLineControlCharacter(int lineNumber, const QString &line, char32_t character);

// The check of a log before it is sent: a summary and advice, never a refusal.
QString logLineShown(int lineNumber, const QString &line);
QString bandCount(const QString &band, int count);
QString uncountedBands(const QString &category, const QStringList &bandCounts);
QString unmarkedDuplicate();
QString receivedWithoutNumber();
QString checkDates(const QString &first, const QString &last);
QString differingSentMultiplier(const QString &first, const QString &other, int otherCount);
QString checkSummary(int qsoCount, const QString &bandCounts, const QString &span, int warnings);
QString qsoSpan(const QString &first, const QString &last);
QString exportWarnings(int warnings);
QString writtenWithWarnings(const QString &written, int warnings);
QString findingLine(const QString &where, const QString &text);
QString checkFirstAndLast(const QString &first, const QString &last);
QString checkCounts(int receivedMultipliers, int markedDuplicates);
QString checkAdvice();

// Problems of zLOG's binary log files; record N is the Nth QSO, as the message calls it.
QString zlogRecordSize(const QString &path, int recordSize);
QString zlogUndecodableText(const QString &path, int record);
QString zlogBadTime(const QString &path, int record);
QString zlogBadBand(const QString &path, int record, int value);
QString zlogBadMode(const QString &path, int record, int value);
QString zlogEmptyHeaderOnly(const QString &path);
QString zlogZeroTime(const QString &path, int record);

} // namespace Messages
