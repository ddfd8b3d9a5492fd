#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

#include <array>

namespace
{

// The text entries in file order.
const std::array<QString StationEntries::*, 13> textFields{
    &StationEntries::contest, &StationEntries::category,      &StationEntries::antenna,
    &StationEntries::logType, &StationEntries::separatorSign, &StationEntries::callsign,
    &StationEntries::name,    &StationEntries::address,       &StationEntries::equipment,
    &StationEntries::key,     &StationEntries::power,         &StationEntries::telephone,
    &StationEntries::mail};

// What the entries hold before a load, so that restored and untouched entries differ.
StationEntries oldEntries()
{
    StationEntries entries;
    for (QString StationEntries::*field : textFields)
        entries.*field = QStringLiteral("old");
    entries.senior = 2;
    entries.donor = 2;
    entries.soapbox = QStringLiteral("old\r\n");
    return entries;
}

// File lines 1 to 13 are "t1" to "t13".
QByteArray textLines(int count)
{
    QByteArray bytes;
    for (int i = 1; i <= count; ++i)
        bytes += "t" + QByteArray::number(i) + "\r\n";
    return bytes;
}

// Every entry, so that a failed comparison shows which one differs.
QStringList fields(const StationEntries &entries)
{
    QStringList list;
    for (QString StationEntries::*field : textFields)
        list.append(entries.*field);
    list << QString::number(entries.senior) << QString::number(entries.donor) << entries.soapbox;
    return list;
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savesExactBytes();
    void keepsOldFileWhenTextCannotBeWritten();
    void roundTrip_data();
    void roundTrip();
    void stopsAtFirstUnusableLine_data();
    void stopsAtFirstUnusableLine();
    void readsUtf8WithByteOrderMark();
};

void TestSettingsFile::savesExactBytes()
{
    StationEntries entries;
    entries.contest = QStringLiteral("C");
    entries.category = QStringLiteral("Cat");
    entries.antenna = QStringLiteral("Ant");
    entries.logType = QStringLiteral("ＺＬｏｇ");
    entries.callsign = QStringLiteral("JA1ABC");
    entries.name = QStringLiteral("日本");
    entries.address = QStringLiteral("Addr");
    entries.equipment = QStringLiteral("Eq");
    entries.key = QStringLiteral("Key");
    entries.power = QStringLiteral("50");
    entries.telephone = QStringLiteral("Tel");
    entries.mail = QStringLiteral("Mail");
    entries.senior = 1;
    entries.donor = 0;
    entries.soapbox = QStringLiteral("a\r\n\r\nb");

    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    QCOMPARE(SaveSettings(path, entries), std::nullopt);
    QCOMPARE(readFile(path), QByteArray("C\r\nCat\r\nAnt\r\n\x82\x79\x82\x6B\x82\x8F\x82\x87\r\n"
                                        "\r\nJA1ABC\r\n\x93\xFA\x96\x7B\r\nAddr\r\nEq\r\nKey\r\n"
                                        "50\r\nTel\r\nMail\r\n 1 \r\n 0 \r\na\r\n\r\nb\r\n"));
}

void TestSettingsFile::keepsOldFileWhenTextCannotBeWritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    const QByteArray old = textLines(13) + " 0 \r\n 0 \r\n";
    writeFile(path, old);
    StationEntries entries = InitialStationEntries();
    entries.name = QStringLiteral("名前😀");
    const std::optional<QString> error = SaveSettings(path, entries);
    QVERIFY(error && !error->isEmpty());
    QCOMPARE(readFile(path), old);
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<QString>("soapbox");
    QTest::addColumn<QString>("restored");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("empty line dropped, blanks kept")
        << QStringLiteral("楽しかった\r\n\r\n   \r\nまた来年")
        << QStringLiteral("楽しかった\r\n   \r\nまた来年\r\n");
    QTest::newRow("ending in CR LF") << QStringLiteral("a\r\n") << QStringLiteral("a\r\n");
}

void TestSettingsFile::roundTrip()
{
    QFETCH(QString, soapbox);
    QFETCH(QString, restored);
    StationEntries saved;
    int n = 0;
    for (QString StationEntries::*field : textFields)
        saved.*field = QStringLiteral("項目%1 ").arg(++n);
    saved.contest = QStringLiteral("Ｌｅｔ’ｓ　TORNAK　コンテスト");
    saved.mail = QString(); // an empty entry keeps its line
    saved.senior = 2;
    saved.donor = 1;
    saved.soapbox = soapbox;

    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    QCOMPARE(SaveSettings(path, saved), std::nullopt);
    StationEntries entries = InitialStationEntries();
    const SettingsLoad load = LoadSettings(path, entries);
    QCOMPARE(load.outcome, SettingsLoad::Outcome::Complete);
    QCOMPARE(load.linesRestored, 15);

    StationEntries expected = saved;
    expected.soapbox = restored;
    QCOMPARE(fields(entries), fields(expected));
}

