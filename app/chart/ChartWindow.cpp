#include "app/chart/ChartWindow.h"

#include "app/chart/ChartCanvas.h"
#include "app/chart/ChartPainter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ChartWindow::ChartWindow(ChartTexts texts, Hooks hooks, QWidget *parent)
    : QWidget(parent, Qt::Window), m_texts(std::move(texts)), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("chartWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    const int cylinder = m_hooks.shownCylinder ? m_hooks.shownCylinder() : 1;
    m_layout = ChartLayout::fromText(m_hooks.loadLayout ? m_hooks.loadLayout() : QString(), cylinder);

    m_canvas = new ChartCanvas(this);
    m_canvas->setChartLayout(&m_layout);
    m_canvas->setTexts(&m_texts);

    m_whole = new QPushButton(this);
    m_whole->setObjectName(QStringLiteral("chartWhole"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("chartSaveImage"));
    m_follow = new QCheckBox(this);
    m_follow->setObjectName(QStringLiteral("chartFollowLive"));
    m_follow->setVisible(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("chartStatus"));

    auto *top = new QHBoxLayout;
    top->addWidget(m_whole);
    top->addWidget(m_save);
    top->addWidget(m_follow);
    top->addWidget(m_status, 1);

    m_paneLabel = new QLabel(this);
    m_paneLabel->setObjectName(QStringLiteral("chartPaneLabel"));
    m_paneChoice = new QComboBox(this);
    m_paneChoice->setObjectName(QStringLiteral("chartPaneChoice"));
    m_paneLabel->setBuddy(m_paneChoice);
    m_channelsLabel = new QLabel(this);
    m_channelsLabel->setObjectName(QStringLiteral("chartChannelsLabel"));
    m_channels = new QListWidget(this);
    m_channels->setObjectName(QStringLiteral("chartChannels"));
    m_channelsLabel->setBuddy(m_channels);
    m_addPane = new QPushButton(this);
    m_addPane->setObjectName(QStringLiteral("chartAddPane"));
    m_removePane = new QPushButton(this);
    m_removePane->setObjectName(QStringLiteral("chartRemovePane"));
    m_readoutLabel = new QLabel(this);
    m_readoutLabel->setObjectName(QStringLiteral("chartReadoutLabel"));
    m_readout = new QLabel(this);
    m_readout->setObjectName(QStringLiteral("chartReadout"));
    m_readout->setWordWrap(true);
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_readout->setFocusPolicy(Qt::StrongFocus);
    m_readout->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_readoutLabel->setBuddy(m_readout);

    auto *paneButtons = new QHBoxLayout;
    paneButtons->addWidget(m_addPane);
    paneButtons->addWidget(m_removePane);
    auto *side = new QVBoxLayout;
    side->addWidget(m_paneLabel);
    side->addWidget(m_paneChoice);
    side->addWidget(m_channelsLabel);
    side->addWidget(m_channels, 2);
    side->addLayout(paneButtons);
    side->addWidget(m_readoutLabel);
    side->addWidget(m_readout, 3);
    auto *sideBox = new QWidget(this);
    sideBox->setObjectName(QStringLiteral("chartSidePanel"));
    sideBox->setLayout(side);
    sideBox->setFixedWidth(230);
    side->setContentsMargins(0, 0, 0, 0);

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_canvas, 1);
    middle->addWidget(sideBox);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addLayout(middle, 1);

    setTabOrder(m_whole, m_save);
    setTabOrder(m_save, m_follow);
    setTabOrder(m_follow, m_canvas);
    setTabOrder(m_canvas, m_paneChoice);
    setTabOrder(m_paneChoice, m_channels);
    setTabOrder(m_channels, m_addPane);
    setTabOrder(m_addPane, m_removePane);
    setTabOrder(m_removePane, m_readout);

    connect(m_whole, &QPushButton::clicked, m_canvas, &ChartCanvas::showAll);
    connect(m_save, &QPushButton::clicked, this, [this] { saveImageClicked(); });
    connect(m_follow, &QCheckBox::toggled, m_canvas, &ChartCanvas::setFollowLatest);
    connect(m_paneChoice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_filling)
            choosePane(index);
    });
    connect(m_channels, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) { channelItemChanged(item); });
    connect(m_addPane, &QPushButton::clicked, this, [this] { addPane(); });
    connect(m_removePane, &QPushButton::clicked, this, [this] { removePane(); });
    connect(m_canvas, &ChartCanvas::cursorMoved, this, [this] { showReadout(); });
    connect(m_canvas, &ChartCanvas::viewChanged, this, [this] { m_follow->setChecked(m_canvas->followsLatest()); });
    connect(m_canvas, &ChartCanvas::seekRequested, this, [this](qint64 ms) {
        if (m_hooks.seek)
            m_hooks.seek(ms);
    });

    m_liveRedraw = new QTimer(this);
    m_liveRedraw->setObjectName(QStringLiteral("chartLiveRedraw"));
    m_liveRedraw->setSingleShot(true);
    m_liveRedraw->setInterval(LiveRedrawMs);
    connect(m_liveRedraw, &QTimer::timeout, this, [this] {
        if (m_live)
            m_canvas->dataChanged();
    });

    resize(1200, 700);
    retranslate();
}

