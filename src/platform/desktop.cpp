#include "platform/desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace zarno {

QList<QRect> TDesktop::workAreas()
{
    QList<QRect> areas;
    for (const QScreen *s : QGuiApplication::screens())
        areas.append(s->availableGeometry());
    return areas;
}

QList<QRect> TDesktop::monitorBounds()
{
    QList<QRect> bounds;
    for (const QScreen *s : QGuiApplication::screens())
        bounds.append(s->geometry());
    return bounds;
}

QSize TDesktop::largestMonitorSize()
{
    QSize largest(0, 0);
    for (const QRect &r : monitorBounds())
        largest = largest.expandedTo(r.size());
    return largest;
}

QSize TDesktop::primaryScreenSize()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(0, 0);
}

bool TDesktop::isPositionOnSomeMonitor(const QRect &window, int captionHeight, int inset)
{
    return isPositionOnMonitors(monitorBounds(), window, captionHeight, inset);
}

bool TDesktop::isPositionOnMonitors(
    const QList<QRect> &monitors, const QRect &window, int captionHeight, int inset)
{
    const int y = window.top() + captionHeight / 2;
    const QPoint left(window.left() + inset, y);
    const QPoint right(window.left() + window.width() - inset, y);
    return std::any_of(monitors.begin(), monitors.end(),
        [&](const QRect &m) { return m.contains(left) || m.contains(right); });
}

} // namespace zarno
