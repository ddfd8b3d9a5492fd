#include "ui/application.h"

#include "ui/form1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void UseJapanese()
{
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

void SetUpWindowApplication()
{
    QApplication::setApplicationName(programName);
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.tornak.TornakCabrillo"));
    // The captions were laid out for the 9-point UI font of a Japanese desktop.
    QApplication::setFont(JapaneseFont(false, 9));
    UseJapanese();
}
