// The speed and memory of whole exports, against two floors on the same bytes: the Shift_JIS
// converter the program uses, and glibc's iconv command. Then the window's start-up.
//
//   tornak-bench [--runs N] [--sizes 10000,100000,1000000] [--keep DIR]
//   tornak-bench --floor LOGFILE    (a child: the converter's decode and encode, nothing else)
//   tornak-bench --copy LOGFILE OUTFILE SIZE   (a child: the files' bytes, nothing else)
//
// Every figure is a fresh process, timed from outside, the median of the runs.

#include "bench_clock.h"

#include "conversion/log_check.h"
#include "core/contests.h"
#include "core/shift_jis.h"
#include "input/zlog_file.h"
#include "log_support.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

// A contest log with the mix of a real one: plain contacts, the multiplier only on a new
// one, and the extras zLOG leaves behind the points (operator, dupe mark, rig frequency,
// text, Japanese text). The same seed gives the same bytes, so runs compare across days.
QByteArray generateLog(int qsoCount)
{
    std::mt19937 random(20241123);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto chance = [&](int percent) { return pick(100) < percent; };
    struct Band {
        const char *mhz;
        double kHz;
    };
    const Band bands[] = {{"1.9", 1910},   {"3.5", 3520},    {"7", 7010},   {"14", 14020},
                          {"21", 21020},   {"28", 28020},    {"50", 50100}, {"144", 144100},
                          {"430", 430100}, {"1200", 1294000}};
    const double bandWeights[] = {3, 5, 20, 12, 10, 6, 10, 14, 12, 8};
    const char *modes[] = {"CW", "SSB", "FM", "RTT", "FT8"};
    const double modeWeights[] = {45, 20, 20, 5, 10};
    std::discrete_distribution<std::size_t> bandChoice(std::begin(bandWeights),
                                                       std::end(bandWeights));
    std::discrete_distribution<std::size_t> modeChoice(std::begin(modeWeights),
                                                       std::end(modeWeights));
    const char *prefixes[] = {"JA", "JE", "JF", "JG", "JH", "JI", "JJ", "JK", "JL", "JM",
                              "JN", "JO", "JP", "JQ", "JR", "JS", "7K", "7L", "7M", "7N"};
    // 移動運用, ＱＳＢあり, 再交信
    const QByteArray japanese[] = {"\x88\xDA\x93\xAE\x89\x5E\x97\x70",
                                   "\x82\x70\x82\x72\x82\x61\x82\xA0\x82\xE8",
                                   "\x8D\xC4\x8C\xF0\x90\x4D"};
    const auto right = [](QByteArray &out, const QByteArray &text, qsizetype width) {
        out.append(std::max<qsizetype>(0, width - text.size()), ' ').append(text);
    };
    const auto left = [](QByteArray &out, const QByteArray &text, qsizetype width) {
        out.append(text).append(std::max<qsizetype>(0, width - text.size()), ' ');
    };
    const auto two = [](int n) { return QByteArray::number(n).rightJustified(2, '0'); };

    QByteArray out(
        "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo\r\n");
    int month = 11, day = 23, minute = 9 * 60;
    for (int i = 0; i < qsoCount; ++i) {
        if ((minute += pick(3)) >= 24 * 60 && (minute -= 24 * 60, ++day > 28)) {
            day = 1;
            month = month % 12 + 1;
        }
        const Band &band = bands[bandChoice(random)];
        const char *mode = modes[modeChoice(random)];
        const QByteArray report =
            qstrcmp(mode, "SSB") == 0 || qstrcmp(mode, "FM") == 0 ? " 59" : "599";
        const QByteArray code = two(1 + pick(50));
        const QByteArray received = chance(15) ? code + two(pick(100)) : code;
        QByteArray call = prefixes[pick(20)];
        call.append(char('0' + pick(10)));
        for (int n = chance(70) ? 3 : 2; n > 0; --n)
            call.append(char('A' + pick(26)));
        if (chance(4))
            call.append('/').append(char('0' + pick(10)));
        const QByteArray multiplier = chance(12) ? code : QByteArray();
        const auto rig = [&] {
            return "(" + QByteArray::number(band.kHz + pick(400) / 10.0, 'f', 1) + ")";
        };
        const char *texts[] = {"QSB", "tnx QSO", "QRM heavy", "5W"};
        const int r = pick(100);
        const QByteArray memo = r < 62   ? QByteArray()
                                : r < 70 ? QByteArray("%%JA1ABC%%")
                                : r < 74 ? QByteArray("-DUPE-")
                                : r < 82 ? rig()
                                : r < 87 ? QByteArray(texts[pick(4)])
                                : r < 91 ? japanese[pick(3)]
                                : r < 95 ? "%%JA1ABC%% " + rig()
                                         : "-DUPE- " + rig() + " QSB";
        right(out, QByteArray::number(month), 3);
        out.append(' ');
        right(out, QByteArray::number(day), 3);
        out.append(' ').append(two(minute / 60)).append(two(minute % 60)).append(' ');
        left(out, call, 11);
        right(out, report, 3);
        left(out, "10", 10);
        right(out, report, 3);
        left(out, received, 10);
        right(out, multiplier, 6);
        out.append("  ");
        right(out, band.mhz, 4);
        out.append("  ");
        left(out, mode, 3);
        out.append(' ');
        left(out, "1", 2);
        out.append("  ").append(memo).append("\r\n");
    }
    return out;
}

