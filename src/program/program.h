#pragma once

#include <QString>
#include <QTextStream>

// What both halves of the program, the window and the command line, need as they start.

// The program's name: its command, and the title of its dialogs.
inline const QString programName = QStringLiteral("tornak-cabrillo");

// Names the running application after the program, with its version, and has Qt's own
// texts (buttons, the file and font dialogs, the command line's errors) in Japanese,
// whatever language the system speaks: the tool is Japanese by design. A missing
// catalogue leaves them English and is no error.
void SetUpProgram();

// Standard output and error, in UTF-8 or through a Windows console's own Unicode call.
// Written through these rather than Qt's: on Windows, Qt's would put them in a message box
// whenever the program has no console window of its own, as under a script.
QTextStream &standardOutput();
QTextStream &standardError();
