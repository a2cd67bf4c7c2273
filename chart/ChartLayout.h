#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Which channels each pane of the chart shows, top to bottom (the fuel and
// fault band always comes last and is not a pane here). Stored as one line
// of text: panes separated by ';', channel keys (the CSV column names) by ','.
struct ChartLayout
{
    QVector<QStringList> panes;

    // rpm; MAP and P1; petrol time of `cylinder` (1..8) and gas time;
    // lambda 1 and 2.
    static ChartLayout defaults(int cylinder = 1);

    QString toText() const;
    // Unknown keys and doubled keys in a pane are dropped, as are panes left
    // empty; a text that leaves no pane gives the defaults.
    static ChartLayout fromText(const QString &text, int cylinder = 1);

    bool contains(int pane, const QString &key) const;
    // Adds or removes one channel of a pane; false when nothing changed.
    bool add(int pane, const QString &key);
    bool remove(int pane, const QString &key);
    void addPane();
    // The last pane is never removed.
    bool removePane(int pane);

    bool operator==(const ChartLayout &) const = default;
};