void TestSettingsFile::stopsAtFirstUnusableLine_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("restored"); // fixed lines restored
    QTest::addColumn<int>("senior");   // as restored from line 14
    QTest::addColumn<bool>("complete");

    const QByteArray t13 = textLines(13);
    QTest::newRow("missing file") << false << QByteArray() << 0 << 0 << false;
    QTest::newRow("13 lines") << true << t13 << 13 << 0 << false;
    QTest::newRow("line 14 empty") << true << t13 + "\r\n 0 \r\ns\r\n" << 13 << 0 << false;
    QTest::newRow("line 14 not a check value") << true << t13 + " 3 \r\n 0 \r\ns\r\n"
                                               << 13 << 0 << false;
    QTest::newRow("line 14 not a number") << true << t13 + "abc\r\n 0 \r\ns\r\n"
                                          << 13 << 0 << false;
    QTest::newRow("line 15 not a number") << true << t13 + " 1 \r\nabc\r\ns\r\n"
                                          << 14 << 1 << false;
    QTest::newRow("line 15 negative") << true << t13 + " 1 \r\n-1\r\ns\r\n" << 14 << 1 << false;
    QTest::newRow("14 lines") << true << t13 + " 1 \r\n" << 14 << 1 << false;
    QTest::newRow("line 7 invalid in CP932")
        << true
        << textLines(6) + "\x81 \r\n" + textLines(13).mid(textLines(7).size()) +
               " 1 \r\n 0 \r\ns\r\n"
        << 6 << 0 << false;
    QTest::newRow("digit alone") << true << t13 + "1\r\n 0 \r\ns\r\n" << 15 << 1 << true;
    QTest::newRow("digit between blanks") << true << t13 + "  2  \r\n 0 \r\ns\r\n"
                                          << 15 << 2 << true;
    QTest::newRow("no soapbox line") << true << t13 + " 1 \r\n 0 " << 15 << 1 << true;
}

void TestSettingsFile::stopsAtFirstUnusableLine()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, bytes);
    QFETCH(int, restored);
    QFETCH(int, senior);
    QFETCH(bool, complete);
    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    if (exists)
        writeFile(path, bytes);

    StationEntries entries = oldEntries();
    const SettingsLoad load = LoadSettings(path, entries);

    StationEntries expected = oldEntries();
    for (int i = 0; i < restored && i < 13; ++i)
        expected.*textFields[size_t(i)] = QStringLiteral("t%1").arg(i + 1);
    if (restored >= 14)
        expected.senior = senior;
    if (restored >= 15)
        expected.donor = 0;
    if (complete && bytes.endsWith("s\r\n"))
        expected.soapbox += QStringLiteral("s\r\n");
    QCOMPARE(load.outcome,
             complete ? SettingsLoad::Outcome::Complete : SettingsLoad::Outcome::Failed);
    QCOMPARE(load.linesRestored, restored);
    QCOMPARE(load.problem.isEmpty(), complete);
    QCOMPARE(fields(entries), fields(expected));
}

void TestSettingsFile::readsUtf8WithByteOrderMark()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(settingsFileName);
    const QString text =
        QStringLiteral("TORNAKクラブ．コンテスト\r\n一般局部門\r\n\r\nＺＬｏｇ\r\n\r\n"
                       "JA1ABC\r\n山田　太郎\r\n東京都\r\n\r\n\r\n10\r\n\r\n\r\n"
                       " 0 \r\n 1 \r\n楽しかった\r\n");
    writeFile(path, "\xEF\xBB\xBF" + text.toUtf8());
    StationEntries entries = InitialStationEntries();
    QCOMPARE(LoadSettings(path, entries).outcome, SettingsLoad::Outcome::Complete);
    QCOMPARE(entries.contest, QStringLiteral("TORNAKクラブ．コンテスト"));
    QCOMPARE(entries.name, QStringLiteral("山田　太郎"));
    QCOMPARE(entries.logType, QStringLiteral("ＺＬｏｇ"));
    QCOMPARE(entries.donor, 1);
    QCOMPARE(entries.soapbox, QStringLiteral("楽しかった\r\n"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
