// How fast a whole export is against what the machine can do at best on the same bytes,
// how much memory it takes, and how quickly the window starts and takes a log.
//
//   tornak-bench [--runs N] [--sizes 10000,100000,1000000] [--keep DIR]
//
// Every measured export runs in a process of its own (this program started again with a
// hidden sub-command), so each peak of memory belongs to that export alone and no run
// inherits the heap of the one before.

#include "bench_clock.h"

#include "conversion/export_log.h"
#include "core/station_entries.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

constexpr const char *codecName = "windows-31j";
const QString childExportCommand = QStringLiteral("--child-export");
const QString childFloorCommand = QStringLiteral("--child-floor");

// ---------------------------------------------------------------------------------------
// Logs as zLOG writes them

QByteArray cp932(const QString &text)
{
    QStringEncoder encoder(codecName);
    return encoder.encode(text);
}

void appendRight(QByteArray &out, const QByteArray &text, qsizetype width)
{
    out.append(std::max<qsizetype>(0, width - text.size()), ' ');
    out.append(text);
}

void appendLeft(QByteArray &out, const QByteArray &text, qsizetype width)
{
    out.append(text);
    out.append(std::max<qsizetype>(0, width - text.size()), ' ');
}

QByteArray twoDigits(int value)
{
    return QByteArray::number(value).rightJustified(2, '0');
}

// A contest log with the mix a real one has: mostly plain contacts, the multiplier field
// only on a new multiplier, and the extras zLOG leaves behind the points on some lines
// (operator, duplicate mark, rig frequency, free text, Japanese text). The same seed gives
// the same bytes, so runs on different days compare.
class LogWriter
{
public:
    explicit LogWriter(unsigned seed)
        : random(seed), bandChoice(std::begin(bandWeights), std::end(bandWeights)),
          modeChoice(std::begin(modeWeights), std::end(modeWeights))
    {
        for (const QString &memo :
             {QStringLiteral("移動運用"), QStringLiteral("ＱＳＢあり"), QStringLiteral("再交信")})
            japaneseMemos.push_back(cp932(memo));
    }

    QByteArray write(int qsoCount)
    {
        QByteArray out;
        out.reserve(qsizetype(qsoCount) * 84 + 100);
        out.append("mon day time  callsign      sent         rcvd      multi   MHz mode pts "
                   "memo\r\n");
        for (int i = 0; i < qsoCount; ++i)
            appendQso(out);
        return out;
    }

private:
    struct Band {
        const char *mhz;
        double kHz; // where a rig frequency in the memo lies
    };
    static constexpr Band bands[] = {
        {"1.9", 1910.0}, {"3.5", 3520.0}, {"7", 7010.0},     {"14", 14020.0},   {"21", 21020.0},
        {"28", 28020.0}, {"50", 50100.0}, {"144", 144100.0}, {"430", 430100.0}, {"1200", 1294000.0},
    };
    static constexpr double bandWeights[] = {3, 5, 20, 12, 10, 6, 10, 14, 12, 8};
    static constexpr const char *modes[] = {"CW", "SSB", "FM", "RTT", "FT8"};
    static constexpr double modeWeights[] = {45, 20, 20, 5, 10};

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    bool chance(int percent) { return pick(100) < percent; }

    QByteArray callsign()
    {
        static const char *prefixes[] = {"JA", "JE", "JF", "JG", "JH", "JI", "JJ",
                                         "JK", "JL", "JM", "JN", "JO", "JP", "JQ",
                                         "JR", "JS", "7K", "7L", "7M", "7N"};
        QByteArray call = prefixes[pick(int(std::size(prefixes)))];
        call.append(char('0' + pick(10)));
        const int letters = chance(70) ? 3 : 2;
        for (int i = 0; i < letters; ++i)
            call.append(char('A' + pick(26)));
        if (chance(4))
            call.append('/').append(char('0' + pick(10)));
        return call;
    }

    QByteArray memo(const Band &band)
    {
        const auto rig = [&] {
            return "(" + QByteArray::number(band.kHz + pick(400) / 10.0, 'f', 1) + ")";
        };
        const int r = pick(100);
        if (r < 62)
            return {};
        if (r < 70)
            return "%%JA1ABC%%";
        if (r < 74)
            return "-DUPE-";
        if (r < 82)
            return rig();
        if (r < 87) {
            static const char *texts[] = {"QSB", "tnx QSO", "QRM heavy", "5W"};
            return texts[pick(int(std::size(texts)))];
        }
        if (r < 91)
            return japaneseMemos[std::size_t(pick(int(japaneseMemos.size())))];
        if (r < 95)
            return "%%JA1ABC%% " + rig();
        return "-DUPE- " + rig() + " QSB";
    }

