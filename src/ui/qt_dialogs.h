#pragma once

#include "ui/dialogs.h"

#include <memory>

class QDialog;
class QFileDialog;
class QFontDialog;
class QInputDialog;
class QMessageBox;
class QWidget;

// Each dialog as the window shows it, built in one place so that the screenshots show
// exactly these.
std::unique_ptr<QMessageBox> MessageDialog(QWidget *parent, const QString &text);
std::unique_ptr<QMessageBox> QuestionDialog(QWidget *parent, const QString &question);
std::unique_ptr<QInputDialog> TextDialog(QWidget *parent, const QString &prompt);
std::unique_ptr<QFileDialog> OpenLogDialog(QWidget *parent);
std::unique_ptr<QFontDialog> FontDialog(QWidget *parent, const QFont &initial);
std::unique_ptr<QDialog> LogCheckDialog(QWidget *parent, const LogCheck &check,
                                        const std::function<void(int line)> &selectLine);

class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent);

    void showMessage(const QString &text) override;
    bool confirm(const QString &question) override;
    QString askText(const QString &prompt) override;
    std::optional<QString> openFileName() override;
    void chooseFont(const QFont &initial) override;
    void showLogCheck(const LogCheck &check,
                      const std::function<void(int line)> &selectLine) override;
    void openFolder(const QString &folder) override;

private:
    QWidget *parent;
};
