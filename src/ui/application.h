#pragma once

#include <QString>

// The program's name: its command, and the title of its dialogs.
inline const QString programName = QStringLiteral("tornak-cabrillo");

// Qt's own texts (buttons, the file and font dialogs, the command line's errors) in
// Japanese, whatever language the system speaks: the tool is Japanese by design. A missing
// catalogue leaves them English and is no error.
void UseJapanese();

// The window's application, as the program, its screenshots and its benchmark start it.
void SetUpWindowApplication();
