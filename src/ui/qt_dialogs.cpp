#include "ui/qt_dialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace
{

QString title()
{
    return QCoreApplication::applicationName();
}

// Qt's font dialog offers no way to choose its writing system, which decides the sample
// text and the fonts listed; its list of them is the one drop-down of writing system names.
void showJapaneseFonts(QFontDialog &dialog)
{
    const int japanese = QFontDatabase::Japanese;
    const QString name = QFontDatabase::writingSystemName(QFontDatabase::Japanese);
    for (QComboBox *box : dialog.findChildren<QComboBox *>()) {
        if (box->count() > japanese && box->itemText(japanese) == name) {
            box->setCurrentIndex(japanese);
            Q_EMIT box->activated(japanese);
        }
    }
}

} // namespace

std::unique_ptr<QMessageBox> MessageDialog(QWidget *parent, const QString &text)
{
    return std::make_unique<QMessageBox>(QMessageBox::NoIcon, title(), text, QMessageBox::Ok,
                                         parent);
}

std::unique_ptr<QMessageBox> QuestionDialog(QWidget *parent, const QString &question)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, title(), question,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    return box;
}

std::unique_ptr<QInputDialog> TextDialog(QWidget *parent, const QString &prompt)
{
    auto dialog = std::make_unique<QInputDialog>(parent);
    dialog->setWindowTitle(title());
    dialog->setInputMode(QInputDialog::TextInput);
    // The prompt breaks its line with a lone CR, which a Qt label does not.
    dialog->setLabelText(QString(prompt).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    return dialog;
}

std::unique_ptr<QFileDialog> OpenLogDialog(QWidget *parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // zLOG's own log files first: they need no export from zLOG.
    dialog->setNameFilters({QStringLiteral("zLOGファイル (*.ZLOX *.ZLO *.txt)"),
                            QStringLiteral("テキスト (*.txt)"), QStringLiteral("全て (*.*)")});
    return dialog;
}

std::unique_ptr<QFontDialog> FontDialog(QWidget *parent, const QFont &initial)
{
    auto dialog = std::make_unique<QFontDialog>(initial, parent);
    showJapaneseFonts(*dialog);
    dialog->setCurrentFont(initial);
    return dialog;
}

QtDialogs::QtDialogs(QWidget *parentWidget) : parent(parentWidget) {}

void QtDialogs::showMessage(const QString &text)
{
    MessageDialog(parent, text)->exec();
}

bool QtDialogs::confirm(const QString &question)
{
    return QuestionDialog(parent, question)->exec() == QMessageBox::Yes;
}

QString QtDialogs::askText(const QString &prompt)
{
    const auto dialog = TextDialog(parent, prompt);
    return dialog->exec() == QDialog::Accepted ? dialog->textValue() : QString();
}

std::optional<QString> QtDialogs::openFileName()
{
    const auto dialog = OpenLogDialog(parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().first();
}

void QtDialogs::chooseFont(const QFont &initial)
{
    FontDialog(parent, initial)->exec();
}

void QtDialogs::showLogCheck(const LogCheck &check, const std::function<void(int line)> &selectLine)
{
    LogCheckDialog(parent, check, selectLine)->exec();
}

void QtDialogs::openFolder(const QString &folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