    void advanceClock()
    {
        minuteOfDay += pick(3);
        if (minuteOfDay >= 24 * 60) {
            minuteOfDay -= 24 * 60;
            if (++day > 28) {
                day = 1;
                month = month % 12 + 1;
            }
        }
    }

    void appendQso(QByteArray &out)
    {
        advanceClock();
        const Band &band = bands[bandChoice(random)];
        const char *mode = modes[modeChoice(random)];
        const bool phone = qstrcmp(mode, "SSB") == 0 || qstrcmp(mode, "FM") == 0;
        const QByteArray report = phone ? " 59" : "599";
        const QByteArray code = twoDigits(1 + pick(50));
        const QByteArray received = chance(15) ? code + twoDigits(pick(100)) : code;

        appendRight(out, QByteArray::number(month), 3);
        out.append(' ');
        appendRight(out, QByteArray::number(day), 3);
        out.append(' ');
        out.append(twoDigits(minuteOfDay / 60)).append(twoDigits(minuteOfDay % 60));
        out.append(' ');
        appendLeft(out, callsign(), 11);
        appendRight(out, report, 3);
        appendLeft(out, "10", 10); // the club's entrant sends the number of their area
        appendRight(out, report, 3);
        appendLeft(out, received, 10);
        appendRight(out, chance(12) ? code : QByteArray(), 6);
        out.append("  ");
        appendRight(out, band.mhz, 4);
        out.append("  ");
        appendLeft(out, mode, 3);
        out.append(' ');
        appendLeft(out, "1", 2);
        out.append("  ");
        out.append(memo(band));
        out.append("\r\n");
    }

    std::mt19937 random;
    std::discrete_distribution<std::size_t> bandChoice;
    std::discrete_distribution<std::size_t> modeChoice;
    std::vector<QByteArray> japaneseMemos;
    int month = 11;
    int day = 23;
    int minuteOfDay = 9 * 60;
};

// ---------------------------------------------------------------------------------------
// The measured work, each in a child process

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// User and system time of this process: what the work cost whatever else the machine did.
double cpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

void say(const char *key, double value)
{
    std::printf("%s=%.9f\n", key, value);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return 1;
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// The whole export as the convert command runs it, the settings left unsaved.
int childExport(const QString &logPath, const QString &outputFolder, const QString &settingsPath)
{
    StationEntries entries = InitialStationEntries();
    const SettingsLoad settings = LoadSettings(settingsPath, entries);
    if (settings.outcome != SettingsLoad::Outcome::Complete)
        return fail(QStringLiteral("settings: ") + settings.problem);
    const int year = QDate::currentDate().year();
    const long long baseline = peakResidentBytes();

    const double start = monotonicSeconds();
    const double cpuStart = cpuSeconds();
    const LoadedLog log = LoadLogFile(logPath, [](const QString &) { return QString(); });
    if (!log.error.isEmpty())
        return fail(log.error);
    ExportRequest request;
    request.entries = entries;
    request.logText = log.text;
    request.year = year;
    request.outputFolder = outputFolder;
    const ExportResult result = ExportCabrilloLog(request);
    const double seconds = monotonicSeconds() - start;
    const double cpu = cpuSeconds() - cpuStart;

    if (!result.written)
        return fail(result.message);
    if (log.asked)
        return fail(QStringLiteral("the generated log lacks the sent multiplier"));
    say("seconds", seconds);
    say("cpu", cpu);
    say("peak", double(peakResidentBytes()));
    say("baseline", double(baseline));
    say("qsos", result.qsoCount);
    std::printf("output=%s\n", result.outputPath.toUtf8().constData());
    return 0;
}

// What no export can beat: the input decoded from CP932 and a text as long as the Cabrillo
// file encoded back, with the same codec and nothing else.
int childFloor(const QString &logPath, const QString &cabrilloPath)
{
    const auto input = readFile(logPath);
    const auto output = readFile(cabrilloPath);
    if (!input || !output)
        return fail(QStringLiteral("cannot read ") + logPath + QStringLiteral(" or ") +
                    cabrilloPath);
    QStringDecoder outputDecoder(codecName);
    const QString outputText = outputDecoder.decode(*output);

    const double start = monotonicSeconds();
    const double cpuStart = cpuSeconds();
    QStringDecoder decoder(codecName);
    const QString decoded = decoder.decode(*input);
    QStringEncoder encoder(codecName);
    const QByteArray encoded = encoder.encode(outputText);
    const double seconds = monotonicSeconds() - start;
    const double cpu = cpuSeconds() - cpuStart;

    if (!decoder.isValid() || decoder.hasError() || encoder.hasError() ||
        encoded.size() != output->size())
        return fail(QStringLiteral("the codec did not round-trip the bytes"));
    say("seconds", seconds);
    say("cpu", cpu);
    say("decoded", double(decoded.size()));
    return 0;
}

// ---------------------------------------------------------------------------------------
// The parent: generates, starts the children, prints the table

// One line of progress on a terminal, rewritten in place; nothing in a log file.
template <typename... Values> void progress(const char *format, Values... values)
{
    static const bool terminal = isatty(STDERR_FILENO) != 0;
    if (!terminal)
        return;
    std::fprintf(stderr, "\r%70s\r", "");
    if (format)
        std::fprintf(stderr, format, values...);
    std::fflush(stderr);
}

using Report = std::map<std::string, std::string>;

std::optional<Report> runChild(const QString &program, const QStringList &arguments,
                               const QString &workingFolder = {})
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    const double started = monotonicSeconds();
    process.start();
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s %s failed:\n%s\n", program.toLocal8Bit().constData(),
                     arguments.join(QLatin1Char(' ')).toLocal8Bit().constData(),
                     process.readAllStandardError().constData());
        return std::nullopt;
    }
    Report report;
    report["started"] = std::to_string(started);
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            report[line.left(equals).toStdString()] = line.mid(equals + 1).toStdString();
    }
    return report;
}

