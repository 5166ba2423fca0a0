#include "app/Scaling.h"

#include <QFontMetrics>
#include <QImage>
#include <QStyleOption>
#include <QWidget>

int styleLengthAt96Dpi(const QWidget *widget, QStyle::PixelMetric metric)
{
    // A style that scales a metric takes the DPI from the option's font metrics, which here are
    // those of a 96 DPI device (3780 dots per metre).
    QImage device(1, 1, QImage::Format_Mono);
    device.setDotsPerMeterX(3780);
    device.setDotsPerMeterY(3780);
    QStyleOption option;
    option.initFrom(widget);
    option.fontMetrics = QFontMetrics(widget->font(), &device);
    return widget->style()->pixelMetric(metric, &option, widget);
}
