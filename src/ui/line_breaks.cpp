#include "ui/line_breaks.h"

QString ToCrLf(const QString &editorText)
{
    QString text = editorText;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

QString FromCrLf(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
