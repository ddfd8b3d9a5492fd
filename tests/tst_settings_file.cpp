#include "settings/settings_file.h"

#include "test_files.h"

#include <QtTest>

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savesExactBytesAndReadsThemBack()
    {
        StationEntries saved;
        for (const TextEntry &entry : TextEntries())
            saved.*entry.text = u"t "_s;
        saved.logType = u"ＺＬｏｇ"_s;
        saved.name = u"日本"_s;
        saved.senior = 1;
        saved.donor = 2;
        saved.soapbox = u"a\r\n\r\n   \r\nb"_s;
        QTemporaryDir dir;
        const QString path = dir.filePath(settingsFileName);
        const QByteArray bytes(
            "t \r\nt \r\nt \r\n\x82\x79\x82\x6B\x82\x8F\x82\x87\r\nt \r\nt \r\n"
            "\x93\xFA\x96\x7B\r\nt \r\nt \r\nt \r\nt \r\nt \r\nt \r\n 1 \r\n 2 \r\n"
            "a\r\n\r\n   \r\nb\r\n");
        QCOMPARE(SaveSettings(path, saved), std::nullopt);
        QCOMPARE(readFile(path), bytes);

        StationEntries entries = InitialStationEntries();
        QCOMPARE(LoadSettings(path, entries).outcome, SettingsLoad::Outcome::Complete);
        saved.soapbox = u"a\r\n   \r\nb\r\n"_s; // the empty line is dropped
        QCOMPARE(SettingsLines(entries), SettingsLines(saved));

        // A text Shift_JIS cannot hold, or a line break that would shift every entry after
        // it at the next start, leaves the file as it was.
        for (const QString &name : {u"名前😀"_s, u"山田\n太郎"_s, u"山田\r太郎"_s, u"\r\n山田"_s}) {
            entries.name = name;
            QVERIFY(!SaveSettings(path, entries).value_or(QString()).isEmpty());
            QCOMPARE(readFile(path), bytes);
        }
    }

    void stopsAtFirstUnusableLine_data()
    {
        // the file, empty for none; the lines restored; the check-box lines as the entries
        // then hold them; whether the load is complete
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("restored");
        QTest::addColumn<QString>("checks");
        QTest::addColumn<bool>("complete");
        QByteArray t13; // "t1" to "t13"
        for (int i = 1; i <= 13; ++i)
            t13 += "t" + QByteArray::number(i) + "\r\n";
        QTest::newRow("no file") << QByteArray() << 0 << u" 1 | 2 "_s << false;
        QTest::newRow("text entries only") << t13 << 13 << u" 1 | 2 "_s << false;
        QTest::newRow("not a check value") << t13 + " 3 \r\n 0 \r\ns\r\n"
                                           << 13 << u" 1 | 2 "_s << false;
        QTest::newRow("line 15 negative") << t13 + " 0 \r\n-1\r\ns\r\n"
                                          << 14 << u" 0 | 2 "_s << false;
        QTest::newRow("line 7 invalid in CP932")
            << QByteArray(t13).replace("t7", "\x81 ") + " 1 \r\n 0 \r\ns\r\n"
            << 6 << u" 1 | 2 "_s << false;
        QTest::newRow("digit between blanks") << t13 + "  2  \r\n 0 \r\ns\r\n"
                                              << 15 << u" 2 | 0 "_s << true;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + t13 + "0\r\n0\r\ns\r\n"
                                         << 15 << u" 0 | 0 "_s << true;
        QTest::newRow("no soapbox line") << t13 + " 0 \r\n 0 " << 15 << u" 0 | 0 "_s << true;
        QTest::newRow("LF line ends") << QByteArray(t13 + " 0 \r\n 0 \r\ns\r\n").replace("\r", "")
                                      << 15 << u" 0 | 0 "_s << true;
    }
    void stopsAtFirstUnusableLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, restored);
        QFETCH(QString, checks);
        QFETCH(bool, complete);
        // The club member's entries are there before the load, so that restored and untouched
        // ones differ.
        StationEntries club = InitialStationEntries();
        LoadSettings(testDataFile("club.ini.txt"), club);
        QTemporaryDir dir;
        const QString path = dir.filePath(settingsFileName);
        if (!bytes.isEmpty())
            writeFile(path, bytes);
        StationEntries entries = club;
        const SettingsLoad load = LoadSettings(path, entries);
        QStringList expected = SettingsLines(club).mid(0, 13) << checks.split(u'|') << club.soapbox;
        for (int i = 0; i < restored && i < 13; ++i)
            expected[i] = u"t%1"_s.arg(i + 1);
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
