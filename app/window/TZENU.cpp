#include "app/window/TZENU.h"

#include "app/window/QtTranslations.h"

#include "app/calibration/CalibrationMapTabs.h"
#include "app/calibration/CalibrationPage.h"
#include "app/settings/DataFileMenu.h"
#include "app/window/InfoTabs.h"
#include "app/common/InstrumentFactory.h"
#include "app/window/LanguageView.h"
#include "app/settings/LevelSensorGroup.h"
#include "app/live/LiveDisplay.h"
#include "app/calibration/MapFitPanel.h"
#include "app/calibration/MapPage.h"
#include "app/live/MonitoringTabs.h"
#include "app/settings/PetrolGasTabs.h"
#include "app/window/PortMenu.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/SessionRecorder.h"
#include "app/recording/ReplayPanel.h"
#include "app/chart/ChartRoom.h"
#include "app/common/ScrollingPage.h"
#include "app/settings/SettingsFileMenu.h"
#include "app/settings/SettingsPanel.h"
#include "app/common/StatusNotice.h"
#include "app/settings/SwitchTab.h"
#include "app/live/TopPanel.h"
#include "app/common/UserMessage.h"
#include "app/window/LinkRideOut.h"
#include "app/window/WindowLinkView.h"

#include "link/ESerialPort.h"
#include "link/RegistryKey.h"
#include "link/SerialFrameWriter.h"
#include "link/Session.h"
#include "link/SessionLanguageStore.h"
#include "link/SessionPort.h"
#include "link/SessionTimer.h"
#include "link/TSerialPort.h"
#include "record/Recording.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TToggleSwitch.h"

#include "i18n/LanguageKey.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kSettingsPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU");
const QString kLanguageKeyPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang");
const QString kLanguageValue = QStringLiteral("CurLang");

// The window's column. A wrapped label somewhere below makes a box layout
// ask for its preferred height at a width, which a scroll area then takes
// as the least height and scrolls for; the column's least height is its
// children's least heights, as it was before the scroll area held it.
class WindowColumn : public QVBoxLayout
{
public:
    using QVBoxLayout::QVBoxLayout;
    bool hasHeightForWidth() const override { return false; }
};

QTimer *makeTimer(QObject *owner, const char *name, int intervalMs)
{
    auto *t = new QTimer(owner);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    return t;
}

} // namespace

TZENU::TZENU(PortLister portLister, InfoLinks::Opener linkOpener, QWidget *parent)
    : QMainWindow(parent), m_portLister(std::move(portLister))
{
    if (!m_portLister)
        m_portLister = [] { return TCustomSerialPort::listPorts(); };

    buildWindow();
    m_links = std::make_unique<InfoLinks>(m_webLabel, m_mailLabel, std::move(linkOpener));
    guarded([this] {
        m_texts.emplace(LanguageTable::builtIn());
        // File messages of recordings speak the window's language.
        setRecordingTexts(&*m_texts);
        m_links->setTargets(m_texts->message(LanguageTable::FirstLinkRow), m_texts->message(LanguageTable::LastLinkRow));
    });
    buildLink();
    m_live = std::make_unique<LiveDisplay>(
        this, languageTable(),
        [this](int retries, const QByteArray &body) {
            m_session->setCommandRetries(retries);
            m_session->QueueCommand(body);
        },
        [this] { return CalibrationStep; });
    buildSettings();
    buildMapPage();
    m_calibration = std::make_unique<CalibrationPage>(
        *this, *m_session, *m_linkView, *Adaptacja_Timer, CalibrationStep,
        [this](int calibrationStep) { m_settings->requestFuelForCalibration(calibrationStep); });
    m_live->setCalibrationSampleHook(
        [this](int position, const QByteArray &frame) { m_calibration->StoreCalibrationSample(position, frame); });
    m_linkView->setLinkEndedHook([this] {
        m_calibration->linkEnded();
        if (m_rideOut)
            m_rideOut->linkEnding(m_recording->recorder().recording() ? m_recording->recorder().path() : QString());
        m_recording->linkEnded();
        m_settings->linkEnded();
        if (m_dataFile)
            m_dataFile->linkEnded();
    });
    // Riding out a bad line: a lost link stops a calibration as an ending
    // does; a recording goes on in the same file.
    m_rideOut = std::make_unique<LinkRideOut>(LinkRideOut::Parts{
        *this, *m_session, [this](const QString &key) { return programText(key); },
        [this] { return ComPort1->port(); }, [this] { m_calibration->linkEnded(); }});
    m_linkView->setRideOut(m_rideOut.get());
    m_linkView->setLinkSettledHook([this] { m_recording->linkSettled(); });
    // The calibration reads the map the chart shows, edits included.
    m_calibration->setMapPointSource([this](int k) { return m_mapPage->correctionMap().value(k); });
    buildLevelSensorAndDataFile();
    m_settingsFile = std::make_unique<SettingsFileMenu>(
        SettingsFileMenu::Window{*this, *m_session, *m_settings, *m_dataFile,
                                 [this](int k) { return m_mapPage->correctionMap().value(k); }},
        this);
    m_recording->attach({*this, *m_session, *m_linkView, *ComPort1,
                         [this](RecordingRoom::AnswerTap tap) { m_linkView->addAnswerTap(std::move(tap)); }});
    buildChart();
    connectEvents();
    connectLinkEvents();
    FormCreate();
}