double number(const Report &report, const char *key)
{
    const auto found = report.find(key);
    return found == report.end() ? 0.0 : std::stod(found->second);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

std::string grouped(long long value)
{
    std::string digits = std::to_string(value);
    for (auto i = std::ptrdiff_t(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(std::size_t(i), ",");
    return digits;
}

struct SizeFigures {
    int lines = 0;
    double inputBytes = 0;
    double outputBytes = 0;
    double exportSeconds = 0;
    double floorSeconds = 0;
    double exportCpu = 0;
    double floorCpu = 0;
    double peakBytes = 0;
    double baselineBytes = 0;
    QString logPath;
};

struct WindowFigures {
    bool measured = false;
    double startup = 0;
    double toMain = 0;
    double application = 0;
    double construction = 0;
    double formLoad = 0;
    double showToPainted = 0;
    double drop = 0;
    double dropPainted = 0;
};

struct Options {
    int runs = 5;
    std::vector<int> sizes{10000, 100000, 1000000};
    QString keep;
};

std::optional<Options> parseOptions(const QStringList &arguments)
{
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == QLatin1String("--runs") && hasValue) {
            options.runs = arguments.at(++i).toInt();
        } else if (argument == QLatin1String("--sizes") && hasValue) {
            options.sizes.clear();
            for (const QString &size : arguments.at(++i).split(QLatin1Char(',')))
                options.sizes.push_back(size.toInt());
        } else if (argument == QLatin1String("--keep") && hasValue) {
            options.keep = arguments.at(++i);
        } else {
            return std::nullopt;
        }
    }
    const bool sizesValid =
        !options.sizes.empty() &&
        std::all_of(options.sizes.begin(), options.sizes.end(), [](int size) { return size > 0; });
    if (options.runs < 1 || !sizesValid)
        return std::nullopt;
    return options;
}

// Other work on the machine slows every figure down, so the run says how much there was:
// the CPU time the whole machine spent (steal by the host included) less what this
// program and its children spent, over the same wall time.
struct CpuUse {
    double wall = 0;
    double machineBusy = 0; // seconds of CPU, all processes
    double ours = 0;        // seconds of CPU, this process and its finished children

    static CpuUse now()
    {
        CpuUse use;
        use.wall = monotonicSeconds();
        QFile stat(QStringLiteral("/proc/stat"));
        if (stat.open(QIODevice::ReadOnly)) {
            // cpu user nice system idle iowait irq softirq steal ...
            const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
            const double tick = double(sysconf(_SC_CLK_TCK));
            for (int i : {1, 2, 3, 6, 7, 8})
                use.machineBusy += fields.value(i).toDouble() / tick;
        }
        rusage self{}, children{};
        getrusage(RUSAGE_SELF, &self);
        getrusage(RUSAGE_CHILDREN, &children);
        use.ours = seconds(self.ru_utime) + seconds(self.ru_stime) + seconds(children.ru_utime) +
                   seconds(children.ru_stime);
        return use;
    }

    // CPUs kept busy by other work on average between two readings.
    static double others(const CpuUse &before, const CpuUse &after)
    {
        const double wall = after.wall - before.wall;
        if (wall <= 0)
            return 0.0;
        const double busy = (after.machineBusy - before.machineBusy) - (after.ours - before.ours);
        return std::max(0.0, busy / wall);
    }
};

QString cpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown CPU");
}

