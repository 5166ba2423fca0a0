#pragma once

#include <QStyle>

class QWidget;

// The window's lengths are designed for a 96 DPI screen; each widget scales a design length once
// by its dpiScale (its logical DPI / 96) and rounds it with qRound.
//
// Some of the lengths come from the style, and the toolkit's styles scale some of their metrics
// to the screen's DPI themselves (the table's default row height, the header's margin in the
// Windows style) and others not (frame widths). Taken as the style gives them on a 96 DPI screen,
// they are design lengths like the others, so every length is scaled exactly once.
int styleLengthAt96Dpi(const QWidget *widget, QStyle::PixelMetric metric);
