#include "app/calibration/CalibrationPage.h"

#include "app/common/HandlerGuard.h"
#include "app/common/UserMessage.h"
#include "app/common/WindowShell.h"

#include "i18n/LanguageTable.h"
#include "link/LinkInterfaces.h"

#include "link/Session.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TBinGControl.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

constexpr int GasMaskByte = 20;
constexpr int FirstMapByte = 65; // point k at block byte 65 + k

} // namespace

// `Adaptacja_Timer` as the procedure drives it.
class CalibrationPage::StepTimer : public LinkTimer
{
public:
    explicit StepTimer(QTimer &timer) : m_timer(timer) {}
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    void setInterval(int ms) override { m_timer.setInterval(ms); } // restarts a running wait
    int interval() const override { return m_timer.interval(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer &m_timer;
};

CalibrationPage::CalibrationPage(WindowShell &window, Session &session, LinkView &link, QTimer &stepTimer,
                                 int &calibrationStep, FuelRequest fuelRequest)
    : m_window(window), m_session(session), m_link(link), m_fuelRequest(std::move(fuelRequest))
{
    m_page = window.component(QStringLiteral("TabSheet3"));
    m_start = window.component<QPushButton>(QStringLiteral("Button_start"));
    m_stop = window.component<QPushButton>(QStringLiteral("Button_stop"));
    m_progress = window.component<QProgressBar>(QStringLiteral("Adaptacja_progres"));
    m_info = window.component<QLabel>(QStringLiteral("Adaptacja_info"));
    m_timer = std::make_unique<StepTimer>(stepTimer);
    m_procedure = std::make_unique<CalibrationProcedure>(*this, *m_timer, calibrationStep);
    m_mapPoint = [this](int k) {
        const QByteArray &block = m_session.storedSettings();
        const int at = FirstMapByte + k;
        return at < block.size() ? int(uint8_t(block[at])) : 0;
    };

    connect(m_start, &QPushButton::clicked, this, &CalibrationPage::Button_startClick);
    connect(m_stop, &QPushButton::clicked, this, &CalibrationPage::Button_stopClick);
    connect(&stepTimer, &QTimer::timeout, this, &CalibrationPage::Adaptacja_TimerTimer);
    connect(window.pages(), &QTabWidget::currentChanged, this, [this](int index) {
        // Whatever tries to change the page during a run (a shortcut, the
        // fault banner) is undone.
        if (m_locked && m_window.pages()->widget(index) != m_page) {
            m_window.pages()->setCurrentWidget(m_page);
            return;
        }
        if (m_window.pages()->widget(index) == m_page)
            TabSheet3Show();
    });
}

CalibrationPage::~CalibrationPage() = default;

template <class Handler>
void CalibrationPage::guarded(Handler &&handler)
{
    HandlerGuard::run(m_window.root(), std::forward<Handler>(handler));
}

// --- handlers ---------------------------------------------------------------

void CalibrationPage::Button_startClick()
{
    guarded([this] { m_procedure->Button_startClick(); });
}

void CalibrationPage::Button_stopClick()
{
    guarded([this] { m_procedure->Button_stopClick(CalibrationProcedure::StopSender::Button); });
}

void CalibrationPage::Adaptacja_TimerTimer()
{
    guarded([this] { m_procedure->Adaptacja_TimerTimer(); });
}

void CalibrationPage::TabSheet3Show()
{
    setInfoText(QStringLiteral(" "));
}

void CalibrationPage::StoreCalibrationSample(int position, const QByteArray &frame)
{
    m_procedure->StoreCalibrationSample(position, frame);
}

void CalibrationPage::linkEnded()
{
    m_procedure->linkLost();
}

// --- what the procedure reads ------------------------------------------------

bool CalibrationPage::faultIndicatorVisible() const
{
    // Whether the banner is set visible; the window itself may be hidden.
    const QWidget *banner = m_window.component(QStringLiteral("Error_Led"));
    return banner && !banner->isHidden();
}

double CalibrationPage::engineSpeed() const
{
    const auto *rpm = m_window.component<TAnalogGControl>(QStringLiteral("RPM_Edit"));
    return rpm ? rpm->Value() : 0.0;
}

double CalibrationPage::reducerTemperature() const
{
    const auto *t = m_window.component<TAnalogGControl>(QStringLiteral("TempWoda"));
    return t ? t->Value() : 0.0;
}

uint8_t CalibrationPage::litGasMask() const
{
    uint8_t mask = 0;
    for (int k = 0; k < 8; ++k) {
        const auto *led = m_window.component<TBinGControl>(QStringLiteral("Cyl_%1_led").arg(k));
        if (led && led->Checked())
            mask |= uint8_t(1u << k);
    }
    return mask;
}

uint8_t CalibrationPage::storedGasMask() const
{
    const QByteArray &block = m_session.storedSettings();
    return block.size() > GasMaskByte ? uint8_t(block[GasMaskByte]) : 0;
}

int CalibrationPage::correctionMapPoint(int k) const
{
    return m_mapPoint(k);
}

QString CalibrationPage::messageText(int row) const
{
    const LanguageTable *texts = m_window.languageTable();
    return texts ? texts->message(row) : QString();
}

QString CalibrationPage::programText(const QString &key) const
{
    const LanguageTable *texts = m_window.languageTable();
    return texts ? texts->programText(key) : key;
}

// --- what the procedure shows -------------------------------------------------

void CalibrationPage::showMessage(const QString &text)
{
    UserMessage::show(m_window.root(), text);
}

bool CalibrationPage::askYesNo(const QString &text)
{
    return m_link.askYesNo(text);
}

void CalibrationPage::setInfoText(const QString &text)
{
    m_caption = text;
    // The caption keeps its CR LF line breaks; a label breaks on LF alone.
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    m_info->setText(shown);
}

void CalibrationPage::startProgress()
{
    m_progress->setEnabled(true);
    m_progress->setRange(0, CalibrationProcedure::ProgressMaximum);
    m_progress->setValue(0);
    m_progress->repaint();
}

void CalibrationPage::setProgressPosition(int position)
{
    m_progress->setValue(position);
}

void CalibrationPage::stopProgress()
{
    m_progress->setValue(0);
    m_progress->setEnabled(false);
}

void CalibrationPage::setRunLock(bool locked)
{
    // The top panel is out of reach but for the fuel switch and the cylinder
    // LEDs, which keep showing the state during a run; their clicks are
    // refused by the settings handlers, so none replaces a request of the run.
    if (locked) {
        m_topPanelEnabled.clear();
        for (QWidget *part : m_window.topPanel()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            const QString name = part->objectName();
            if (name == QLatin1String("Zaplon_panel") || name == QLatin1String("aaa"))
                continue;
            m_topPanelEnabled.emplace_back(part, part->isEnabled());
            part->setEnabled(false);
        }
    } else {
        for (const auto &[part, enabled] : m_topPanelEnabled) {
            if (part)
                part->setEnabled(enabled);
        }
        m_topPanelEnabled.clear();
    }
    for (QMenu *menu : {m_window.fileMenu(), m_window.portMenu(), m_window.languageMenu()})
        menu->menuAction()->setEnabled(!locked);
    m_start->setEnabled(!locked);
    m_locked = locked;

    // Pages other than this one cannot be chosen during a run; afterwards
    // each is as it was (a page disabled before stays disabled).
    QTabWidget *tabs = m_window.pages();
    if (locked) {
        m_pagesEnabled.assign(size_t(tabs->count()), true);
        for (int i = 0; i < tabs->count(); ++i) {
            m_pagesEnabled[size_t(i)] = tabs->isTabEnabled(i);
            if (tabs->widget(i) != m_page)
                tabs->setTabEnabled(i, false);
        }
    } else if (!m_pagesEnabled.empty()) {
        for (int i = 0; i < tabs->count() && size_t(i) < m_pagesEnabled.size(); ++i)
            tabs->setTabEnabled(i, m_pagesEnabled[size_t(i)]);
        m_pagesEnabled.clear();
    }
}

// --- the link ---------------------------------------------------------------

void CalibrationPage::queueCommands(int retries, const CommandBodies::Group &bodies)
{
    m_session.setCommandRetries(retries);
    m_session.QueueCommand(bodies);
}

void CalibrationPage::requestPetrolAsStart(int calibrationStep)
{
    // The fuel switch's own request, with START as its sender.
    if (m_fuelRequest)
        m_fuelRequest(calibrationStep);
}

void CalibrationPage::showWindowReady()
{
    m_link.setLinkPanelsGrey(false);
    m_link.setWindowEnabled(true);
}

void CalibrationPage::setSlowPolling(bool slow)
{
    if (slow)
        m_session.raisePollInterval();
    else
        // Also the look of a long exchange, which a run ending here has already restored.
        m_session.endLongExchange();
}