qint64 writeLog(const std::string &path, int lines)
{
    QFile file(QString::fromStdString(path));
    const QByteArray bytes = generateLog(lines);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? bytes.size() : -1;
}

// zLOG's own log of the given size, made of the sample's QSO records over and over (their
// QSO ids cleared, which zLOG would otherwise take for the same QSOs), and its text export.
bool writeZlox(const std::string &zlox, const std::string &text, int qsoCount)
{
    QFile sample(QStringLiteral(BENCH_ZLOX_SAMPLE));
    if (!sample.open(QIODevice::ReadOnly))
        return false;
    const QByteArray records = sample.readAll();
    constexpr qsizetype size = 384;
    QByteArray log = records.first(size);
    const qint32 count = qint32(qsoCount);
    std::memcpy(log.data() + 4, &count, sizeof count);
    for (int i = 0; i < qsoCount; ++i) {
        QByteArray record = records.sliced(size * (1 + i % (records.size() / size - 1)), size);
        std::memset(record.data() + 252, 0, 4);
        log.append(record);
    }
    const QByteArray exported = ExportZlogBytes(log, {}).text;
    QFile binary(QString::fromStdString(zlox)), export_(QString::fromStdString(text));
    return !exported.isEmpty() && binary.open(QIODevice::WriteOnly) &&
           binary.write(log) == log.size() && export_.open(QIODevice::WriteOnly) &&
           export_.write(exported) == exported.size();
}

// The converter alone, used as the program uses it: the log read and decoded a chunk at a
// time, and each chunk's text encoded back.
int floorChild(const char *path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    QByteArray bytes(256 * 1024, Qt::Uninitialized), back;
    QString text(bytes.size(), Qt::Uninitialized);
    qsizetype kept = 0;
    for (qint64 n = 0; (n = file.read(bytes.data() + kept, bytes.size() - kept)) > 0;) {
        qsizetype end = kept + qsizetype(n);
        const qsizetype size = end;
        while (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0x40)
            --end; // a chunk ends where no character can be cut
        const ShiftJis::Decoded decoded =
            ShiftJis::decode(bytes.first(end), reinterpret_cast<char16_t *>(text.data()));
        back.resize(0);
        if (decoded.badByte >= 0 ||
            ShiftJis::encode(QStringView(text).first(decoded.units), back) >= 0)
            return 1;
        kept = size - end;
        std::memmove(bytes.data(), bytes.data() + end, size_t(kept));
    }
    return 0;
}

// The machine's own floor for an export: the log read, as many bytes as the export writes
// written to a new file, and the file synced, as the export's own saving does. Nothing is
// converted.
int copyChild(const char *log, const char *out, qint64 size)
{
    const int in = open(log, O_RDONLY);
    const int fd = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> bytes(256 * 1024);
    qint64 written = 0;
    ssize_t n = 0;
    while (in >= 0 && fd >= 0 && (n = read(in, bytes.data(), bytes.size())) > 0) {
        const auto part = size_t(std::min<qint64>(n, size - written));
        if (write(fd, bytes.data(), part) != ssize_t(part))
            return 1;
        written += qint64(part);
    }
    while (n == 0 && written < size) { // an export is longer than its log
        const auto part = size_t(std::min<qint64>(qint64(bytes.size()), size - written));
        if (write(fd, bytes.data(), part) != ssize_t(part))
            return 1;
        written += qint64(part);
    }
    return n == 0 && fsync(fd) == 0 && close(fd) == 0 && close(in) == 0 ? 0 : 1;
}

