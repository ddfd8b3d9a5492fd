#pragma once

#include "ui/dialogs.h"

class QWidget;

class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent);

    void showMessage(const QString &text) override;
    bool confirm(const QString &question) override;
    QString askText(const QString &prompt) override;
    std::optional<QString> openFileName() override;
    void chooseFont(const QFont &initial) override;

private:
    QWidget *parent;
};