QString ChartWindow::text(const char *key) const
{
    return m_texts.text(QString::fromLatin1(key));
}

const ChartData &ChartWindow::data() const
{
    return m_live ? *m_live : m_recordingData;
}

void ChartWindow::showRecording(const Recording &recording, const QString &name)
{
    m_live = nullptr;
    m_name = name;
    m_recordingData = ChartData::fromRecording(recording);
    m_follow->setVisible(false);
    m_canvas->setFollowLatest(false);
    m_canvas->setData(&m_recordingData);
    retranslate();
}

void ChartWindow::showLive(const ChartData *live)
{
    m_live = live;
    m_name.clear();
    m_recordingData.clear();
    m_canvas->setData(live);
    m_follow->setVisible(true);
    m_canvas->setFollowLatest(true);
    retranslate();
}

void ChartWindow::liveChanged()
{
    // Hidden or minimised, nothing is drawn; shown again it catches up.
    if (!m_live || !isVisible() || isMinimized())
        return;
    // Answers are gathered and drawn together, at most once a LiveRedrawMs.
    if (!m_liveRedraw->isActive())
        m_liveRedraw->start();
}

void ChartWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_live && !isMinimized())
        m_canvas->dataChanged();
}

void ChartWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_live)
        m_canvas->dataChanged();
}

void ChartWindow::followReplay(qint64 ms)
{
    if (!m_live)
        m_canvas->setCursorTime(ms, true);
}

void ChartWindow::setTexts(ChartTexts texts)
{
    m_texts = std::move(texts);
    m_canvas->setTexts(&m_texts);
    retranslate();
}

void ChartWindow::retranslate()
{
    setWindowTitle(m_live || m_name.isEmpty() ? text("chart.live_title") : text("chart.title").arg(m_name));
    m_whole->setText(text("chart.whole"));
    m_save->setText(text("chart.save_image"));
    m_follow->setText(text("chart.follow_live"));
    m_paneLabel->setText(text("chart.pane_choice"));
    m_paneChoice->setAccessibleName(text("chart.pane_choice"));
    m_channelsLabel->setText(text("chart.channels"));
    m_channels->setAccessibleName(text("chart.channels"));
    m_addPane->setText(text("chart.add_pane"));
    m_removePane->setText(text("chart.remove_pane"));
    m_readoutLabel->setText(text("chart.readout"));
    m_readout->setAccessibleName(text("chart.readout"));
    m_canvas->setAccessibleName(text("chart.canvas"));
    m_canvas->setToolTip(text("chart.canvas_help"));
    fillPaneChoice();
    fillChannelList();
    showReadout();
    m_canvas->update();
}

