#include "ui/layout_area.h"

#include <QScreen>

#include <algorithm>

LayoutArea::LayoutArea(QSize layoutSize, QWidget *parent) : QWidget(parent)
{
    setMinimumSize(layoutSize);
}

void LayoutArea::setGrowing(QWidget *control)
{
    growing = control;
    laidOut = control->geometry();
}

void LayoutArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (growing)
        growing->setGeometry(GrownRect(laidOut, minimumSize(), size()));
}

QRect GrownRect(const QRect &laidOut, QSize layoutSize, QSize areaSize)
{
    const QSize extra = (areaSize - layoutSize).expandedTo(QSize(0, 0));
    return QRect(laidOut.topLeft(), laidOut.size() + extra);
}

QSize FittedWindowSize(QSize window, QSize frame, QSize available)
{
    return window.boundedTo(available - frame);
}

void FitToScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize fitted = FittedWindowSize(window->size(), frame, available.size());
    if (fitted == window->size())
        return;
    window->resize(fitted);
    // Where the system would open it, its lower edge would lie off the screen.
    const QRect outer(window->frameGeometry().topLeft(), fitted + frame);
    if (!available.contains(outer))
        window->move(available.topLeft());
}