TZENU::~TZENU()
{
    if (m_texts && recordingTexts() == &*m_texts)
        setRecordingTexts(nullptr);
    // The session goes before the components it reaches: nothing may call
    // into it from here on.
    ComPort1->disconnect(this);
    Timer_Czekaj_na_odczyt->disconnect(this);
    m_pollTimer->stop();
    Timer_Czekaj_na_odczyt->stop();
    if (auto *sw = component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        sw->disconnect(this);
}

void TZENU::buildWindow()
{
    setObjectName(QStringLiteral("ZENU"));
    setWindowTitle(QStringLiteral(" ver. 1.03"));

    m_menu = MainMenu::build(this);
    Pliki1 = m_menu.file;
    PortCOM = m_menu.ports;
    Jazyk = m_menu.language;
    polacz = PortCOM->findChild<QAction *>(QStringLiteral("polacz"));
    rozlacz1 = PortCOM->findChild<QAction *>(QStringLiteral("rozlacz1"));

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    auto *column = new WindowColumn(central);
    column->setContentsMargins(4, 4, 4, 0);
    column->setSpacing(4);
    m_settingsView.top = TopPanel::build(central);
    Panel1Gora = m_settingsView.top.panel;
    column->addWidget(Panel1Gora);

    tab_control = new QTabWidget(central);
    tab_control->setObjectName(QStringLiteral("tab_control"));
    tab_control->setDocumentMode(true);
    m_settingsView.petrol = PetrolGasTabs::petrol(tab_control);
    m_settingsView.gas = PetrolGasTabs::gas(tab_control);
    const std::pair<QWidget *, const char *> pages[] = {
        {m_settingsView.petrol.page, "Panel Petrol"},
        {m_settingsView.gas.page, "Panel Gaz"},
        {CalibrationMapTabs::calibration(tab_control), "Adaptacja"},
        {CalibrationMapTabs::map(tab_control), "Mapa"},
        {MonitoringTabs::faults(tab_control), "Error"},
        {MonitoringTabs::scope(tab_control), "Oscyloskop"},
        {MonitoringTabs::diagnostics(tab_control), "Diagnostyka"},
        {(m_settingsView.switching = SwitchTab::build(tab_control)).page, "Przełącznik"},
        {InfoTabs::obd(tab_control), "OBDII"},
        {InfoTabs::help(tab_control), "Help"},
        {InfoTabs::info(tab_control), "Info"},
    };
    for (const auto &[page, caption] : pages) {
        ScrollingPage::wrapContents(page);
        tab_control->addTab(page, QString::fromUtf8(caption));
    }
    tab_control->setTabEnabled(tab_control->indexOf(component(QStringLiteral("TabSheet10"))), false);
    tab_control->setCurrentIndex(0);
    column->addWidget(tab_control, 1);
    // On a screen smaller than the window's least size (a laptop at 150 %) the
    // whole window scrolls instead of running off the screen; on any larger
    // one the scroll area is as big as its contents and shows no bars.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("CentralScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    setCentralWidget(scroll);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    m_statusPanel = new QLabel(QStringLiteral("ZENU ver."), status);
    m_statusPanel->setObjectName(QStringLiteral("StatusBar1_Panel0"));
    m_statusPanel->setMinimumWidth(220);
    status->addWidget(m_statusPanel);
    setStatusBar(status);

    Timer_Count = makeTimer(this, "Timer_Count", 240);
    Timer_Czekaj_na_odczyt = makeTimer(this, "Timer_Czekaj_na_odczyt", 3000);
    Adaptacja_Timer = makeTimer(this, "Adaptacja_Timer", 1000);

    ComPort1 = new TSerialPort(this);
    ComPort1->setObjectName(QStringLiteral("ComPort1"));
    ComPort1->setPort(QStringLiteral("COM7"));
    ComPort1->setBaudRate(BaudRateChoice::Custom);
    ComPort1->setCustomBaudRate(7200);

    m_settingsView.mapChart = component(QStringLiteral("Chart1"));
    m_settingsView.registeredFaults = component<QPlainTextEdit>(QStringLiteral("Register_errors_memo"));

    RPM_zegar = component(QStringLiteral("RPM_zegar"));
    m_webLabel = component<QLabel>(QStringLiteral("ZENU_Linl_label"));
    m_mailLabel = component<QLabel>(QStringLiteral("Label23"));
    m_infoPanel = component(QStringLiteral("Panel1"));
    fitToScreen();
}

void TZENU::fitToScreen()
{
    // The window's own size unless the screen is smaller (a 1366 x 768 laptop,
    // a large scaling factor): then it takes the screen's free area, leaving
    // room for the frame, and the tab pages scroll.
    QScreen *s = screen();
    if (!s)
        return;
    const QRect free = s->availableGeometry();
    const QSize frame(16, 40);
    const QSize wanted(1270, 790);
    const QSize fitted = wanted.boundedTo(free.size() - frame);
    resize(fitted);
    if (fitted != wanted)
        move(free.topLeft());
}

void TZENU::buildLink()
{
    m_sessionPort = std::make_unique<SessionPort>(*ComPort1);
    m_frameWriter = std::make_unique<SerialFrameWriter>(*ComPort1);
    m_recording = std::make_unique<RecordingRoom>(*m_frameWriter);
    m_pollTimer = std::make_unique<SessionTimer>(*Timer_Count);
    m_answerTimer = std::make_unique<SessionTimer>(*Timer_Czekaj_na_odczyt);
    m_languageStore = std::make_unique<SessionLanguageStore>();
    m_linkView = std::make_unique<WindowLinkView>(*this);
    // The rooms are built after the link; the session asks for none before.
    m_linkView->setRooms({[this] {
                              m_settings->ApplySettingsFrame();
                              m_dataFile->settingsApplied();
                              // The controller's block has replaced a file shown offline.
                              if (m_settingsFile)
                                  m_settingsFile->controllerBlockApplied();
                          },
                          [this](const QByteArray &answer) { m_live->applyLiveFrame(answer); },
                          [this] { m_dataFile->Zapis1Click(nullptr); },
                          [this](LinkView::SaveDropped why) { m_dataFile->saveDropped(why); }});
    m_session = std::make_unique<Session>(*m_sessionPort, m_recording->lineWriter(), *m_pollTimer, *m_answerTimer,
                                          *m_linkView, *m_languageStore);
}

void TZENU::buildSettings()
{
    SettingsPanel::Link link;
    link.queue = [this](int retries, const CommandBodies::Group &bodies) {
        m_session->setCommandRetries(retries);
        m_session->QueueCommand(bodies);
    };
    link.connected = [this] { return m_session->acceptsCommands(); };
    link.portOpen = [this] { return ComPort1->connected(); };
    link.storedSettings = [this]() -> const QByteArray & { return m_session->storedSettings(); };
    link.editStoredSettings = [this]() -> QByteArray & { return m_session->editableStoredSettings(); };
    link.calibrationStep = [this] { return CalibrationStep; };
    link.notSent = [this] {
        // Read now, so the note is in the language chosen at this moment.
        if (!m_texts)
            return;
        const bool fileShown = m_settingsFile && m_settingsFile->view().viewing();
        StatusNotice::show(this, m_texts->programText(fileShown ? u"offline.not_editable" : u"settings.not_sent_offline"));
    };
    link.notDuringCalibration = [this] {
        if (m_texts)
            StatusNotice::show(this, m_texts->programText(u"calibration.clicks_locked"));
    };
    m_settings = std::make_unique<SettingsPanel>(m_settingsView, languageTable(), std::move(link), this);
}

void TZENU::buildLevelSensorAndDataFile()
{
    auto texts = [this](const QString &key) { return programText(key); };
    m_level = std::make_unique<LevelSensorGroup>(
        LevelSensorView::find(this),
        [this](const CommandBodies::Group &group) {
            if (!m_session->acceptsCommands()) {
                StatusNotice::show(this, programText(QStringLiteral("level.not_sent_offline")));
                return;
            }
            m_session->setCommandRetries(5);
            m_session->QueueCommand(group);
        },
        [this] { return m_session->storedSettings(); }, texts, this);
    m_dataFile = std::make_unique<DataFileMenu>(this, *m_session, texts);
    m_dataFile->setGasInUse([this] { return m_settings->gasInUse(); });
    connect(component<QAction>(QStringLiteral("Zapis1")), &QAction::triggered, this,
            [this] { m_dataFile->Zapis1Click(component<QAction>(QStringLiteral("Zapis1"))); });
    connect(component<QAction>(QStringLiteral("Odczyt1")), &QAction::triggered, this,
            [this] { m_dataFile->Odczyt1Click(component<QAction>(QStringLiteral("Odczyt1"))); });
}

QString TZENU::programText(const QString &key) const
{
    return m_texts ? m_texts->programText(key) : key;
}

void TZENU::connectLinkEvents()
{
    // The session keeps its own failure boundary; these go straight to it.
    connect(Timer_Count, &QTimer::timeout, this, [this] { m_session->Timer_CountTimer(); });
    connect(Timer_Czekaj_na_odczyt, &QTimer::timeout, this, [this] { m_session->Timer_Czekaj_na_odczytTimer(); });
    m_frameWriter->setFailureHandler([this](const QString &message) { m_session->portFailed(message); });
    connect(ComPort1, &TCustomSerialPort::rxChar, this, [this](int count) { m_session->ComPort1RxChar(count); });
    connect(ComPort1, &TCustomSerialPort::errorRaised, this,
            [this](const QString &message) { m_session->portFailed(message); });
    if (auto *reset = component<QAction>(QStringLiteral("Reset1")))
        connect(reset, &QAction::triggered, this, &TZENU::Reset1Click);
    if (auto *sw = component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        connect(sw, &TBinGControl::OnStatusChanged, this, &TZENU::Polacz_switchStatusChanged);
}

void TZENU::buildMapPage()
{
    MapPage::Link link;
    link.connected = [this] { return !m_session->linkState().isEmpty() && ComPort1->connected(); };
    link.commandPending = [this] { return !m_session->queue().current().isEmpty(); };
    link.queue = [this](int retries, const CommandBodies::Group &commands) {
        m_session->setCommandRetries(retries);
        m_session->QueueCommand(commands);
    };
    link.notice = [this](const QString &key) {
        StatusNotice::show(this, m_texts ? m_texts->programText(key) : key);
    };
    m_mapPage = std::make_unique<MapPage>(component(QStringLiteral("TabSheet4")), std::move(link));
    MapFitPanel::Link fit;
    fit.connected = [this] { return !m_session->linkState().isEmpty() && ComPort1->connected(); };
    fit.calibrating = [this] { return CalibrationStep != -1; };
    fit.commandPending = [this] { return !m_session->queue().current().isEmpty(); };
    fit.queue = [this](int retries, const CommandBodies::Group &commands) {
        m_session->setCommandRetries(retries);
        m_session->QueueCommand(commands);
    };
    fit.notice = [this](const QString &text) { StatusNotice::show(this, text); };
    fit.text = [this](const QString &key) { return m_texts ? m_texts->programText(key) : key; };
    fit.tables = [this]() -> const InjectionTimeTables & { return m_live->timeTables(); };
    m_mapFit = std::make_unique<MapFitPanel>(component(QStringLiteral("TabSheet4")), *m_mapPage, std::move(fit));
    m_settings->setCorrectionMapHook([this](const QByteArray &block) { m_mapPage->loadCorrectionMap(block); });
    // The working point is the petrol time and MAP the top panel shows.
    auto *petrolTime = component<TAnalogGControl>(QStringLiteral("Skala_PB_time"));
    auto *map = component<TAnalogGControl>(QStringLiteral("Slala_P_MAP"));
    m_live->setTimeCurvesHook([this, petrolTime, map](int selector) {
        m_mapPage->UpdateTimeCurves(selector, m_live->timeTables(), petrolTime ? petrolTime->Value() : 0,
                                    map ? map->Value() : 0);
    });
}

void TZENU::connectEvents()
{
    connect(component<QAction>(QStringLiteral("Exit1")), &QAction::triggered, this, &TZENU::Exit1Click);
    for (QAction *item : PortMenu(PortCOM).portItems())
        connect(item, &QAction::triggered, this, [this, item] { zmien_port_COM(item); });
    connect(polacz, &QAction::triggered, this, [this] { polaczClick(polacz); });
    connect(rozlacz1, &QAction::triggered, this, &TZENU::rozlacz1Click);
    // An adapter plugged in after start-up shows up the next time the menu opens.
    connect(PortCOM, &QMenu::aboutToShow, this, [this] { relistPorts(); });

    for (QAction *item : Jazyk->actions())
        connect(item, &QAction::triggered, this, [this, item] { Check_jazyk(item); });
    // The Russian flag only shows that the column exists.
    for (auto *flag : component<QWidget>(QStringLiteral("Panel1"))->findChildren<QToolButton *>())
        if (flag->objectName() != QLatin1String("GRussian"))
            connect(flag, &QToolButton::clicked, this, [this, flag] { LangClick(flag); });

    for (QWidget *w : {static_cast<QWidget *>(m_webLabel), static_cast<QWidget *>(m_mailLabel), m_infoPanel})
        w->installEventFilter(this);
}

void TZENU::guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (const ESerialPort &e) {
        UserMessage::show(this, e.message());
    } catch (const std::exception &e) {
        UserMessage::show(this, QString::fromLocal8Bit(e.what()));
    }
}

QString TZENU::statusPanelText() const
{
    return m_statusPanel->text();
}

void TZENU::setStatusPanelText(const QString &text)
{
    m_statusPanel->setText(text);
}

void TZENU::FormCreate()
{
    guarded([this] {
        // 1. The session starts with nothing queued and nothing received.
        CalibrationStep = -1;

        // 2. The hidden port list box is filled from the system's list.
        auto *portList = component<QComboBox>(QStringLiteral("ComComboBox1"));
        portList->clear();
        portList->addItems(m_portLister());
        QStringList present;
        for (int i = 0; i < portList->count(); ++i)
            present << portList->itemText(i);

        // 3, 4. Only present ports stay in the menu, named as the system names them.
        PortMenu ports(PortCOM);
        ports.captionPresentPorts(present);
        ports.removeAbsentPorts();

        // 5, 6.
        ComPort1->close();
        ComPort1->setPort(ports.firstItemName());

        // 7. May replace the port name and the baud rate choice.
        ComPort1->loadSettings(kSettingsPath);

        // 8.
        ports.checkPortNamed(ComPort1->port());

        // 9. The stored language is chosen as if the user had picked it.
        const std::optional<QString> stored = RegistryKey(kLanguageKeyPath).readString(kLanguageValue);
        m_languageKey = (stored && !stored->isEmpty()) ? *stored : QStringLiteral("PolskiPL");
        for (QAction *item : Jazyk->actions()) {
            if (item->objectName() == m_languageKey && item->isEnabled()) {
                // A store that refuses the key is told by the choice itself.
                chooseLanguage(item);
                break;
            }
        }

        // 10. The idle look of the engine speed dial: no colour sectors.
        InstrumentFactory::setMeterLook(RPM_zegar, 300, 2);
    });
}

void TZENU::zmien_port_COM(QAction *portItem)
{
    guarded([this, portItem] {
        ComPort1->close();
        ComPort1->setPort(portItem->objectName());
        ComPort1->setBaudRate(BaudRateChoice::Custom);
        PortMenu(PortCOM).checkOnly(portItem);
        ComPort1->open();
        polaczClick(polacz);
    });
}

void TZENU::polaczClick(QObject *originator)
{
    m_session->polaczClick(originator == polacz ? Session::ConnectOrigin::PolaczItem
                                                : Session::ConnectOrigin::Retry);
}

void TZENU::rozlacz1Click()
{
    m_session->rozlacz1Click();
}

void TZENU::Reset1Click()
{
    m_session->Reset1Click();
}

void TZENU::Polacz_switchStatusChanged()
{
    auto *sw = component<TToggleSwitch>(QStringLiteral("Polacz_switch"));
    // The link sets the switch itself after a handshake and at a disconnect;
    // only the user's throw connects or disconnects.
    if (sw && sw->ChangedByUser())
        m_session->Polacz_switchStatusChanged(sw->Checked());
}

bool TZENU::viewSettingsFile(const QString &path)
{
    return m_settingsFile->viewFile(path);
}

void TZENU::Exit1Click()
{
    close();
}

void TZENU::FormClose()
{
    // Timers off, port closed, then the disconnect sequence with the store.
    m_session->windowClosing();
}

void TZENU::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TZENU::Check_jazyk(QAction *languageItem)
{
    guarded([this, languageItem] { chooseLanguage(languageItem); });
}

void TZENU::chooseLanguage(QAction *languageItem)
{
    for (QAction *item : Jazyk->actions())
        item->setChecked(false);
    languageItem->setChecked(true);
    m_languageKey = languageItem->objectName();
    // The window takes the language whole before the choice is stored: a
    // store that refuses it costs only the next start's memory of it.
    applyLanguage(m_languageKey);
    try {
        RegistryKey key(kLanguageKeyPath);
        key.writeString(kLanguageValue, m_languageKey);
        key.flush();
    } catch (const std::exception &e) {
        UserMessage::show(this, programText(QStringLiteral("language.not_stored")).arg(QString::fromLocal8Bit(e.what())));
    }
}

void TZENU::LangClick(QObject *flagButton)
{
    // Flag button "G<item>" chooses the language item of the same name.
    const QString itemName = flagButton->objectName().mid(1);
    for (QAction *item : Jazyk->actions()) {
        if (item->objectName() == itemName && item->isEnabled())
            Check_jazyk(item);
    }
}

void TZENU::buildChart()
{
    ChartRoom::Window window{*this, {}, {}, {}, {}, {}};
    window.connected = [this] { return m_session->acceptsCommands(); };
    window.replayedRecording = [this]() -> const Recording * {
        const ReplayPanel &replay = m_recording->replay();
        return replay.replaying() ? &replay.recording() : nullptr;
    };
    window.replayedPath = [this] { return m_recording->replay().path(); };
    window.seekReplay = [this](qint64 ms) {
        if (ReplayClock *clock = m_recording->replay().clock())
            clock->seek(ms);
    };
    window.shownCylinder = [this] {
        for (int k = 0; k < 8; ++k) {
            const auto *button = component<QRadioButton>(QStringLiteral("Cyl_%1_show").arg(k));
            if (button && button->isChecked())
                return k + 1;
        }
        return 1;
    };
    m_chart = std::make_unique<ChartRoom>(std::move(window));
    ReplayPanel &replay = m_recording->replay();
    replay.addBarButton(m_chart->replayButton());
    replay.setPositionListener([this](qint64 ms) { m_chart->replayMoved(ms); });
    m_recording->setCommandTap([this](const QByteArray &lineBytes) { m_chart->commandWritten(lineBytes); });
    // The values the displays were given, not a second decoding.
    m_linkView->addAnswerTap([this](RecordKind kind, const QByteArray &) {
        if (kind == RecordKind::Answer)
            m_chart->answerApplied(m_linkView->lastLiveValues());
    });
    if (auto *sw = component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        connect(sw, &TBinGControl::OnStatusChanged, this, [this] { m_chart->linkChanged(m_session->acceptsCommands()); });
}

void TZENU::applyLanguage(const QString &key)
{
    const std::optional<int> column = LanguageKey::column(key);
    if (!column || !m_texts)
        return;
    // Qt's own buttons and dialogs first, so a box opened from here on speaks the language.
    if (!m_qtTexts)
        m_qtTexts = std::make_unique<QtTranslations>();
    m_qtTexts->apply(*column);
    // Messages and link targets are read from column 0 from now on.
    m_texts->applyLanguageColumn(*column);
    m_links->setTargets(m_texts->message(LanguageTable::FirstLinkRow), m_texts->message(LanguageTable::LastLinkRow));
    // Lists and texts already built (faults, calibration) follow at their
    // next rebuild, which reads the messages anew.
    LanguageView(this).apply(*m_texts, *column);
    m_settings->refreshAccessibleNames();
    m_settings->retranslatePending();
    m_recording->retranslate();
    if (m_mapFit)
        m_mapFit->retranslate();
    if (m_rideOut)
        m_rideOut->retranslate();
    if (m_settingsFile)
        m_settingsFile->retranslate();
    m_chart->retranslate();
}

void TZENU::relistPorts()
{
    guarded([this] {
        PortMenu(PortCOM).relist(PortMenu::menuPorts(m_portLister()), ComPort1->port(), [this](QAction *item) {
            connect(item, &QAction::triggered, this, [this, item] { zmien_port_COM(item); });
        });
    });
}

void TZENU::ZENU_Linl_labelClick(QLabel *label)
{
    m_links->open(label);
}

void TZENU::ZENU_Linl_labelMouseMove(QLabel *label)
{
    m_links->highlight(label);
}

void TZENU::Panel1MouseMove()
{
    m_links->resetColours();
}

bool TZENU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_webLabel || watched == m_mailLabel) {
        auto *label = static_cast<QLabel *>(watched);
        if (event->type() == QEvent::MouseMove) {
            ZENU_Linl_labelMouseMove(label);
            // A label ignores the move, and the panel beneath would then take
            // it and undo the colour at once.
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease
                 && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            ZENU_Linl_labelClick(label);
    } else if (watched == m_infoPanel && event->type() == QEvent::MouseMove) {
        Panel1MouseMove();
    }
    return QMainWindow::eventFilter(watched, event);
}
