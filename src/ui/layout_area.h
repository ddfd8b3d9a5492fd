#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

// The surface the window's controls sit on, each at its fixed place. It is never smaller
// than the layout: a scroll area around it reaches what a small screen cannot show. When
// it is larger, the one control set to grow takes the extra room.
class LayoutArea : public QWidget
{
public:
    LayoutArea(QSize layoutSize, QWidget *parent);

    // The control keeps its laid-out top left corner and grows by the room beyond the layout.
    void setGrowing(QWidget *control);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QWidget> growing;
    QRect laidOut;
};

// A laid-out rectangle grown by what the area has beyond the layout's size, never shrunk.
QRect GrownRect(const QRect &laidOut, QSize layoutSize, QSize areaSize);

// The window's outer size, frame included, cut to the screen's available area; the window's
// own size when it fits.
QSize FittedWindowSize(QSize window, QSize frame, QSize available);

// Shrinks a top-level window that is larger than its screen's available area to that area,
// and moves it where it is then wholly seen.
void FitToScreen(QWidget *window);
