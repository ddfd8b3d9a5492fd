#include "ui/qt_dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace
{

QString title()
{
    return QCoreApplication::applicationName();
}

} // namespace

QtDialogs::QtDialogs(QWidget *parentWidget) : parent(parentWidget) {}

void QtDialogs::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::confirm(const QString &question)
{
    QMessageBox box(QMessageBox::Question, title(), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::askText(const QString &prompt)
{
    // The prompt breaks its line with a lone CR, which a Qt label does not.
    QString shown = prompt;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, title(), shown, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

std::optional<QString> QtDialogs::openFileName()
{
    const QString path = QFileDialog::getOpenFileName(
        parent, QString(), QString(), QStringLiteral("テキスト (*.txt);;全て (*.*)"));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void QtDialogs::chooseFont(const QFont &initial)
{
    bool ok = false;
    (void)QFontDialog::getFont(&ok, initial, parent);
}
