#include "app/settings/SettingsCompareDialog.h"

#include "settings/SettingTexts.h"
#include "settings/SettingsComparison.h"
#include "settings/SettingsDecoder.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

// Point k of the map lies at (k - 1) / 10 + 1 ms.
QLineSeries *mapSeries(const SettingsRecord &r, const QString &name, const QColor &colour)
{
    auto *s = new QLineSeries;
    s->setName(name);
    s->setColor(colour);
    for (int k = 0; k < SettingsRecord::MapPoints; ++k)
        s->append(k / 10.0 + 1.0, r.correctionMap[size_t(k)] / 100.0);
    return s;
}

QWidget *makeChart(const SettingsRecord &a, const SettingsRecord &b, const QString &titleA, const QString &titleB,
                   const QString &accessibleName, QWidget *parent)
{
    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The window's decimal separator on the axes too.
    chart->setLocalizeNumbers(true);
    chart->setMargins(QMargins(4, 4, 4, 4));
    QLineSeries *sa = mapSeries(a, titleA, QColor(0x00, 0x00, 0xFF));
    QLineSeries *sb = mapSeries(b, titleB, QColor(0xFF, 0x00, 0x00));
    chart->addSeries(sa);
    chart->addSeries(sb);
    auto *time = new QValueAxis;
    time->setRange(1.0, 25.5);
    time->setTickCount(8);
    time->setLabelFormat(QStringLiteral("%.1f"));
    time->setTitleText(QStringLiteral("[ms]"));
    auto *multiplier = new QValueAxis;
    int lo = 255;
    int hi = 0;
    for (const SettingsRecord *r : {&a, &b}) {
        for (int y : r->correctionMap) {
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    }
    multiplier->setRange(std::max(0, lo - 5) / 100.0, (hi + 5) / 100.0);
    multiplier->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(multiplier, Qt::AlignLeft);
    for (QLineSeries *s : {sa, sb}) {
        s->attachAxis(time);
        s->attachAxis(multiplier);
    }
    auto *view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("Compare_chart"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 200);
    view->setAccessibleName(accessibleName);
    return view;
}

} // namespace

SettingsCompareDialog::SettingsCompareDialog(const Side &a, const Side &b, const SettingTexts &texts, bool canLoad,
                                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(texts.programText("compare.title"));
    setAccessibleName(windowTitle());
    auto *layout = new QVBoxLayout(this);

    const std::optional<SettingsRecord> ra = SettingsDecoder::decode(a.block);
    const std::optional<SettingsRecord> rb = SettingsDecoder::decode(b.block);
    const SettingsRecord recordA = ra.value_or(SettingsRecord{});
    const SettingsRecord recordB = rb.value_or(SettingsRecord{});
    const SettingsComparison::Result result = SettingsComparison::compare(recordA, recordB);
    const QList<SettingsComparison::Line> lines = SettingsComparison::lines(result, texts);

    m_identical = new QLabel(texts.programText("compare.identical"), this);
    m_identical->setObjectName(QStringLiteral("Compare_identical"));
    m_identical->setVisible(result.same());
    layout->addWidget(m_identical);

    m_table = new QTableWidget(int(lines.size()), 3, this);
    m_table->setObjectName(QStringLiteral("Compare_table"));
    m_table->setAccessibleName(texts.programText("compare.differences"));
    m_table->setHorizontalHeaderLabels({texts.programText("compare.column_setting"), a.title, b.title});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->setVisible(false);
    for (int i = 0; i < lines.size(); ++i) {
        const SettingsComparison::Line &l = lines[i];
        int column = 0;
        for (const QString &text : {l.name, l.a, l.b}) {
            auto *item = new QTableWidgetItem(text);
            m_table->setItem(i, column++, item);
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setVisible(!result.same());
    layout->addWidget(m_table, 1);

    m_chart = makeChart(recordA, recordB, a.title, b.title, texts.programText("compare.chart").arg(a.title, b.title),
                        this);
    layout->addWidget(m_chart);

    auto *buttons = new QDialogButtonBox(this);
    // Without a controller there is nothing to load into: the button is
    // kept out of the box (which would show it again).
    m_load = new QPushButton(texts.programText("compare.load"), this);
    m_load->setObjectName(QStringLiteral("Compare_load"));
    m_load->setAutoDefault(false);
    if (canLoad)
        buttons->addButton(m_load, QDialogButtonBox::AcceptRole);
    else
        m_load->hide();
    m_close = buttons->addButton(texts.programText("compare.close"), QDialogButtonBox::RejectRole);
    m_close->setObjectName(QStringLiteral("Compare_close"));
    m_close->setDefault(true);
    layout->addWidget(buttons);
    connect(m_load, &QPushButton::clicked, this, [this] {
        accept();
        if (m_onLoad)
            m_onLoad();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(m_table, m_load);
    setTabOrder(m_load, m_close);
    resize(760, 520);
}