bool writeLog(const QString &path, int lines)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(LogWriter(20241123).write(lines)) >= 0;
}

std::optional<SizeFigures> measureSize(const QString &folder, int lines, int runs)
{
    SizeFigures figures;
    figures.lines = lines;
    figures.logPath = folder + QStringLiteral("/zlog-%1.txt").arg(lines);
    const QString outputFolder = folder + QStringLiteral("/cabrillo-%1").arg(lines);
    if (!writeLog(figures.logPath, lines) || !QDir().mkpath(outputFolder)) {
        std::fprintf(stderr, "cannot write the generated log in %s\n",
                     folder.toLocal8Bit().constData());
        return std::nullopt;
    }
    figures.inputBytes = double(QFileInfo(figures.logPath).size());
    const QString self = QCoreApplication::applicationFilePath();

    std::vector<double> exports, floors, exportCpu, floorCpu, peaks, baselines;
    for (int run = 0; run < runs; ++run) {
        progress("%s lines: run %d of %d", grouped(lines).c_str(), run + 1, runs);
        const auto exported = runChild(self, {childExportCommand, figures.logPath, outputFolder,
                                              QStringLiteral(BENCH_SETTINGS_FILE)});
        if (!exported)
            return std::nullopt;
        if (int(number(*exported, "qsos")) != lines) {
            std::fprintf(stderr, "the export wrote %d QSOs of %d\n", int(number(*exported, "qsos")),
                         lines);
            return std::nullopt;
        }
        const QString cabrillo = QString::fromStdString(exported->at("output"));
        // Export and floor take turns, so a slow moment of the machine hits both alike.
        const auto floor = runChild(self, {childFloorCommand, figures.logPath, cabrillo});
        if (!floor)
            return std::nullopt;
        exports.push_back(number(*exported, "seconds"));
        floors.push_back(number(*floor, "seconds"));
        exportCpu.push_back(number(*exported, "cpu"));
        floorCpu.push_back(number(*floor, "cpu"));
        peaks.push_back(number(*exported, "peak"));
        baselines.push_back(number(*exported, "baseline"));
        figures.outputBytes = double(QFileInfo(cabrillo).size());
    }
    progress(nullptr);
    figures.exportSeconds = median(exports);
    figures.floorSeconds = median(floors);
    figures.exportCpu = median(exportCpu);
    figures.floorCpu = median(floorCpu);
    figures.peakBytes = *std::max_element(peaks.begin(), peaks.end());
    figures.baselineBytes = median(baselines);
    return figures;
}

// The window helper is started afresh each time, from a folder that holds the entrant's
// ini.txt, as a user starts the program and then drops a log on it.
std::optional<WindowFigures> measureWindow(const QString &folder, const QString &logPath, int runs)
{
    const QString windowFolder = folder + QStringLiteral("/window");
    QDir().mkpath(windowFolder);
    QFile::remove(windowFolder + QStringLiteral("/ini.txt"));
    if (!QFile::copy(QStringLiteral(BENCH_SETTINGS_FILE),
                     windowFolder + QStringLiteral("/ini.txt")))
        return std::nullopt;

    std::vector<double> startup, toMain, application, construction, formLoad, showToPainted, drop,
        dropPainted;
    // The first start pays for loading the libraries and fonts from disk; a user's machine
    // has them cached after the first start of the day, so that start is left out.
    for (int run = -1; run < runs; ++run) {
        if (run < 0)
            progress("window: warm-up start");
        else
            progress("window: start %d of %d", run + 1, runs);
        const auto report = runChild(QStringLiteral(BENCH_WINDOW_PROGRAM), {logPath}, windowFolder);
        if (!report)
            return std::nullopt;
        if (run < 0)
            continue;
        const double started = number(*report, "started");
        startup.push_back(number(*report, "shown") - started);
        toMain.push_back(number(*report, "main") - started);
        application.push_back(number(*report, "application") - number(*report, "main"));
        construction.push_back(number(*report, "constructed") - number(*report, "application"));
        formLoad.push_back(number(*report, "loaded") - number(*report, "constructed"));
        showToPainted.push_back(number(*report, "shown") - number(*report, "loaded"));
        drop.push_back(number(*report, "drop"));
        dropPainted.push_back(number(*report, "dropPainted"));
    }
    progress(nullptr);
    WindowFigures figures;
    figures.measured = true;
    figures.startup = median(startup);
    figures.toMain = median(toMain);
    figures.application = median(application);
    figures.construction = median(construction);
    figures.formLoad = median(formLoad);
    figures.showToPainted = median(showToPainted);
    figures.drop = median(drop);
    figures.dropPainted = median(dropPainted);
    return figures;
}

