#pragma once

#include <QObject>
#include <QStringList>

// Lets a widget take files dropped from a file manager and hands on their paths, in the
// order the drop gives them. Text dropped from elsewhere is refused.
class FileDropFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Accept drops on this widget (for scroll areas, their viewport).
    void watch(QWidget *target);

Q_SIGNALS:
    void filesDropped(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
