#include "app/CSlidingStackedWidget.h"

#include <QApplication>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

CSlidingStackedWidget::CSlidingStackedWidget(QWidget *parent) : QStackedWidget(parent) {}

CSlidingStackedWidget::~CSlidingStackedWidget()
{
    delete runningGroup.data();
}

void CSlidingStackedWidget::setAnimation(QEasingCurve::Type animationtype)
{
    easingType = animationtype;
}

void CSlidingStackedWidget::slide(int index)
{
    pendingIndex = index;
    if (active)
        return; // taken up when the running slide ends

    const int pages = count();
    if (index <= pages - 1)
        index += pages;
    // An empty stack, or an index below -count, names no page.
    if (pages == 0 || index < 0)
        return;
    slideToPage(index % pages);
}

void CSlidingStackedWidget::slideToPage(int target)
{
    active = true;
    const int now = currentIndex();
    const int next = target;
    if (now == next) {
        active = false;
        emit currentChanged(currentIndex());
        return;
    }

    const bool forward = now < next;
    const int w = frameRect().width();
    const int h = frameRect().height();
    QWidget *incoming = widget(next);
    QWidget *outgoing = widget(now);
    incoming->setGeometry(0, 0, w, h);

    const QPoint offset = forward ? QPoint(-w, 0) : QPoint(w, 0);
    const QPoint incomingPosition = incoming->pos();
    nowPosition = outgoing->pos();

    incoming->move(incomingPosition - offset);
    incoming->show();
    incoming->raise();

    auto *outgoingAnimation = new QPropertyAnimation(outgoing, "pos");
    outgoingAnimation->setDuration(slideSpeed);
    outgoingAnimation->setEasingCurve(QEasingCurve(easingType));
    outgoingAnimation->setStartValue(nowPosition);
    outgoingAnimation->setEndValue(nowPosition + offset);

    auto *incomingAnimation = new QPropertyAnimation(incoming, "pos");
    incomingAnimation->setDuration(slideSpeed);
    incomingAnimation->setEasingCurve(QEasingCurve(easingType));
    incomingAnimation->setStartValue(incomingPosition - offset);
    incomingAnimation->setEndValue(incomingPosition);

    // The group owns both animations and is deleted when it stops.
    auto *group = new QParallelAnimationGroup;
    group->addAnimation(outgoingAnimation);
    group->addAnimation(incomingAnimation);
    connect(group, &QParallelAnimationGroup::finished, this,
            &CSlidingStackedWidget::animationDoneSlot);

    nextIndex = next;
    nowIndex = now;
    active = true;
    runningGroup = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void CSlidingStackedWidget::animationDoneSlot()
{
    // When another slide follows at once, the focus stays where it was during this one: the page
    // that becomes current for a moment would otherwise take it, and the keys typed during the
    // next slide would go to a page on its way out.
    const QPointer<QWidget> focus =
        pendingIndex != nextIndex ? QApplication::focusWidget() : nullptr;
    setCurrentIndex(nextIndex);
    if (QWidget *outgoing = widget(nowIndex)) {
        outgoing->hide();
        outgoing->move(nowPosition);
    }
    active = false;
    if (pendingIndex == currentIndex()) {
        emit animationFinished();
    } else {
        slide(pendingIndex);
        if (focus && focus->isVisible())
            focus->setFocus(Qt::OtherFocusReason);
    }
}
