#pragma once

#include "ui/dialogs.h"

#include <QStringList>

// Answers the window's dialogs at once and remembers what they were asked, so no test
// waits on a modal loop. Owned by the window; the test keeps a plain pointer.
class FakeDialogs : public Dialogs
{
public:
    QStringList messages;
    QStringList prompts;
    QStringList questions;
    bool yes = false;                  // the answer to every question
    QStringList answers;               // typed into the input box in turn,
    QString answer;                    // then this
    std::optional<QString> chosenFile; // nothing: the file dialog is cancelled
    QFont font;                        // the one the font dialog was opened with
    std::optional<LogCheck> check;     // the last one shown
    std::function<void(int)> selectLine;
    QString openedFolder;

    void showMessage(const QString &text) override { messages.append(text); }
    bool confirm(const QString &question) override
    {
        questions.append(question);
        return yes;
    }
    QString askText(const QString &prompt) override
    {
        prompts.append(prompt);
        return answers.isEmpty() ? answer : answers.takeFirst();
    }
    std::optional<QString> openFileName() override { return chosenFile; }
    void chooseFont(const QFont &initial) override { font = initial; }
    void showLogCheck(const LogCheck &shown, const std::function<void(int)> &select) override
    {
        check = shown;
        selectLine = select;
    }
    void openFolder(const QString &folder) override { openedFolder = folder; }
};
