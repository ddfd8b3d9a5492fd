#include "ui/application.h"

#include "program/program.h"
#include "ui/form1.h"

#include <QApplication>

void SetUpWindowApplication()
{
    SetUpProgram();
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.tornak.TornakCabrillo"));
    // The captions were laid out for the 9-point UI font of a Japanese desktop.
    QApplication::setFont(JapaneseFont(false, 9));
}