void ChartWindow::fillPaneChoice()
{
    m_filling = true;
    m_paneChoice->clear();
    for (int i = 0; i < m_layout.panes.size(); ++i)
        m_paneChoice->addItem(text("chart.pane").arg(i + 1));
    m_pane = std::clamp(m_pane, 0, int(m_layout.panes.size()) - 1);
    m_paneChoice->setCurrentIndex(m_pane);
    m_removePane->setEnabled(m_layout.panes.size() > 1);
    m_filling = false;
}

void ChartWindow::fillChannelList()
{
    m_filling = true;
    m_channels->clear();
    const QVector<ChartChannel> &channels = ChartChannel::all();
    for (int c = 0; c < channels.size(); ++c) {
        QString label = m_texts.label(c);
        const QString unit = m_texts.unit(channels[c].unit);
        if (!unit.isEmpty())
            label += QStringLiteral(" [%1]").arg(unit);
        auto *item = new QListWidgetItem(label, m_channels);
        item->setData(Qt::UserRole, channels[c].key);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_layout.contains(m_pane, channels[c].key) ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void ChartWindow::channelItemChanged(QListWidgetItem *item)
{
    if (m_filling)
        return;
    setChannelShown(item->data(Qt::UserRole).toString(), item->checkState() == Qt::Checked);
}

void ChartWindow::choosePane(int pane)
{
    if (pane < 0 || pane >= m_layout.panes.size())
        return;
    m_pane = pane;
    if (m_paneChoice->currentIndex() != pane) {
        m_filling = true;
        m_paneChoice->setCurrentIndex(pane);
        m_filling = false;
    }
    fillChannelList();
}

void ChartWindow::setChannelShown(const QString &key, bool shown)
{
    const bool changed = shown ? m_layout.add(m_pane, key) : m_layout.remove(m_pane, key);
    if (changed)
        layoutChanged();
}

void ChartWindow::addPane()
{
    m_layout.addPane();
    m_pane = int(m_layout.panes.size()) - 1;
    fillPaneChoice();
    fillChannelList();
    m_canvas->update();
}

void ChartWindow::removePane()
{
    if (m_layout.removePane(m_pane)) {
        m_pane = std::min(m_pane, int(m_layout.panes.size()) - 1);
        fillPaneChoice();
        fillChannelList();
        layoutChanged();
    }
}

void ChartWindow::layoutChanged()
{
    if (m_hooks.saveLayout)
        m_hooks.saveLayout(m_layout.toText());
    m_canvas->update();
    showReadout();
    // Keep the list in step when the change came from elsewhere than the list.
    for (int i = 0; i < m_channels->count(); ++i) {
        QListWidgetItem *item = m_channels->item(i);
        const Qt::CheckState want =
            m_layout.contains(m_pane, item->data(Qt::UserRole).toString()) ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != want) {
            m_filling = true;
            item->setCheckState(want);
            m_filling = false;
        }
    }
}

void ChartWindow::showReadout()
{
    const QStringList lines = m_canvas->readout();
    m_readout->setText(lines.join(QLatin1Char('\n')));
    m_canvas->setAccessibleDescription(lines.isEmpty() ? text("chart.canvas_help") : lines.join(QStringLiteral("; ")));
}

bool ChartWindow::saveImage(const QString &path)
{
    const ChartPainter::View view{&data(), &m_layout, &m_canvas->axis(), m_canvas->cursorTime(), &m_texts};
    const QImage image = ChartPainter::image(view, m_canvas->size(), m_canvas->devicePixelRatioF(), m_canvas->font());
    const bool ok = image.save(path, "PNG");
    m_status->setText((ok ? text("chart.image_saved") : text("chart.image_failed")).arg(QDir::toNativeSeparators(path)));
    return ok;
}

void ChartWindow::saveImageClicked()
{
    const QString suggested = (m_name.isEmpty() ? QStringLiteral("ZENU-chart") : QFileInfo(m_name).completeBaseName())
                              + QStringLiteral(".png");
    QString path;
    if (m_hooks.chooseImageFile)
        path = m_hooks.chooseImageFile(suggested);
    else
        path = QFileDialog::getSaveFileName(this, text("chart.save_image"), suggested, text("chart.image_filter"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    saveImage(path);
}
