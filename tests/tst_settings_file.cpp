#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

namespace
{

// File lines from to count are "t<from>" to "t<count>".
QByteArray textLines(int count, int from = 1)
{
    QByteArray bytes;
    for (int i = from; i <= count; ++i)
        bytes += "t" + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savesExactBytesAndReadsThemBack()
    {
        StationEntries saved;
        for (QString *field : {&saved.contest, &saved.category, &saved.antenna,
                               &saved.separatorSign, &saved.callsign, &saved.address,
                               &saved.equipment, &saved.key, &saved.power, &saved.telephone})
            *field = u"t "_s;
        saved.logType = u"ＺＬｏｇ"_s;
        saved.name = u"日本"_s;
        saved.senior = 1;
        saved.donor = 2;
        saved.soapbox = u"a\r\n\r\n   \r\nb"_s;
        QTemporaryDir dir;
        const QString path = dir.filePath(settingsFileName);
        QCOMPARE(SaveSettings(path, saved), std::nullopt);
        QCOMPARE(readFile(path),
                 QByteArray("t \r\nt \r\nt \r\n\x82\x79\x82\x6B\x82\x8F\x82\x87\r\nt \r\nt \r\n"
                            "\x93\xFA\x96\x7B\r\nt \r\nt \r\nt \r\nt \r\nt \r\n\r\n 1 \r\n 2 \r\n"
                            "a\r\n\r\n   \r\nb\r\n"));

        StationEntries entries = InitialStationEntries();
        QCOMPARE(LoadSettings(path, entries).outcome, SettingsLoad::Outcome::Complete);
        saved.soapbox = u"a\r\n   \r\nb\r\n"_s; // the empty line is dropped
        QCOMPARE(SettingsLines(entries), SettingsLines(saved));

        // A text Shift_JIS cannot hold, or a line break that would shift every entry after
        // it at the next start, leaves the file as it was.
        const QByteArray before = readFile(path);
        for (const QString &name : {u"名前😀"_s, u"山田\n太郎"_s, u"\r\n山田"_s}) {
            entries.name = name;
            QVERIFY(!SaveSettings(path, entries).value_or(QString()).isEmpty());
            QCOMPARE(readFile(path), before);
        }
    }

    void stopsAtFirstUnusableLine_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file
        QTest::addColumn<int>("restored");     // fixed lines restored
        QTest::addColumn<int>("senior");       // as restored from line 14
        QTest::addColumn<bool>("complete");
        const QByteArray t13 = textLines(13);
        QTest::newRow("missing file") << QByteArray() << 0 << 0 << false;
        QTest::newRow("13 lines") << t13 << 13 << 0 << false;
        QTest::newRow("line 14 not a check value") << t13 + " 3 \r\n 0 \r\ns\r\n"
                                                   << 13 << 0 << false;
        QTest::newRow("line 15 negative") << t13 + " 1 \r\n-1\r\ns\r\n" << 14 << 1 << false;
        QTest::newRow("line 7 invalid in CP932")
            << textLines(6) + "\x81 \r\n" + textLines(13, 8) + " 1 \r\n 0 \r\ns\r\n"
            << 6 << 0 << false;
        QTest::newRow("digit between blanks") << t13 + "  2  \r\n 0 \r\ns\r\n" << 15 << 2 << true;
        QTest::newRow("UTF-8 byte-order mark") << "\xEF\xBB\xBF" + t13 + "1\r\n0\r\ns\r\n"
                                               << 15 << 1 << true;
        QTest::newRow("no soapbox line") << t13 + " 1 \r\n 0 " << 15 << 1 << true;
        QTest::newRow("LF line ends")
            << QByteArray(t13 + " 1 \r\n 0 \r\ns\r\n").replace("\r", "") << 15 << 1 << true;
    }
    void stopsAtFirstUnusableLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, restored);
        QFETCH(int, senior);
        QFETCH(bool, complete);
        // What the entries hold before the load, so that restored and untouched ones differ.
        QTemporaryDir dir;
        const QString path = dir.filePath(settingsFileName);
        writeFile(path, QByteArray("old\r\n").repeated(13) + " 2 \r\n 2 \r\nold\r\n");
        StationEntries entries;
        LoadSettings(path, entries);
        QVERIFY(QFile::remove(path));
        if (!bytes.isEmpty())
            writeFile(path, bytes);

        const SettingsLoad load = LoadSettings(path, entries);
        QStringList expected = QStringList(13, u"old"_s) << u" 2 "_s << u" 2 "_s << u"old\r\n"_s;
        for (int i = 0; i < restored && i < 13; ++i)
            expected[i] = u"t%1"_s.arg(i + 1);
        if (restored >= 14)
            expected[13] = u" %1 "_s.arg(senior);
        if (restored >= 15)
            expected[14] = u" 0 "_s;
        if (complete && bytes.trimmed().endsWith('s'))
            expected[15] += u"s\r\n"_s;
        QCOMPARE(load.outcome,
                 complete ? SettingsLoad::Outcome::Complete : SettingsLoad::Outcome::Failed);
        QCOMPARE(load.linesRestored, restored);
        QCOMPARE(load.problem.isEmpty(), complete);
        QCOMPARE(SettingsLines(entries), expected);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
