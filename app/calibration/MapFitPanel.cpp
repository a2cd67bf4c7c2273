#include "app/calibration/MapFitPanel.h"

#include "app/calibration/MapChart.h"
#include "app/calibration/MapPage.h"
#include "app/common/HandlerGuard.h"
#include "app/common/PlainControls.h"

#include "live/InjectionTimeTables.h"

#include <QChart>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

const QString FitName = QStringLiteral("MapFitButton");
const QString WriteName = QStringLiteral("MapFitWriteButton");
const QString RejectName = QStringLiteral("MapFitRejectButton");
const QString UndoName = QStringLiteral("MapFitUndoButton");
const QString SummaryName = QStringLiteral("MapFitSummary");

} // namespace

QWidget *MapFitPanel::buttons(QWidget *parent)
{
    auto *box = new QWidget(parent);
    box->setObjectName(QStringLiteral("MapFitPanel"));
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    for (const QString &name : {FitName, WriteName, RejectName, UndoName}) {
        QPushButton *b = PlainControls::button(name, QString(), box);
        column->addWidget(b);
        b->setVisible(name == FitName); // the others once there is something to write or undo
    }
    column->addStretch(1);
    return box;
}

QLabel *MapFitPanel::summaryLabel(QWidget *parent)
{
    QLabel *label = PlainControls::label(SummaryName, QString(), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

MapFitPanel::MapFitPanel(QWidget *tab, MapPage &page, Link link, QObject *parent)
    : QObject(parent), m_tab(tab), m_page(page), m_link(std::move(link))
{
    m_fit = tab->findChild<QPushButton *>(FitName);
    m_write = tab->findChild<QPushButton *>(WriteName);
    m_reject = tab->findChild<QPushButton *>(RejectName);
    m_undo = tab->findChild<QPushButton *>(UndoName);
    m_summary = tab->findChild<QLabel *>(SummaryName);

    // The proposal: dashed, in a colour of its own, on the multiplier axis,
    // added after the chart's own series so their order stays.
    const MapChart::Parts &chart = page.chart();
    auto *series = new QLineSeries;
    series->setObjectName(QStringLiteral("SeriesFit"));
    QPen pen{QColor(QString::fromLatin1(ProposalColour))};
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(2);
    series->setPen(pen);
    chart.chart->addSeries(series);
    series->attachAxis(chart.time);
    series->attachAxis(chart.multiplier);
    m_series = series;

    const auto guard = [this](auto handler) {
        return [this, handler] { HandlerGuard::run(m_tab, [&] { (this->*handler)(); }); };
    };
    connect(m_fit, &QPushButton::clicked, this, guard(&MapFitPanel::fitClick));
    connect(m_write, &QPushButton::clicked, this, guard(&MapFitPanel::writeClick));
    connect(m_reject, &QPushButton::clicked, this, guard(&MapFitPanel::rejectClick));
    connect(m_undo, &QPushButton::clicked, this, guard(&MapFitPanel::undoClick));
    retranslate();
}

MapFitFlow::Link MapFitPanel::linkState() const
{
    MapFitFlow::Link l;
    l.connected = m_link.connected && m_link.connected();
    l.calibrating = m_link.calibrating && m_link.calibrating();
    l.commandPending = m_link.commandPending && m_link.commandPending();
    return l;
}

QString MapFitPanel::text(const QString &key) const
{
    return m_link.text ? m_link.text(key) : key;
}

void MapFitPanel::say(const QString &text)
{
    if (m_link.notice)
        m_link.notice(text);
}

QString MapFitPanel::number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

void MapFitPanel::fitClick()
{
    const InjectionTimeTables &tables = m_link.tables();
    const MapFitFlow::Refusal r =
        m_flow.fit(tables.PetrolTimeTable(), tables.GasTimeTable(), m_page.correctionMap(), linkState());
    showProposal();
    switch (r) {
    case MapFitFlow::Refusal::None:
        break;
    case MapFitFlow::Refusal::Offline:
        say(text(QStringLiteral("map.fit.offline")));
        break;
    case MapFitFlow::Refusal::Calibrating:
        say(text(QStringLiteral("map.fit.calibrating")));
        break;
    case MapFitFlow::Refusal::TooFewPositions:
        say(text(QStringLiteral("map.fit.too_few")).arg(m_flow.lastResult().usablePositions).arg(MapFit::MinPositions));
        break;
    case MapFitFlow::Refusal::TooNarrow:
        say(text(QStringLiteral("map.fit.too_narrow"))
                .arg(number(m_flow.lastResult().coveredMs(), 1), number(MapFit::MinSpanMs, 0)));
        break;
    case MapFitFlow::Refusal::Busy:
    case MapFitFlow::Refusal::NothingToDo:
        break;
    }
}

void MapFitPanel::writeClick()
{
    const CorrectionMap current = m_page.correctionMap();
    MapFitFlow::Refusal why = MapFitFlow::Refusal::None;
    if (const std::optional<CorrectionMap> map = m_flow.accept(current, linkState(), &why)) {
        writeMap(*map, QStringLiteral("map.fit.written"));
        showProposal();
        return;
    }
    switch (why) {
    case MapFitFlow::Refusal::Offline:
        say(text(QStringLiteral("map.fit.not_sent_offline")));
        break;
    case MapFitFlow::Refusal::Calibrating:
        say(text(QStringLiteral("map.fit.not_sent_calibrating")));
        break;
    case MapFitFlow::Refusal::Busy:
        say(text(QStringLiteral("map.fit.not_sent_busy")));
        break;
    default:
        break;
    }
}

void MapFitPanel::rejectClick()
{
    m_flow.reject();
    showProposal();
}

void MapFitPanel::undoClick()
{
    MapFitFlow::Refusal why = MapFitFlow::Refusal::None;
    if (const std::optional<CorrectionMap> map = m_flow.undo(linkState(), &why)) {
        writeMap(*map, QStringLiteral("map.fit.undone"));
        showProposal();
        return;
    }
    if (why == MapFitFlow::Refusal::Offline)
        say(text(QStringLiteral("map.fit.not_sent_offline")));
    else if (why == MapFitFlow::Refusal::Calibrating)
        say(text(QStringLiteral("map.fit.not_sent_calibrating")));
    else if (why == MapFitFlow::Refusal::Busy)
        say(text(QStringLiteral("map.fit.not_sent_busy")));
}

// As the arrows write a map: the map write and its 21-byte follow-up with
// the map editor's retry budget; the chart shows the new map at once.
void MapFitPanel::writeMap(const CorrectionMap &map, const QString &noticeKey)
{
    m_page.showCorrectionMap(map);
    m_link.queue(MapPage::MapRetries, map.writeCommands());
    say(text(noticeKey));
}

void MapFitPanel::showProposal()
{
    QList<QPointF> points;
    if (m_flow.hasProposal()) {
        const CorrectionMap &p = m_flow.lastResult().proposal;
        points.reserve(CorrectionMap::Points);
        for (int k = 1; k <= CorrectionMap::Points; ++k)
            points.append(QPointF(CorrectionMap::timeOf(k), p.value(k) / 100.0));
    }
    m_series->replace(points);
    m_summary->setText(summaryText());
    updateButtons();
}

QString MapFitPanel::summaryText() const
{
    if (!m_flow.hasProposal())
        return QString();
    const MapFit::Result &r = m_flow.lastResult();
    QString s = text(QStringLiteral("map.fit.summary"))
                    .arg(number(r.fromMs, 1), number(r.toMs, 1), QStringLiteral("+") + number(r.largestRisePct, 1),
                         QStringLiteral("−") + number(r.largestFallPct, 1))
                    .arg(r.changedPoints);
    if (r.capHit)
        s += text(QStringLiteral("map.fit.capped"));
    if (r.boundHit)
        s += text(QStringLiteral("map.fit.bounded"));
    return s;
}

void MapFitPanel::updateButtons()
{
    m_write->setVisible(m_flow.hasProposal());
    m_reject->setVisible(m_flow.hasProposal());
    m_undo->setVisible(m_flow.canUndo());
}

void MapFitPanel::retranslate()
{
    const std::pair<QPushButton *, const char *> captions[] = {
        {m_fit, "map.fit.button"}, {m_write, "map.fit.write"}, {m_reject, "map.fit.reject"}, {m_undo, "map.fit.undo"}};
    for (const auto &[button, key] : captions) {
        const QString caption = text(QString::fromLatin1(key));
        button->setText(caption);
        button->setAccessibleName(caption);
    }
    m_summary->setText(summaryText());
}
