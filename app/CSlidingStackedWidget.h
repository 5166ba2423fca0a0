#pragma once

#include <QEasingCurve>
#include <QPoint>
#include <QPointer>
#include <QStackedWidget>

class QParallelAnimationGroup;

// A stacked widget that changes pages with a horizontal slide: the outgoing page leaves to one
// side while the incoming page comes in from the other. A request that arrives during a slide
// is remembered (only the latest one) and carried out when the running slide ends.
class CSlidingStackedWidget final : public QStackedWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(CSlidingStackedWidget)
    Q_PROPERTY(QEasingCurve::Type easingCurve READ easingCurve WRITE setEasingCurve)
    Q_PROPERTY(int speed READ speed WRITE setSpeed)

public:
    explicit CSlidingStackedWidget(QWidget *parent = nullptr);
    ~CSlidingStackedWidget() override;

    QEasingCurve::Type easingCurve() const { return easingType; }
    void setEasingCurve(QEasingCurve::Type type) { easingType = type; }
    int speed() const { return slideSpeed; }
    void setSpeed(int milliseconds) { slideSpeed = milliseconds; }

signals:
    // A slide has ended and no other page was asked for in the meantime.
    void animationFinished();

public slots:
    void setAnimation(QEasingCurve::Type animationtype);
    void slide(int index);

protected slots:
    void animationDoneSlot();

private:
    void slideToPage(int target);

    int slideSpeed = 200;
    QEasingCurve::Type easingType = QEasingCurve::OutQuart;
    int nowIndex = 0;
    int nextIndex = 0;
    QPoint nowPosition;
    bool active = false;
    int pendingIndex = 0;
    // The running slide's animations, which have no parent: they are stopped and released with
    // the stack so that they never drive pages that are gone.
    QPointer<QParallelAnimationGroup> runningGroup;
};
