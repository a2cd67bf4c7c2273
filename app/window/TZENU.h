#pragma once

#include "app/common/WindowShell.h"
#include "app/window/InfoLinks.h"
#include "app/window/MainMenu.h"
#include "app/settings/SettingsView.h"

#include "i18n/LanguageTable.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTabWidget;
class QTimer;
class TSerialPort;
class Session;
class SessionLanguageStore;
class SessionPort;
class SessionTimer;
class SerialFrameWriter;
class WindowLinkView;
class LinkRideOut;
class LiveDisplay;
class MapFitPanel;
class MapPage;
class SettingsPanel;
class CalibrationPage;
class LevelSensorGroup;
class DataFileMenu;
class QtTranslations;
class SettingsFileMenu;
class RecordingRoom;
class ChartRoom;

// The main window. It owns every component for the whole run and wires the
// components' events to their handlers; the layout of each area is built by
// its own builder (TopPanel, the tab builders, MapChart) and the port menu
// and Info link rules live in PortMenu and InfoLinks.
class TZENU : public QMainWindow, public WindowShell
{
    Q_OBJECT
public:
    // Lists the serial ports present as COM names; the serial layer's own
    // listing unless a test supplies another.
    using PortLister = std::function<QStringList()>;

    explicit TZENU(PortLister portLister = {}, InfoLinks::Opener linkOpener = {}, QWidget *parent = nullptr);
    ~TZENU() override;

    // --- components the other parts of the program work with
    TSerialPort *ComPort1 = nullptr;
    QTimer *Timer_Count = nullptr;            // poll tick
    QTimer *Timer_Czekaj_na_odczyt = nullptr; // answer time-out
    QTimer *Adaptacja_Timer = nullptr;        // one calibration step per tick
    QTabWidget *tab_control = nullptr;
    QWidget *Panel1Gora = nullptr;
    QWidget *RPM_zegar = nullptr;
    QMenu *Pliki1 = nullptr;
    QMenu *PortCOM = nullptr;
    QMenu *Jazyk = nullptr;
    QAction *polacz = nullptr;
    QAction *rozlacz1 = nullptr;

    // --- WindowShell: what the rooms are handed
    QWidget *root() const override { return const_cast<TZENU *>(this); }
    QMenu *fileMenu() const override { return Pliki1; }
    QMenu *portMenu() const override { return PortCOM; }
    QMenu *languageMenu() const override { return Jazyk; }
    QTabWidget *pages() const override { return tab_control; }
    QWidget *topPanel() const override { return Panel1Gora; }

    // The controller link: connect, polling, the command queue.
    Session &session() { return *m_session; }
    const Session &session() const { return *m_session; }
    WindowLinkView &linkView() { return *m_linkView; }
    LinkRideOut &rideOut() { return *m_rideOut; }
    // The live frame on the displays, the fault list and the scope.
    LiveDisplay &liveDisplay() { return *m_live; }
    // The "Mapa" page: correction map editor, working point, learned curves.
    MapPage &mapPage() { return *m_mapPage; }
    MapFitPanel &mapFit() { return *m_mapFit; }
    // The settings controls: ApplySettingsFrame and every change sent.
    SettingsPanel &settingsPanel() { return *m_settings; }
    // The "Adaptacja" page and its procedure.
    CalibrationPage &calibration() { return *m_calibration; }
    // The tank-level sensor thresholds and type on "Przełącznik".
    LevelSensorGroup &levelSensor() { return *m_level; }
    // "Plik" > "Zapis" / "Odczyt": the settings data file.
    DataFileMenu &dataFile() { return *m_dataFile; }
    // "Pokaż plik ustawień…" and "Porównaj z plikiem…".
    SettingsFileMenu &settingsFile() { return *m_settingsFile; }

    // Shows a settings data file on the window with no controller connected,
    // as "Plik" > "Pokaż plik ustawień…" does; the entry for `zenu FILE.zen`
    // and a file handed over by the file manager. False, the window as it
    // was, while connected or for a file that is not a settings file (the
    // user has been told).
    bool viewSettingsFile(const QString &path);
    // Recording the session and replaying a recording.
    RecordingRoom &recording() { return *m_recording; }
    // The recording chart and the live chart.
    ChartRoom &chart() { return *m_chart; }

