// Linked into a program to time its start: once the first paint of a window has been flushed,
// prints the monotonic clock in nanoseconds and ends the process at once.
#include <QCoreApplication>
#include <QEvent>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <ctime>

namespace {

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // The children paint in the same pass; the pass is flushed when the loop is next idle.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                QTextStream(stdout) << qint64(now.tv_sec) * 1000000000 + now.tv_nsec << Qt::endl;
                std::_Exit(0);
            });
        }
        return false;
    }
};

void installProbe()
{
    QCoreApplication::instance()->installEventFilter(new FirstPaint);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
