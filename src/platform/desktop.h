#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace zarno {

// What window placement needs to know about the monitors.
struct TDesktop
{
    // The work area of each monitor: its bounds without the task bar or panels.
    static QList<QRect> workAreas();
    // The bounds of each monitor.
    static QList<QRect> monitorBounds();
    // The largest monitor width and the largest height (not necessarily of one monitor).
    static QSize largestMonitorSize();
    // The primary screen's size in pixels.
    static QSize primaryScreenSize();

    // A window at this position is reachable: the point half a caption height
    // below its top edge, at its left end moved right by the inset or at its
    // right end moved left by it, lies on some monitor.
    static bool isPositionOnSomeMonitor(const QRect &window, int captionHeight, int inset);
    static bool isPositionOnMonitors(
        const QList<QRect> &monitors, const QRect &window, int captionHeight, int inset);
};

} // namespace zarno
