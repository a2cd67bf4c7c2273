#include "chart/ChartLayout.h"

#include "chart/ChartChannel.h"

#include <algorithm>

ChartLayout ChartLayout::defaults(int cylinder)
{
    cylinder = std::clamp(cylinder, 1, 8);
    ChartLayout layout;
    layout.panes = {{QStringLiteral("rpm")},
                    {QStringLiteral("map_kpa"), QStringLiteral("p1_bar")},
                    {QStringLiteral("petrol_ms_%1").arg(cylinder), QStringLiteral("gas_ms")},
                    {QStringLiteral("lambda1_v"), QStringLiteral("lambda2_v")}};
    return layout;
}

QString ChartLayout::toText() const
{
    QStringList parts;
    for (const QStringList &pane : panes)
        parts.append(pane.join(QLatin1Char(',')));
    return parts.join(QLatin1Char(';'));
}

ChartLayout ChartLayout::fromText(const QString &text, int cylinder)
{
    ChartLayout layout;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QStringList pane;
        for (const QString &raw : part.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString key = raw.trimmed();
            if (ChartChannel::indexOf(key) >= 0 && !pane.contains(key))
                pane.append(key);
        }
        if (!pane.isEmpty())
            layout.panes.append(pane);
    }
    return layout.panes.isEmpty() ? defaults(cylinder) : layout;
}

bool ChartLayout::contains(int pane, const QString &key) const
{
    return pane >= 0 && pane < panes.size() && panes[pane].contains(key);
}

bool ChartLayout::add(int pane, const QString &key)
{
    if (pane < 0 || pane >= panes.size() || ChartChannel::indexOf(key) < 0 || panes[pane].contains(key))
        return false;
    panes[pane].append(key);
    return true;
}

bool ChartLayout::remove(int pane, const QString &key)
{
    return pane >= 0 && pane < panes.size() && panes[pane].removeAll(key) > 0;
}

void ChartLayout::addPane()
{
    panes.append(QStringList());
}

bool ChartLayout::removePane(int pane)
{
    if (pane < 0 || pane >= panes.size() || panes.size() <= 1)
        return false;
    panes.remove(pane);
    return true;
}