    // -1 while no calibration runs, otherwise the step number.
    int CalibrationStep = -1;

    // Name of the chosen language menu item ("PolskiPL" unless stored otherwise).
    QString currentLanguageKey() const override { return m_languageKey; }
    void setCurrentLanguageKey(const QString &key) { m_languageKey = key; }

    // Panel 0 of the status bar.
    QString statusPanelText() const override;
    void setStatusPanelText(const QString &text) override;

    InfoLinks &infoLinks() { return *m_links; }
    // The program's texts; absent only if the built-in table could not be read.
    LanguageTable *languageTable() override { return m_texts ? &*m_texts : nullptr; }

    // --- handlers
    void FormCreate();
    void zmien_port_COM(QAction *portItem);
    void Exit1Click();
    void FormClose();
    // Originator `polacz` (directly or through a port item or the switch);
    // nullptr is the link retrying by itself.
    void polaczClick(QObject *originator);
    void rozlacz1Click();
    void Reset1Click();
    void Polacz_switchStatusChanged();
    void Check_jazyk(QAction *languageItem);
    void LangClick(QObject *flagButton);
    // Puts the texts of the chosen language into the window and the messages.
    void applyLanguage(const QString &key);
    void ZENU_Linl_labelClick(QLabel *label);
    void ZENU_Linl_labelMouseMove(QLabel *label);
    void Panel1MouseMove();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildLink();
    void fitToScreen();
    void buildSettings();
    void connectEvents();
    void connectLinkEvents();
    void buildMapPage();
    // The language switch without its own failure boundary.
    void chooseLanguage(QAction *languageItem);
    // The port items again, from the ports present now.
    void relistPorts();
    // Runs one handler; any failure ends that handler and is shown to the
    // user, so nothing escapes into the event loop.
    void guarded(const std::function<void()> &handler);
    // The level sensor group and the data file menu, wired to the link.
    void buildLevelSensorAndDataFile();
    // The chart room, wired to the replay, the answers and the commands.
    void buildChart();
    // One of the program's own texts in the current language.
    QString programText(const QString &key) const;

    PortLister m_portLister;
    QString m_languageKey = QStringLiteral("PolskiPL");
    MainMenu m_menu;
    QLabel *m_statusPanel = nullptr;
    QLabel *m_webLabel = nullptr;
    QLabel *m_mailLabel = nullptr;
    QWidget *m_infoPanel = nullptr;
    std::unique_ptr<InfoLinks> m_links;
    std::optional<LanguageTable> m_texts;

    // The session holds references to these; they live as long as it does.
    std::unique_ptr<SessionPort> m_sessionPort;
    std::unique_ptr<SerialFrameWriter> m_frameWriter;
    std::unique_ptr<RecordingRoom> m_recording;
    std::unique_ptr<SessionTimer> m_pollTimer;
    std::unique_ptr<SessionTimer> m_answerTimer;
    std::unique_ptr<SessionLanguageStore> m_languageStore;
    std::unique_ptr<WindowLinkView> m_linkView;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<LiveDisplay> m_live;
    std::unique_ptr<MapPage> m_mapPage;
    std::unique_ptr<MapFitPanel> m_mapFit; // uses m_mapPage
    SettingsView m_settingsView;
    std::unique_ptr<SettingsPanel> m_settings;
    std::unique_ptr<CalibrationPage> m_calibration;
    std::unique_ptr<LevelSensorGroup> m_level;
    std::unique_ptr<DataFileMenu> m_dataFile;
    // Refers to the session and the calibration page: made after, gone before.
    std::unique_ptr<LinkRideOut> m_rideOut;
    std::unique_ptr<QtTranslations> m_qtTexts;
    std::unique_ptr<SettingsFileMenu> m_settingsFile;
    std::unique_ptr<ChartRoom> m_chart;
};