struct Run {
    double seconds = -1; // -1: the program failed
    double peakMB = 0;
};

// Starts a program and waits for it; its output goes to the file given. Its errors go to a
// file of their own and are shown only when it fails: the window's children warn on every
// start (no XDG runtime folder, an offscreen window without size hints), which would break
// the tables.
// Forked, not spawned: a child that shares this process's memory until it starts its program
// inherits this process's peak, while a forked one starts from what is in use now.
Run run(std::vector<std::string> argv, const char *output = "/dev/null")
{
    std::vector<char *> args;
    for (std::string &a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    char errors[] = "/tmp/tornak-bench-errors-XXXXXX";
    const int errorFd = mkstemp(errors);
    if (errorFd < 0)
        return {};
    unlink(errors);
    std::fflush(stdout); // or the child would print it again
    const double start = monotonicSeconds();
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(output, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        dup2(errorFd, STDERR_FILENO);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    const bool waited = pid > 0 && wait4(pid, &status, 0, &usage) == pid;
    const double seconds = monotonicSeconds() - start;
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed:\n", args[0]);
        char buffer[4096];
        if (const ssize_t n = pread(errorFd, buffer, sizeof buffer, 0); n > 0)
            std::fwrite(buffer, 1, size_t(n), stderr);
        close(errorFd);
        return {};
    }
    close(errorFd);
    return {seconds, double(usage.ru_maxrss) / 1024.0};
}

// The instructions of a whole export under callgrind, in millions: unlike its time, the same
// on every run whatever else the machine does. -1 when it failed.
double instructions(const std::string &work, const std::vector<std::string> &exportArgs)
{
    const std::string profile = work + "/callgrind.out";
    std::vector<std::string> argv{"valgrind", "--tool=callgrind",
                                  "--callgrind-out-file=" + profile};
    argv.insert(argv.end(), exportArgs.begin(), exportArgs.end());
    if (run(argv).seconds < 0)
        return -1;
    std::FILE *f = std::fopen(profile.c_str(), "r");
    char line[256];
    long long total = -1;
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "totals: %lld", &total) == 1)
            break;
    }
    if (f)
        std::fclose(f);
    return total < 0 ? -1 : double(total) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool verdict(const char *goal, double measured, double target, const char *unit)
{
    const bool met = measured >= 0 && measured <= target;
    std::printf("  %-44s %9.2f%-3s  <= %6.2f%-3s %s\n", goal, measured, unit, target, unit,
                met ? "met" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--floor") == 0)
        return floorChild(argv[2]);
    if (argc == 5 && qstrcmp(argv[1], "--copy") == 0)
        return copyChild(argv[2], argv[3], QByteArray(argv[4]).toLongLong());
    QCoreApplication application(argc, argv);
    int runs = 5;
    std::vector<int> sizes{10000, 100000, 1000000};
    QString keep;
    const QStringList args = application.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--sizes")) {
            sizes.clear();
            for (const QString &size : args[i + 1].split(u','))
                sizes.push_back(size.toInt());
        } else if (args[i] == QLatin1String("--keep"))
            keep = args[i + 1];
    }
    QTemporaryDir scratch;
    const QDir folder(keep.isEmpty() ? scratch.path() : keep);
    folder.mkpath(QStringLiteral("."));
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const std::string work = folder.absolutePath().toStdString();

    // The log check, in this process, of a 10,000-line log as the log box holds it.
    const QByteArray checkedBytes = generateLog(10000);
    QString logText(checkedBytes.size(), Qt::Uninitialized);
    logText.resize(
        ShiftJis::decode(checkedBytes, reinterpret_cast<char16_t *>(logText.data())).units);
    StationEntries entries;
    entries.contest = Contests::club.name;
    entries.category = Contests::clubSingleBand;
    std::vector<double> checks;
    qsizetype findings = 0;
    for (int r = 0; r < runs; ++r) {
        const double started = monotonicSeconds();
        findings = CheckLog(entries, LinesOfLogText(logText), {2026, false}, QDate(2026, 11, 30))
                       .findings.size();
        checks.push_back(monotonicSeconds() - started);
    }
    const double check = 1000 * median(checks);
    std::printf("The log check of a 10,000-line log, in this process: %.1f ms (%lld warnings).\n\n",
                check, static_cast<long long>(findings));

    std::printf("Whole exports (tornak-cabrillo convert) against three floors on the same bytes:\n"
                "ours = this converter decoding the log and encoding a text of its size back;\n"
                "iconv = `iconv -f CP932 -t UTF-8` then `iconv -f UTF-8 -t CP932` of the output;\n"
                "copy = the log read and the export's size written to a new file and synced.\n"
                "Fresh processes, medians of %d.\n\n",
                runs);
    std::printf("%10s %9s %9s %8s %9s %8s %9s %8s %8s %8s %8s %8s  %s\n", "lines", "input MB",
                "export s", "MB/s", "peak MB", "x input", "ours s", "x ours", "iconv s", "x iconv",
                "copy s", "x copy", "output sha256");
    // The export alone, against the codec's floors; convert's check of the log, which an
    // entrant's few thousand QSOs do not feel, is measured beside it.
    const auto exportOf = [&work](const std::string &log, bool checked = false) {
        std::vector<std::string> command{BENCH_PROGRAM,
                                         "convert",
                                         log,
                                         "--settings",
                                         BENCH_SETTINGS_FILE,
                                         "--year",
                                         "2026",
                                         "--multiplier",
                                         "10",
                                         "--output-dir",
                                         work};
        if (!checked)
            command.push_back("--no-check");
        return command;
    };
    std::vector<double> exportTimes, iconvRatios, peakRatios;
    for (const int lines : sizes) {
        const std::string log = work + "/zlog-" + std::to_string(lines) + ".txt";
        // Written and let go before the runs: a spawned child's peak memory counts this
        // process's at the moment it was started.
        const qint64 size = writeLog(log, lines);
        if (size < 0)
            return 1;
        std::vector<double> exports, peaks, ours, iconvs, copies;
        for (int r = 0; r < runs; ++r) {
            const Run e = run(exportOf(log));
            const Run o = run({self, "--floor", log});
            const Run i1 =
                run({"iconv", "-f", "CP932", "-t", "UTF-8", log}, (work + "/u8").c_str());
            const Run i2 = run({"iconv", "-f", "UTF-8", "-t", "CP932", work + "/u8"});
            const qint64 exported = QFileInfo(QString::fromStdString(work + "/JA1ABC.txt")).size();
            const Run c = run({self, "--copy", log, work + "/copy", std::to_string(exported)});
            if (e.seconds < 0 || o.seconds < 0 || i1.seconds < 0 || i2.seconds < 0 || c.seconds < 0)
                return 1;
            exports.push_back(e.seconds);
            peaks.push_back(e.peakMB);
            ours.push_back(o.seconds);
            iconvs.push_back(i1.seconds + i2.seconds);
            copies.push_back(c.seconds);
        }
        QFile cabrillo(QString::fromStdString(work + "/JA1ABC.txt"));
        cabrillo.open(QIODevice::ReadOnly);
        const QByteArray hash =
            QCryptographicHash::hash(cabrillo.readAll(), QCryptographicHash::Sha256);
        const double mb = double(size) / 1e6, e = median(exports);
        std::printf(
            "%10d %9.2f %9.3f %8.1f %9.1f %7.2fx %9.3f %7.2fx %8.3f %7.2fx %8.3f %7.2fx  %s\n",
            lines, mb, e, mb / e, median(peaks), median(peaks) / mb, median(ours), e / median(ours),
            median(iconvs), e / median(iconvs), median(copies), e / median(copies),
            hash.toHex().left(16).constData());
        exportTimes.push_back(e);
        iconvRatios.push_back(e / median(iconvs));
        peakRatios.push_back(median(peaks) / mb);
    }

    // convert as an entrant runs it, checking the log as it converts it, on the largest log.
    if (!sizes.empty()) {
        const std::string largest = work + "/zlog-" + std::to_string(sizes.back()) + ".txt";
        std::vector<double> checked;
        for (int r = 0; r < runs; ++r) {
            const Run e = run(exportOf(largest, true));
            if (e.seconds < 0)
                return 1;
            checked.push_back(e.seconds);
        }
        std::printf("\nconvert with its check of the log, %d lines: %.3f s (%.2fx the export "
                    "alone).\n",
                    sizes.back(), median(checked), median(checked) / exportTimes.back());
    }

    // One export's instructions, where valgrind is installed; a single run is enough.
    double exportInstructions = -1;
    const std::string counted = work + "/zlog-100000.txt";
    if (!QStandardPaths::findExecutable(QStringLiteral("valgrind")).isEmpty()) {
        if (writeLog(counted, 100000) < 0 ||
            (exportInstructions = instructions(work, exportOf(counted))) < 0)
            return 1;
        const double withCheck = instructions(work, exportOf(counted, true));
        std::printf("\nInstructions of the 100,000-line export (callgrind): %.1f million; "
                    "with convert's check of the log, %.1f million.\n",
                    exportInstructions, withCheck);
    }

    // The window: start-up to the first paint, then a log dropped on it, until painted: a
    // 10,000-line text export, and a 100,000-QSO log of zLOG's own against its text export.
    const std::string small = work + "/zlog-window.txt", zlox = work + "/zlog.ZLOX",
                      zloxText = work + "/zlog-from-zlox.txt";
    if (writeLog(small, 10000) < 0 || !writeZlox(zlox, zloxText, 100000))
        return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto window = [&](const std::string &log, double &start, double &drop) {
        std::vector<double> starts, drops;
        for (int r = 0; r < runs; ++r) {
            const std::string report = work + "/window.txt";
            const double started = monotonicSeconds();
            if (run({BENCH_WINDOW_PROGRAM, log}, report.c_str()).seconds < 0)
                return false;
            std::FILE *f = std::fopen(report.c_str(), "r");
            double shown = 0, dropPainted = 0, value = 0;
            char key[32];
            while (f && std::fscanf(f, "%31[^=]=%lf\n", key, &value) == 2) {
                shown = qstrcmp(key, "shown") == 0 ? value : shown;
                dropPainted = qstrcmp(key, "dropPainted") == 0 ? value : dropPainted;
            }
            if (f)
                std::fclose(f);
            starts.push_back(shown - started);
            drops.push_back(dropPainted);
        }
        start = 1000 * median(starts);
        drop = 1000 * median(drops);
        return true;
    };
    double startup = 0, smallLoad = 0, unused = 0, zloxLoad = 0, textLoad = 0;
    if (!window(small, startup, smallLoad) || !window(zlox, unused, zloxLoad) ||
        !window(zloxText, unused, textLoad))
        return 1;
    std::printf("\nWindow (offscreen), until painted: start-up %.1f ms; a 10,000-line log dropped "
                "%.1f ms;\na 100,000-QSO .ZLOX dropped %.1f ms, its text export %.1f ms.\n",
                startup, smallLoad, zloxLoad, textLoad);

    std::printf("\nGoals\n");
    bool met = true;
    if (sizes.size() >= 2) {
        met &= verdict("export / iconv floor, largest log", iconvRatios.back(), 1.1, "x");
        met &= verdict("peak memory / input, largest log", peakRatios.back(), 2.5, "x");
        met &= verdict("time(largest) / time(next), for 10x the lines",
                       exportTimes.back() / exportTimes[exportTimes.size() - 2], 11.0, "x");
    }
    met &= verdict("window start-up", startup, 200, "ms");
    met &= verdict("10,000-line log into the window", smallLoad, 150, "ms");
    met &= verdict("log check, 10,000-line log", check, 20, "ms");
    if (exportInstructions >= 0)
        met &= verdict("instructions, 100,000-line export", exportInstructions, 400, "M");
    // Both spend most of their time laying out the same lines; a tenth allows for the noise.
    met &= verdict("100,000-QSO .ZLOX / its text export, window", zloxLoad / textLoad, 1.1, "x");
    return met ? 0 : 3;
}
