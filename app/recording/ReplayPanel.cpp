#include "app/recording/ReplayPanel.h"

#include "app/common/HandlerGuard.h"
#include "app/recording/RecordingUi.h"
#include "app/recording/SessionRecorder.h"
#include "app/common/StatusNotice.h"
#include "app/common/UserMessage.h"
#include "link/LinkInterfaces.h"

#include "link/Session.h"
#include "record/RecordingReader.h"

#include "widgets/TMiniTrend.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace {

// A click on the position bar goes to that place in the recording, as in a
// media player, rather than a page towards it.
class JumpingSliderStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// "01:05 / 12:30": where the replay stands in the recording.
QString positionText(qint64 position, qint64 duration)
{
    return RecordingUi::minutesSeconds(position) + QStringLiteral(" / ") + RecordingUi::minutesSeconds(duration);
}

const char *const SpeedCaptions[] = {"½×", "1×", "4×", "16×"};

} // namespace

ReplayPanel::ReplayPanel(QWidget *window, QMenu *fileMenu, QMenu *portMenu, Session &session, LinkView &view,
                         Texts texts)
    : QObject(window), m_window(window), m_portMenu(portMenu), m_session(session), m_view(view),
      m_texts(std::move(texts))
{
    m_openItem = RecordingUi::addBeforeFirstSeparator(fileMenu, window, QStringLiteral("Odtwarzanie1"));
    connect(m_openItem, &QAction::triggered, this, [this] { openClicked(); });

    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        HandlerGuard::run(m_window, [this] {
            if (m_clock)
                m_clock->wake();
        });
    });
    m_elapsed.start();
    buildBar(window);
    retranslate();
}

ReplayPanel::~ReplayPanel()
{
    m_timer.stop();
}

void ReplayPanel::buildBar(QWidget *window)
{
    m_bar = new QFrame(window);
    m_bar->setObjectName(QStringLiteral("Replay_panel"));
    m_bar->setFrameShape(QFrame::StyledPanel);
    // A tint of its own, so a replay is never taken for a live link.
    m_bar->setAutoFillBackground(true);
    QPalette tint = m_bar->palette();
    tint.setColor(QPalette::Window, QColor(0xFF, 0xF1, 0xC8));
    m_bar->setPalette(tint);
    auto *row = new QHBoxLayout(m_bar);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(6);

    m_file = new QLabel(m_bar);
    m_file->setObjectName(QStringLiteral("Replay_file"));
    QFont bold = m_file->font();
    bold.setBold(true);
    m_file->setFont(bold);

    m_play = new QToolButton(m_bar);
    m_play->setObjectName(QStringLiteral("Replay_play"));
    m_play->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_play->setMinimumWidth(110);
    connect(m_play, &QToolButton::clicked, this, [this] { HandlerGuard::run(m_window, [this] { playPauseClicked(); }); });

    m_speed = new QComboBox(m_bar);
    m_speed->setObjectName(QStringLiteral("Replay_speed"));
    for (const char *caption : SpeedCaptions)
        m_speed->addItem(QString::fromUtf8(caption));
    m_speed->setCurrentIndex(1);
    connect(m_speed, &QComboBox::currentIndexChanged, this,
            [this](int index) { HandlerGuard::run(m_window, [this, index] { speedChosen(index); }); });

    m_slider = new QSlider(Qt::Horizontal, m_bar);
    m_slider->setObjectName(QStringLiteral("Replay_position"));
    auto *jumping = new JumpingSliderStyle;
    jumping->setParent(m_slider);
    m_slider->setStyle(jumping);
    m_slider->setSingleStep(1000);
    m_slider->setPageStep(10000);
    // Dragging only shows the time; the displays follow when it is let go.
    connect(m_slider, &QSlider::sliderMoved, this, [this](int ms) {
        if (m_clock)
            m_time->setText(positionText(ms, m_clock->duration()));
    });
    connect(m_slider, &QSlider::sliderReleased, this, [this] {
        HandlerGuard::run(m_window, [this] {
            if (m_clock)
                m_clock->seek(m_slider->value());
        });
    });
    connect(m_slider, &QSlider::valueChanged, this, [this](int ms) {
        if (m_movingSlider || m_slider->isSliderDown() || !m_clock)
            return;
        HandlerGuard::run(m_window, [this, ms] { m_clock->seek(ms); });
    });

    m_time = new QLabel(m_bar);
    m_time->setObjectName(QStringLiteral("Replay_time"));
    m_time->setMinimumWidth(m_time->fontMetrics().horizontalAdvance(QStringLiteral("000:00 / 000:00")));

    m_end = new QPushButton(m_bar);
    m_end->setObjectName(QStringLiteral("Replay_end"));
    connect(m_end, &QPushButton::clicked, this, [this] { HandlerGuard::run(m_window, [this] { end(); }); });

    // The buttons come before the position bar, which takes what width is
    // left: on a narrow screen (a laptop at 150 %) the window is wider than
    // the screen and scrolls, and what runs off its right edge is the bar.
    row->addWidget(m_file);
    row->addWidget(m_play);
    row->addWidget(m_speed);
    row->addWidget(m_end);
    row->addWidget(m_time);
    row->addWidget(m_slider, 1);

    // Right below the top panel, where the eye already is.
    if (QWidget *top = window->findChild<QWidget *>(QStringLiteral("Panel1Gora"))) {
        if (auto *column = qobject_cast<QBoxLayout *>(top->parentWidget()->layout()))
            column->insertWidget(column->indexOf(top) + 1, m_bar);
    }
    m_bar->setVisible(false);
}

