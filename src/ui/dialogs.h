#pragma once

#include "conversion/log_check.h"

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

// The modal dialogs the window shows. The window talks to them only through this, so
// tests can answer them without a modal loop.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The text alone, one OK button, no icon.
    virtual void showMessage(const QString &text) = 0;
    // A question answered yes or no; no unless the user says yes.
    virtual bool confirm(const QString &question) = 0;
    // One line of text under the prompt; empty when cancelled.
    virtual QString askText(const QString &prompt) = 0;
    // The chosen file; nothing when cancelled.
    virtual std::optional<QString> openFileName() = 0;
    // Shows the font dialog; what the user chooses is not used.
    virtual void chooseFont(const QFont &initial) = 0;
    // The summary and the warnings of the log; a warning's line, when chosen, is handed to
    // selectLine.
    virtual void showLogCheck(const LogCheck &check,
                              const std::function<void(int line)> &selectLine) = 0;
    // Shows the folder in the system's file manager.
    virtual void openFolder(const QString &folder) = 0;
};