const char *verdict(bool pass)
{
    return pass ? "PASS" : "MISS";
}

void printTable(const std::vector<SizeFigures> &sizes, const WindowFigures &window, int runs)
{
    constexpr double mega = 1e6;
    std::printf("\nWhole export: LoadLogFile + ExportCabrilloLog, Cabrillo file written, settings "
                "not saved.\nMedians of %d runs, each in a fresh process; MB = 10^6 bytes; "
                "peak = peak resident set of that process.\n\n",
                runs);
    std::printf("%11s %9s %9s %9s %11s %7s %9s %8s %9s %8s\n", "lines", "input MB", "output MB",
                "export s", "lines/s", "MB/s", "floor s", "x floor", "peak MB", "x input");
    for (const SizeFigures &s : sizes) {
        std::printf("%11s %9.2f %9.2f %9.3f %11s %7.1f %9.3f %7.2fx %9.1f %7.2fx\n",
                    grouped(s.lines).c_str(), s.inputBytes / mega, s.outputBytes / mega,
                    s.exportSeconds, grouped((long long)(s.lines / s.exportSeconds)).c_str(),
                    s.inputBytes / mega / s.exportSeconds, s.floorSeconds,
                    s.exportSeconds / s.floorSeconds, s.peakBytes / mega,
                    s.peakBytes / s.inputBytes);
    }
    std::printf("\nfloor = the input decoded from CP932 plus a text of the Cabrillo file's length "
                "encoded back (windows-31j), nothing else.\n");
    std::printf("peak before the export (process, Qt, entries loaded): %.1f MB\n",
                sizes.front().baselineBytes / mega);

    // Wall time is what the goals count; CPU time shows whether other work inflated it.
    std::printf("\nCPU time (user + system) of the same runs, medians:\n");
    std::printf("%11s %9s %9s %8s\n", "lines", "export s", "floor s", "x floor");
    for (const SizeFigures &s : sizes)
        std::printf("%11s %9.3f %9.3f %7.2fx\n", grouped(s.lines).c_str(), s.exportCpu, s.floorCpu,
                    s.exportCpu / s.floorCpu);

    const SizeFigures &largest = sizes.back();
    const SizeFigures *tenth = nullptr;
    for (const SizeFigures &s : sizes) {
        if (qint64(s.lines) * 10 == qint64(largest.lines))
            tenth = &s;
    }
    if (tenth)
        std::printf("growth: time(%s) / time(%s) = %.2fx for 10x the lines (CPU time %.2fx)\n",
                    grouped(largest.lines).c_str(), grouped(tenth->lines).c_str(),
                    largest.exportSeconds / tenth->exportSeconds,
                    largest.exportCpu / tenth->exportCpu);

    if (window.measured) {
        std::printf("\nWindow, offscreen platform, medians of %d starts (one warm-up start left "
                    "out):\n",
                    runs);
        std::printf("  start-up, process start to the window painted  %8.1f ms\n",
                    window.startup * 1e3);
        std::printf("    exec to main() %.1f ms, QApplication and font %.1f ms, Form1 built %.1f "
                    "ms, Form_Load %.1f ms, show to painted %.1f ms\n",
                    window.toMain * 1e3, window.application * 1e3, window.construction * 1e3,
                    window.formLoad * 1e3, window.showToPainted * 1e3);
        std::printf("  10,000-line log dropped on List1, until Text2 is painted %6.1f ms"
                    " (the call alone %.1f ms)\n",
                    window.dropPainted * 1e3, window.drop * 1e3);
    }

    std::printf("\nGoals\n");
    std::printf("  %-48s %10s %10s  %s\n", "goal", "measured", "target", "result");
    const auto row = [](const std::string &goal, const std::string &measured, const char *target,
                        bool pass) {
        std::printf("  %-48s %10s %10s  %s\n", goal.c_str(), measured.c_str(), target,
                    verdict(pass));
    };
    const auto times = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2fx", value);
        return std::string(text);
    };
    const auto ms = [](double seconds) {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
        return std::string(text);
    };
    const std::string largestLines = grouped(largest.lines);
    const double floorRatio = largest.exportSeconds / largest.floorSeconds;
    row("export of " + largestLines + " lines / floor", times(floorRatio), "<= 2.0x",
        floorRatio <= 2.0);
    if (tenth) {
        const double growth = largest.exportSeconds / tenth->exportSeconds;
        row("time(" + largestLines + ") / time(" + grouped(tenth->lines) + ")", times(growth),
            "<= 11x", growth <= 11.0);
    } else {
        std::printf("  %-48s %10s %10s  %s\n", "linear growth", "-", "<= 11x",
                    "not measured (needs sizes N/10 and N)");
    }
    const double memoryRatio = largest.peakBytes / largest.inputBytes;
    row("peak memory / input size, " + largestLines + " lines", times(memoryRatio), "<= 5x",
        memoryRatio <= 5.0);
    if (window.measured) {
        row("window start-up", ms(window.startup), "< 200 ms", window.startup < 0.200);
        row("10,000-line log into Text2", ms(window.dropPainted), "< 150 ms",
            window.dropPainted < 0.150);
    }
}