void ReplayPanel::showFileName()
{
    // A recording's name holds its date and time; a longer one is cut in the
    // middle (the whole path is in the tool tip) so that it does not push the
    // bar's buttons off a narrow window.
    const QString full = text("replay.playing_file").arg(QFileInfo(m_path).fileName());
    const QFontMetrics metrics(m_file->font());
    m_file->setText(metrics.elidedText(full, Qt::ElideMiddle, metrics.horizontalAdvance(QLatin1Char('x')) * 30));
}

QString ReplayPanel::text(const char *key) const
{
    const QString k = QString::fromLatin1(key);
    return m_texts ? m_texts(k) : k;
}

void ReplayPanel::retranslate()
{
    m_openItem->setText(text("replay.menu_open"));
    m_end->setText(text("replay.end"));
    m_speed->setToolTip(text("replay.speed"));
    m_speed->setAccessibleName(text("replay.speed"));
    m_slider->setToolTip(text("replay.position"));
    m_slider->setAccessibleName(text("replay.position"));
    if (m_clock)
        showFileName();
    showProgress();
}

void ReplayPanel::refresh()
{
    m_openItem->setEnabled(!m_session.linkActive());
}

void ReplayPanel::openClicked()
{
    HandlerGuard::run(m_window, [this] {
        if (m_session.linkActive()) {
            StatusNotice::show(m_window, text("replay.refused_connected"));
            return;
        }
        QString path;
        if (m_choose) {
            path = m_choose();
        } else {
            QString folder = SessionRecorder::defaultFolder();
            if (!QFileInfo::exists(folder))
                folder.clear();
            path = QFileDialog::getOpenFileName(m_window, text("replay.open_title"), folder,
                                                text("replay.file_filter"));
        }
        if (!path.isEmpty())
            open(path);
    });
}

bool ReplayPanel::open(const QString &path)
{
    if (m_session.linkActive()) {
        StatusNotice::show(m_window, text("replay.refused_connected"));
        return false;
    }
    RecordingError error;
    std::optional<Recording> recording = RecordingReader::read(path, &error);
    if (!recording) {
        UserMessage::show(m_window, recordingErrorText(path, error));
        return false;
    }
    if (m_clock)
        end();

    m_recording = std::move(*recording);
    m_keptSettings = m_session.storedSettings();
    m_clock = std::make_unique<ReplayClock>(m_recording.entries, static_cast<ReplayTimer &>(*this));
    m_shownSettings.clear();
    m_gaps = linkGapsOf(m_recording.entries);
    m_clock->setSink([this](const RecordEntry &entry) {
        noteSettingsChange(entry);
        apply(entry);
    });
    m_clock->setRebuild([this](const QVector<RecordEntry> &entries) {
        // Before the first answer nothing had been received: the displays
        // rest, as before a connect, instead of keeping a later state.
        if (std::none_of(entries.cbegin(), entries.cend(),
                         [](const RecordEntry &e) { return e.kind == RecordKind::Answer; }))
            restDisplays();
        for (const RecordEntry &entry : entries)
            apply(entry);
    });
    m_clock->setProgressHook([this] { showProgress(); });
    m_clock->setEndedHook([this] {
        showProgress();
        scopeFollowsReplay();
    });
    m_clock->setSpeed(AllReplaySpeeds[std::clamp(m_speed->currentIndex(), 0, 3)]);

    holdConnecting(true);
    m_path = path;
    showFileName();
    m_file->setToolTip(QDir::toNativeSeparators(path));
    {
        const QSignalBlocker block(m_slider);
        m_slider->setRange(0, int(std::min<qint64>(m_clock->duration(), INT_MAX)));
        m_slider->setValue(0);
    }
    m_shownSecond = -1;
    m_bar->setVisible(true);
    if (m_recording.truncatedTail)
        StatusNotice::show(m_window, text("replay.truncated"));
    m_clock->play();
    scopeFollowsReplay();
    return true;
}

void ReplayPanel::scopeFollowsReplay()
{
    auto *scope = m_window ? m_window->findChild<TMiniTrend *>(QStringLiteral("Oscyloskop")) : nullptr;
    if (!scope)
        return;
    if (!m_clock) {
        scope->SetTimeRate(1.0);
        scope->SetClock({});
        scope->SetFlow(true);
        return;
    }
    scope->SetTimeRate(replayFactor(m_clock->speed()));
    const QDateTime started = m_recording.header.startedUtc.isValid() ? m_recording.header.startedUtc.toLocalTime()
                                                                      : QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    scope->SetClock([panel = QPointer<ReplayPanel>(this), started] {
        const qint64 at = panel && panel->m_clock ? panel->m_clock->position() : 0;
        return started.addMSecs(at).time();
    });
    scope->SetFlow(m_clock->playing() && !m_clock->atEnd());
}

