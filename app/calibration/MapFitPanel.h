#pragma once

#include "calibration/MapFitFlow.h"
#include "link/CommandBodies.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class InjectionTimeTables;
class MapPage;
class QLabel;
class QPushButton;
class QWidget;
class QXYSeries;

// "Fit to curves" on the "Mapa" page: beside the arrows a button that turns
// the two learned tables into a proposed map (MapFitFlow, the rule in
// docs/map-fit.md), drawn on the chart as a dashed series of its own with a
// one-line summary under it; then "Write map" sends it exactly as the arrows
// send a map and the chart shows it as the map, "Discard" drops it, and
// "Undo" writes back the map from before the last written proposal.
class MapFitPanel : public QObject
{
public:
    struct Link
    {
        std::function<bool()> connected;
        std::function<bool()> calibrating;    // a calibration run owns the map
        std::function<bool()> commandPending; // the queue's current slot holds a command
        std::function<void(int retries, const CommandBodies::Group &commands)> queue;
        std::function<void(const QString &text)> notice; // a note in the status bar
        std::function<QString(const QString &key)> text; // program text in the current language
        std::function<const InjectionTimeTables &()> tables;
    };

    static constexpr const char *ProposalColour = "#FF00FF"; // clFuchsia

    // The buttons (a column for beside the arrows) and the summary label (for
    // under the chart), built with the page; captions come with retranslate().
    static QWidget *buttons(QWidget *parent);
    static QLabel *summaryLabel(QWidget *parent);

    // `tab` is the map page CalibrationMapTabs::map built, `page` its handlers.
    MapFitPanel(QWidget *tab, MapPage &page, Link link, QObject *parent = nullptr);

    void fitClick();
    void writeClick();
    void rejectClick();
    void undoClick();
    // Captions, accessible names and the summary in the current language.
    void retranslate();

    const MapFitFlow &flow() const { return m_flow; }
    QXYSeries *proposalSeries() const { return m_series; }

private:
    MapFitFlow::Link linkState() const;
    QString text(const QString &key) const;
    void say(const QString &text);
    void writeMap(const CorrectionMap &map, const QString &noticeKey);
    void showProposal();
    void updateButtons();
    QString summaryText() const;
    static QString number(double value, int decimals);

    QPointer<QWidget> m_tab;
    MapPage &m_page;
    Link m_link;
    MapFitFlow m_flow;
    QXYSeries *m_series = nullptr;
    QPushButton *m_fit = nullptr;
    QPushButton *m_write = nullptr;
    QPushButton *m_reject = nullptr;
    QPushButton *m_undo = nullptr;
    QLabel *m_summary = nullptr;
};
