#include "core/messages.h"

#include "core/text_file.h"

#include <QDir>

namespace Messages
{

namespace
{

// A path as the system writes it (C:\Users\… on Windows).
QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A control character in a message would ring, erase or steer a terminal; its picture
// (␛ for ESC) shows where it is instead.
QString visible(QStringView text)
{
    QString shown = text.toString();
    for (QChar &c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
        else if (TextFile::isControl(c.unicode()))
            c = QChar(0xFFFD);
    }
    return shown;
}

// Text shown between brackets, so its ends are visible. A runaway text is cut, so a
// message box stays readable.
QString quoted(QStringView text)
{
    constexpr qsizetype shown = 120;
    if (text.size() <= shown)
        return QStringLiteral("「%1」").arg(visible(text));
    return QStringLiteral("「%1…」（%2文字）")
        .arg(visible(text.left(shown)), QString::number(text.size()));
}

// A log line goes below the message: blank lines would print as gaps.
QString quotedLine(const QString &line)
{
    return QLatin1Char('\n') + quoted(line);
}

QString code(char32_t c)
{
    return QStringLiteral("U+") +
           QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString character(char32_t c)
{
    if (TextFile::isControl(c))
        return QStringLiteral("（%1）").arg(code(c));
    return QStringLiteral("「%1」（%2）").arg(QStringView(QChar::fromUcs4(c)).toString(), code(c));
}

QString number(int n)
{
    return QString::number(n);
}

} // namespace

QString required(const QString &entry)
{
    return QStringLiteral("「%1」は必須項目です").arg(entry);
}

QString written(const QString &path, int qsoCount)
{
    return QStringLiteral("%1 を作成しました（QSO %2 件）").arg(shown(path), number(qsoCount));
}

QString codecMissing()
{
    return QStringLiteral("この環境ではShift_JIS（CP932）の文字コード変換が使えません");
}

QString noDisplay()
{
    return QStringLiteral("ウィンドウを表示できる画面がありません。画面の無い環境では "
                          "%1 convert LOGFILE で変換できます（%1 --help）。")
        .arg(commandName);
}

QString seeHelp()
{
    return QStringLiteral("使い方は %1 --help で確認して下さい").arg(commandName);
}

QString noCommand()
{
    return QStringLiteral("コマンドを指定して下さい（convert または check）");
}

QString oneLogFile()
{
    return QStringLiteral("変換するログファイルを一つ指定して下さい");
}

QString badYear()
{
    return QStringLiteral("--year には西暦4桁（例: 2026）を指定して下さい");
}

QString noFileGiven()
{
    return QStringLiteral("ファイル名が指定されていません");
}

QString unencodableText()
{
    return QStringLiteral("Shift_JISで書けない文字があります");
}

QString warning(const QString &message)
{
    return QStringLiteral("警告：") + message;
}

QString multiplierMissing()
{
    return QStringLiteral(
        "ログに自分の送信マルチがありません。--multiplier で指定されていないため、"
        "空白で補いました");
}

QString cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」を開けません（%2）").arg(shown(path), reason);
}

QString isFolder(const QString &path)
{
    return QStringLiteral("「%1」はフォルダーです。ファイルを指定して下さい").arg(shown(path));
}

QString noSuchFolder(const QString &path)
{
    return QStringLiteral("出力先のフォルダー「%1」がありません").arg(shown(path));
}

QString notAFolder(const QString &path)
{
    return QStringLiteral("出力先の「%1」はフォルダーではありません").arg(shown(path));
}

QString undecodableBytes(const QString &path, int lineNumber)
{
    return QStringLiteral("ファイル「%1」の%2行目に文字として読めないバイトがあります"
                          "（Shift_JISのテキストファイルを指定して下さい）")
        .arg(shown(path), number(lineNumber));
}

QString nulBytes(const QString &path, int lineNumber)
{
    return QStringLiteral(
               "ファイル「%1」の%2行目にNUL文字があります。テキストファイルではないようです")
        .arg(shown(path), number(lineNumber));
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("ファイル「%1」に書き込めません（%2）").arg(shown(path), reason);
}

QString settingsStopped(const QString &path, int lineNumber)
{
    return QStringLiteral("設定ファイル「%1」の%2行目が読めないため、設定の復元を途中で止めました")
        .arg(shown(path), number(lineNumber));
}

QString settingsNotSaved(const QString &path, const QString &reason)
{
    return QStringLiteral("設定ファイル「%1」を保存できませんでした（%2）")
        .arg(shown(path), reason);
}

QString unsafeFileName(const QString &callsign, const QString &fileName)
{
    return QStringLiteral("コールサイン%1からは出力ファイル名%2になり、"
                          "使えない文字（/ \\ 制御文字）が含まれます")
        .arg(quoted(callsign), quoted(fileName));
}

QString windowsReservedName(const QString &callsign, const QString &fileName)
{
    return QStringLiteral(
               "コールサイン%1からの出力ファイル名%2はWindowsでファイル名に使えない名前です")
        .arg(quoted(callsign), quoted(fileName));
}

QString windowsForbiddenCharacter(const QString &callsign, const QString &fileName, QChar c)
{
    return QStringLiteral("コールサイン%1からの出力ファイル名%2には、"
                          "Windowsでファイル名に使えない文字「%3」が含まれます")
        .arg(quoted(callsign), quoted(fileName), QString(c));
}

QString unencodableEntry(const QString &entry, char32_t c)
{
    return QStringLiteral("「%1」にShift_JISで書けない文字%2があります").arg(entry, character(c));
}

QString logLineTooFewFields(int lineNumber, const QString &line, int fieldCount)
{
    return QStringLiteral("ログの%1行目は項目が%2個しかありません（9個以上必要です）")
               .arg(number(lineNumber), number(fieldCount)) +
           quotedLine(line);
}

QString logLineBadBand(int lineNumber, const QString &line, const QString &band)
{
    return QStringLiteral("ログの%1行目のバンド「%2」はzLOGのバンドにありません")
               .arg(number(lineNumber), band) +
           quotedLine(line);
}

QString logLineBadDate(int lineNumber, const QString &line, const QString &date, int year)
{
    return QStringLiteral("ログの%1行目の日付「%2」は%3年の日付として正しくありません")
               .arg(number(lineNumber), date, QString::number(year)) +
           quotedLine(line);
}

QString logLineBadTime(int lineNumber, const QString &line, const QString &time)
{
    return QStringLiteral("ログの%1行目の時刻「%2」は時刻として正しくありません")
               .arg(number(lineNumber), time) +
           quotedLine(line);
}

QString logLineBadMode(int lineNumber, const QString &line, const QString &mode)
{
    return QStringLiteral("ログの%1行目のモード「%2」はzLOGのモードにありません")
               .arg(number(lineNumber), mode) +
           quotedLine(line);
}

QString logLineNoReceivedReport(int lineNumber, const QString &line, const QString &received,
                                const QString &mode, int reportLength)
{
    return QStringLiteral("ログの%1行目の受信欄「%2」に%3のレポート（%4桁）がありません。"
                          "項目が欠けていないか確かめて下さい")
               .arg(number(lineNumber), received, mode, number(reportLength)) +
           quotedLine(line);
}

QString logLineStartsWithLineFeed(int lineNumber)
{
    return QStringLiteral("ログの%1行目がCRの無い改行（LF）だけの行です").arg(number(lineNumber));
}

QString controlCharacterInEntry(const QString &entry, char32_t c)
{
    return QStringLiteral("「%1」に制御文字%2があります").arg(entry, character(c));
}

QString lineBreakInEntry(const QString &entry)
{
    return QStringLiteral("「%1」に改行があります").arg(entry);
}

QString notRegularFile(const QString &path)
{
    return QStringLiteral("「%1」は通常のファイルではありません").arg(shown(path));
}

QString notRegularFileReason()
{
    return QStringLiteral("通常のファイルではありません");
}

QString fileTooLarge(const QString &path, qint64 limit)
{
    return QStringLiteral("ファイル「%1」は大きすぎるため読み込めません（%2 MiBまで）")
        .arg(shown(path), QString::number(limit / (1024 * 1024)));
}

QString outOfMemory()
{
    return QStringLiteral("メモリが足りないため、処理を続けられません");
}

QString replaceWithEmptyLog(const QString &fileName)
{
    return QStringLiteral(
               "ログが読み込まれていません。既存の「%1」をQSO 0件のファイルで置き換えますか？")
        .arg(fileName);
}

QString outputIsTheLog(const QString &path)
{
    return QStringLiteral("出力ファイル「%1」は読み込んだログファイルと同じファイルです。"
                          "ログファイルの名前を変えて下さい")
        .arg(shown(path));
}

QString outputIsTheSettings(const QString &path)
{
    return QStringLiteral("出力ファイル「%1」は設定ファイルと同じファイルです。"
                          "設定ファイルの名前を変えて下さい")
        .arg(shown(path));
}

QString noFileNameFromCallsign(const QString &callsign)
{
    return QStringLiteral("コールサイン%1から出力ファイル名を作れません").arg(quoted(callsign));
}

QString badMultiplierAnswer()
{
    return QStringLiteral("送信したマルチは半角英数字2文字までで入力して下さい");
}

QString unreadableFileName(const QString &path)
{
    return QStringLiteral("ファイル名「%1」を読み取れません。UTF-8ではない文字を含む名前です。"
                          "ファイルまたはフォルダーの名前を変えて下さい")
        .arg(shown(path));
}

QString writeEmptyLog()
{
    return QStringLiteral("ログにQSOがありません。QSO 0件のファイルを作成しますか？");
}

QString systemReason(SystemFailure failure, const QString &systemWords)
{
    switch (failure) {
    case SystemFailure::NotFound:
        return QStringLiteral("ファイルまたはフォルダーが見つかりません");
    case SystemFailure::AccessDenied:
        return QStringLiteral("アクセスが許可されていません");
    case SystemFailure::InUse:
        return QStringLiteral(
            "他のプログラムが使用中です。そのプログラムを閉じてからやり直して下さい");
    case SystemFailure::IsFolder:
        return QStringLiteral("フォルダーです");
    case SystemFailure::DiskFull:
        return QStringLiteral("ディスクに空きがありません");
    case SystemFailure::TooLarge:
        return QStringLiteral("ファイルが大きすぎます");
    case SystemFailure::NameTooLong:
        return QStringLiteral("名前が長すぎます");
    case SystemFailure::ReadOnly:
        return QStringLiteral("読み取り専用の場所です");
    case SystemFailure::Other:
        break;
    }
    return QStringLiteral("システムのエラー：%1").arg(systemWords);
}

QString programFolderNotWritable()
{
    return QStringLiteral(
        "アクセスが許可されていません。このプログラムのフォルダーには書き込めません。"
        "プログラムをドキュメントなど自分のフォルダーに展開し直して、そこから起動して下さい");
}

QString logLineControlCharacter(int lineNumber, const QString &line, char32_t c)
{
    return QStringLiteral("ログの%1行目に制御文字%2があります")
               .arg(number(lineNumber), character(c)) +
           quotedLine(line);
}

QString logLineUnencodable(int lineNumber, const QString &line, char32_t c)
{
    return QStringLiteral("ログの%1行目にShift_JISで書けない文字%2があります")
               .arg(number(lineNumber), character(c)) +
           quotedLine(line);
}

QString logLineShown(int lineNumber, const QString &line)
{
    return QStringLiteral("ログの%1行目").arg(number(lineNumber)) + quoted(line);
}

QString bandCount(const QString &band, int count)
{
    return QStringLiteral("%1 %2件").arg(band, number(count));
}

QString uncountedBands(const QString &category, const QStringList &bandCounts)
{
    return QStringLiteral("参加部門「%1」では数えられないバンドのQSOがあります（%2）")
        .arg(category, bandCounts.join(QStringLiteral("・")));
}

QString unmarkedDuplicate()
{
    return QStringLiteral("同じ局と同じバンド・モードで2回交信していますが、"
                          "zLOGの-DUPE-の印がありません");
}

QString receivedWithoutNumber()
{
    return QStringLiteral("受信欄にレポートだけがあり、受信したナンバーがありません");
}

QString checkDates(const QString &first, const QString &last)
{
    return QStringLiteral("QSOの日付が%1〜%2です。年とログファイルが正しいか確かめて下さい")
        .arg(first, last);
}

QString differingSentMultiplier(const QString &first, const QString &other, int otherCount)
{
    return QStringLiteral("送信マルチが%1と異なる行があります（%2など %3 件）。"
                          "送信マルチはすべてのQSOで同じはずです")
        .arg(quoted(first), quoted(other), number(otherCount));
}

QString checkSummary(int qsoCount, const QString &bandCounts, const QString &span, int warnings)
{
    if (qsoCount == 0)
        return QStringLiteral("QSO 0 件、警告 %1 件").arg(number(warnings));
    return QStringLiteral("QSO %1 件（%2）、%3、警告 %4 件")
        .arg(number(qsoCount), bandCounts, span, number(warnings));
}

QString qsoSpan(const QString &first, const QString &last)
{
    return QStringLiteral("%1〜%2").arg(first, last);
}

QString exportWarnings(int warnings)
{
    return QStringLiteral("警告 %1 件（ツール › ログの確認）").arg(number(warnings));
}

QString writtenWithWarnings(const QString &written, int warnings)
{
    return written + QStringLiteral("、") + exportWarnings(warnings);
}

QString findingLine(const QString &where, const QString &text)
{
    return where.isEmpty() ? text : where + QStringLiteral("：") + text;
}

QString checkFirstAndLast(const QString &first, const QString &last)
{
    return QStringLiteral("最初のQSO %1、最後のQSO %2（Cabrilloファイルに書く日時）")
        .arg(first, last);
}

QString checkCounts(int receivedMultipliers, int markedDuplicates)
{
    return QStringLiteral("受信マルチ %1 種類、zLOGが-DUPE-の印を付けたQSO %2 件")
        .arg(number(receivedMultipliers), number(markedDuplicates));
}

QString checkAdvice()
{
    return QStringLiteral("警告（ダブルクリックすると、ログの枠でその行を選択します）。"
                          "警告は助言です。何が数えられるかはクラブの規約が決めます");
}

QString zlogRecordSize(const QString &path, int recordSize)
{
    return QStringLiteral("zLOGのログファイル「%1」の大きさが%2バイトの倍数ではありません。"
                          "途中で切れているか、壊れています")
        .arg(shown(path), number(recordSize));
}

QString zlogUndecodableText(const QString &path, int record)
{
    return QStringLiteral("zLOGのログファイル「%1」の%2件目のQSOに、"
                          "Shift_JISの文字として読めないバイトがあります")
        .arg(shown(path), number(record));
}

QString zlogBadTime(const QString &path, int record)
{
    return QStringLiteral("zLOGのログファイル「%1」の%2件目のQSOの日時が、日付として読めない値です")
        .arg(shown(path), number(record));
}

QString zlogBadBand(const QString &path, int record, int value)
{
    return QStringLiteral(
               "zLOGのログファイル「%1」の%2件目のQSOのバンドの値%3は、zLOGのバンドにありません")
        .arg(shown(path), number(record), number(value));
}

QString zlogBadMode(const QString &path, int record, int value)
{
    return QStringLiteral(
               "zLOGのログファイル「%1」の%2件目のQSOのモードの値%3は、zLOGのモードにありません")
        .arg(shown(path), number(record), number(value));
}

QString zlogEmptyHeaderOnly(const QString &path)
{
    return QStringLiteral("zLOGのログファイル「%1」は中身がすべて0のヘッダーだけで、壊れています"
                          "（書き込みの途中で止まったファイルのようです）")
        .arg(shown(path));
}

QString zlogZeroTime(const QString &path, int record)
{
    return QStringLiteral("zLOGのログファイル「%1」の%2件目のQSOの日時が0で、壊れています"
                          "（書き込みの途中で止まったファイルのようです）")
        .arg(shown(path), number(record));
}

} // namespace Messages
