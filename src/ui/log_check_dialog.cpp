#include "ui/qt_dialogs.h"

#include "core/messages.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{

QTableWidget *table(QWidget *parent, const QStringList &headers)
{
    auto *made = new QTableWidget(0, int(headers.size()), parent);
    made->setHorizontalHeaderLabels(headers);
    made->verticalHeader()->setVisible(false);
    made->setEditTriggers(QAbstractItemView::NoEditTriggers);
    made->setSelectionBehavior(QAbstractItemView::SelectRows);
    made->horizontalHeader()->setStretchLastSection(true);
    return made;
}

void addRow(QTableWidget *to, const QStringList &cells)
{
    const int row = to->rowCount();
    to->insertRow(row);
    for (int column = 0; column < cells.size(); ++column)
        to->setItem(row, column, new QTableWidgetItem(cells.at(column)));
}

QTableWidget *summaryTable(QWidget *parent, const LogSummary &summary)
{
    QTableWidget *made =
        table(parent, {QStringLiteral("バンド"), QStringLiteral("モード"), QStringLiteral("QSO")});
    for (const BandModeCount &count : summary.bandModes)
        addRow(made, {BandName(count.band), count.mode, QString::number(count.count)});
    made->resizeColumnsToContents();
    return made;
}

QString summaryText(const LogCheck &check)
{
    const LogSummary &s = check.summary;
    const auto moment = [](const WrittenMoment &m) {
        return m.date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + m.time;
    };
    QStringList lines{SummaryLine(check)};
    if (s.qsoCount > 0)
        lines.append(Messages::checkFirstAndLast(moment(s.first), moment(s.last)));
    lines.append(Messages::checkCounts(s.receivedMultipliers, s.markedDuplicates));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

std::unique_ptr<QDialog> LogCheckDialog(QWidget *parent, const LogCheck &check,
                                        const std::function<void(int line)> &selectLine)
{
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("logCheck"));
    dialog->setWindowTitle(QStringLiteral("ログの確認"));
    auto *layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(summaryText(check), dialog.get()));
    layout->addWidget(summaryTable(dialog.get(), check.summary));

    layout->addWidget(new QLabel(Messages::checkAdvice(), dialog.get()));
    QTableWidget *warnings =
        table(dialog.get(), {QStringLiteral("行"), QStringLiteral("警告"), QStringLiteral("場所")});
    warnings->setObjectName(QStringLiteral("warnings"));
    for (const Finding &finding : check.findings) {
        QStringList numbers;
        for (const int line : finding.lines)
            numbers.append(QString::number(line));
        addRow(warnings, {numbers.join(QLatin1Char(',')), finding.text, finding.where});
    }
    warnings->resizeColumnsToContents();
    QObject::connect(warnings, &QTableWidget::cellDoubleClicked, dialog.get(),
                     [check, selectLine](int row, int) {
                         const QList<int> &lines = check.findings.at(row).lines;
                         if (!lines.isEmpty())
                             selectLine(lines.first());
                     });
    layout->addWidget(warnings, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    dialog->resize(760, 480);
    return dialog;
}
