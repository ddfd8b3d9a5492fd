#pragma once

#include <QString>

// Qt's text boxes break lines with LF; the log text and the entries use CR LF.
QString ToCrLf(const QString &editorText);
QString FromCrLf(const QString &text);
