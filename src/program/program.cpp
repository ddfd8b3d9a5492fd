#include "program/program.h"

#include "program/console_output.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void SetUpProgram()
{
    QCoreApplication::setApplicationName(programName);
    QCoreApplication::setApplicationVersion(QStringLiteral(TORNAK_VERSION));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    static QTranslator qtTexts;
    // Where Qt keeps its catalogues here, else beside the program, as a Windows zip has it.
    const bool loaded =
        qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qtTexts.load(QStringLiteral("qtbase_ja"),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
    if (loaded)
        QCoreApplication::installTranslator(&qtTexts);
}

QTextStream &standardOutput()
{
    static ConsoleOutput device(stdout);
    static QTextStream stream(&device);
    return stream;
}

QTextStream &standardError()
{
    static ConsoleOutput device(stderr);
    static QTextStream stream(&device);
    return stream;
}