int runBenchmark(const Options &options)
{
    // Generated logs go away afterwards unless asked to keep them.
    std::optional<QTemporaryDir> temporary;
    QString folder = options.keep;
    if (folder.isEmpty()) {
        temporary.emplace();
        if (!temporary->isValid())
            return fail(QStringLiteral("cannot make a temporary folder"));
        folder = temporary->path();
    } else if (!QDir().mkpath(folder)) {
        return fail(QStringLiteral("cannot make ") + folder);
    }

    const CpuUse before = CpuUse::now();
    std::printf("tornak-bench: Qt %s, %s, %u CPUs, files in %s\n", qVersion(),
                cpuModel().toLocal8Bit().constData(), std::thread::hardware_concurrency(),
                folder.toLocal8Bit().constData());
    std::fflush(stdout);

    std::vector<int> sizes = options.sizes;
    std::sort(sizes.begin(), sizes.end());
    std::vector<SizeFigures> figures;
    for (int lines : sizes) {
        const auto measured = measureSize(folder, lines, options.runs);
        if (!measured)
            return 1;
        figures.push_back(*measured);
    }

    QString windowLog;
    for (const SizeFigures &s : figures) {
        if (s.lines == 10000)
            windowLog = s.logPath;
    }
    if (windowLog.isEmpty()) {
        windowLog = folder + QStringLiteral("/zlog-10000.txt");
        if (!writeLog(windowLog, 10000))
            return fail(QStringLiteral("cannot write ") + windowLog);
    }
    const auto window = measureWindow(folder, windowLog, options.runs);
    if (!window)
        return 1;

    printTable(figures, *window, options.runs);
    const double others = CpuUse::others(before, CpuUse::now());
    const unsigned cpus = std::max(1u, std::thread::hardware_concurrency());
    std::printf("\nother work on the machine during the run: %.2f of %u CPUs on average", others,
                cpus);
    // The measured work runs one process at a time, so a CPU left free keeps it on a core
    // of its own; caches, memory and the disk are still shared.
    if (others > double(cpus) - 1.0)
        std::printf(": the times above are too high; run again on a quiet machine");
    else if (others > 0.2)
        std::printf(": a CPU was left to the benchmark, but caches and memory were shared, so "
                    "the times may be somewhat high");
    std::printf("\n");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 5 && arguments.at(1) == childExportCommand)
        return childExport(arguments.at(2), arguments.at(3), arguments.at(4));
    if (arguments.size() == 4 && arguments.at(1) == childFloorCommand)
        return childFloor(arguments.at(2), arguments.at(3));

    const auto options = parseOptions(arguments);
    if (!options) {
        std::fprintf(stderr, "usage: tornak-bench [--runs N] [--sizes N,N,...] [--keep DIR]\n");
        return 2;
    }
    return runBenchmark(*options);
}