void ReplayPanel::apply(const RecordEntry &entry)
{
    switch (entry.kind) {
    case RecordKind::Settings:
        // A block shorter than the controller's is no settings block (the
        // controls would read past its end); the link drops it too.
        if (entry.bytes.size() < Session::MinimumSettingsSize)
            break;
        // The settings controls read the block the session keeps, as after
        // a handshake; the session's own block comes back at the end.
        m_session.editableStoredSettings() = entry.bytes;
        m_view.applySettingsFrame(entry.bytes);
        m_shownSettings = entry.bytes;
        break;
    case RecordKind::Answer:
        m_view.applyLiveFrame(entry.bytes);
        break;
    case RecordKind::Command:
        // A wire log only: nothing is sent during a replay.
        break;
    }
}

void ReplayPanel::noteSettingsChange(const RecordEntry &entry)
{
    if (entry.kind != RecordKind::Settings || entry.bytes.size() < Session::MinimumSettingsSize
        || m_shownSettings.isEmpty() || entry.bytes == m_shownSettings)
        return;
    const QString at = RecordingUi::minutesSeconds(entry.ms);
    const QString version = Session::versionText(entry.bytes);
    StatusNotice::show(m_window, version != Session::versionText(m_shownSettings)
                                     ? text("replay.firmware_changed").arg(at, version)
                                     : text("replay.settings_changed").arg(at));
}

void ReplayPanel::showLinkGap(qint64 position)
{
    const std::optional<LinkGap> gap = m_clock ? linkGapAt(m_gaps, position) : std::nullopt;
    if (gap.has_value() == m_inGap)
        return;
    m_inGap = gap.has_value();
    m_view.setLinkPanelsGrey(m_inGap);
    if (gap)
        StatusNotice::show(m_window, text("replay.link_gap")
                                         .arg(RecordingUi::minutesSeconds(gap->fromMs),
                                              RecordingUi::minutesSeconds(gap->toMs)));
}

void ReplayPanel::playPauseClicked()
{
    if (!m_clock)
        return;
    if (m_clock->playing())
        m_clock->pause();
    else
        m_clock->play();
    showProgress();
    scopeFollowsReplay();
}

void ReplayPanel::speedChosen(int index)
{
    if (m_clock && index >= 0 && index < 4)
        m_clock->setSpeed(AllReplaySpeeds[index]);
    scopeFollowsReplay();
}

void ReplayPanel::showProgress()
{
    const bool playing = m_clock && m_clock->playing();
    m_play->setText(text(playing ? "replay.pause" : "replay.play"));
    m_play->setIcon(m_window->style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    if (!m_clock) {
        if (m_positionListener)
            m_positionListener(-1);
        m_time->clear();
        return;
    }
    const qint64 position = m_clock->position();
    showLinkGap(position);
    if (m_positionListener)
        m_positionListener(position);
    if (!m_slider->isSliderDown()) {
        m_movingSlider = true;
        m_slider->setValue(int(std::min<qint64>(position, INT_MAX)));
        m_movingSlider = false;
    }
    // The caption changes once a second of the recording.
    if (position / 1000 != m_shownSecond || !playing) {
        m_shownSecond = position / 1000;
        m_time->setText(positionText(position, m_clock->duration()));
    }
}

void ReplayPanel::end()
{
    if (!m_clock)
        return;
    m_timer.stop();
    m_clock.reset();
    showLinkGap(-1);
    m_gaps.clear();
    m_recording = {};
    m_path.clear();
    restDisplays();
    m_session.editableStoredSettings() = m_keptSettings;
    m_keptSettings.clear();
    m_bar->setVisible(false);
    holdConnecting(false);
    showProgress();
    scopeFollowsReplay();
}

void ReplayPanel::restDisplays()
{
    // The rest look of a disconnect: no answer, no faults, LEDs off.
    m_view.applyLiveFrame(QByteArray(Session::LiveRestBytes, '\0'));
    m_view.setErrorLedVisible(false);
    m_view.setReserveLedsFlashing(false);
    m_view.resetInjectorLeds();
}

void ReplayPanel::holdConnecting(bool hold)
{
    // Disabled rather than hidden, so the user sees the port is still there.
    // Every item of the port menu connects (a port item, "Połącz"); nothing
    // else disables them, so they all come back enabled.
    if (m_portMenu) {
        m_portMenu->menuAction()->setEnabled(!hold);
        for (QAction *item : m_portMenu->actions())
            item->setEnabled(!hold);
    }
    if (QWidget *sw = m_window->findChild<QWidget *>(QStringLiteral("Polacz_switch")))
        sw->setEnabled(!hold);
}

void ReplayPanel::addBarButton(QWidget *button)
{
    auto *row = static_cast<QHBoxLayout *>(m_bar->layout());
    button->setParent(m_bar);
    row->insertWidget(row->indexOf(m_end), button);
}
