#pragma once

#include "link/LinkInterfaces.h"
#include "live/LiveValues.h"
#include "record/Recording.h"

#include <QByteArray>

#include <functional>
#include <vector>

class LinkRideOut;
class WindowShell;

// The link session's view of the main window: its message boxes, status bar,
// the long-exchange look, the connection switch, the file menu and the lamps
// the link owns. The session decides when; this only reaches the components.
class WindowLinkView : public LinkView
{
public:
    static constexpr unsigned GreyRgb = 0x808080; // clGray

    explicit WindowLinkView(WindowShell &window) : m_window(window) {}

    // Where the answers go on the window: the settings controls, the live
    // displays, and the data file's save (which its read-all answer finishes).
    // Handed in once the rooms stand; the session asks for none before.
    struct Rooms
    {
        std::function<void()> applySettingsFrame;
        std::function<void(const QByteArray &answer)> applyLiveFrame;
        std::function<void()> writeDataFile;
        std::function<void(SaveDropped why)> dataFileNotWritten;
    };
    void setRooms(Rooms rooms) { m_rooms = std::move(rooms); }

    void showMessage(const QString &text) override;
    void dismissMessage() override;
    bool askYesNo(const QString &text) override;
    QString messageText(int row) const override;
    QString currentLanguageKey() const override;

    QString statusText() const override;
    void setStatusText(const QString &text) override;

    void setWindowEnabled(bool enabled) override;
    void setLinkPanelsGrey(bool grey) override;

    void setConnectSwitchOn(bool on) override;
    void setConnectSwitchOnText(const QString &text) override;

    void setFileMenuAvailable(bool available) override;
    void setErrorLedVisible(bool visible) override;
    QString faultMemoText() const override;
    void setFaultMemoText(const QString &text) override;
    void setReserveLedsFlashing(bool flashing) override;
    void resetInjectorLeds() override;
    void uncheckScopeLambdaButtons() override;

    void applySettingsFrame(const QByteArray &settings) override;
    void applyLiveFrame(const QByteArray &answer) override;
    void writeDataFile() override;
    void dataFileNotWritten(SaveDropped why) override;
    void linkEnded() override;
    void lineErrorsChanged(int errorsLastMinute) override;
    void reconnecting(int attempt) override;
    void portLost(const QString &message) override;
    void reconnected(bool settingsDiffer) override;
    void commandNotSent(const QByteArray &body) override;
    QString controllerChanged(const QByteArray &block) override;
    // Shows what riding out a bad line looks like; port failures in boxes
    // are told by their cause through it too.
    void setRideOut(LinkRideOut *rideOut) { m_rideOut = rideOut; }
    // Told when the disconnect sequence begins.
    void setLinkEndedHook(std::function<void()> hook) { m_linkEnded = std::move(hook); }
    void linkSettled() override;
    // Told when the link has come to rest, connected or not.
    void setLinkSettledHook(std::function<void()> hook) { m_linkSettled = std::move(hook); }
    // Sees each finished answer once the displays have taken it: the session
    // recorder (a replay feeds the same two calls, so it is seen there too).
    using AnswerTap = std::function<void(RecordKind kind, const QByteArray &bytes)>;
    void addAnswerTap(AnswerTap tap) { m_answerTaps.push_back(std::move(tap)); }

    // What the last ApplyLiveFrame was given, its decoded values and how many
    // frames there were, until the live displays take the values themselves.
    const QByteArray &lastLiveAnswer() const { return m_lastLive; }
    const LiveValues &lastLiveValues() const { return m_lastValues; }
    int liveFramesApplied() const { return m_liveFrames; }

private:
    WindowShell &m_window;
    LinkRideOut *m_rideOut = nullptr;
    Rooms m_rooms;
    QByteArray m_lastLive;
    LiveValues m_lastValues;
    int m_liveFrames = 0;
    std::function<void()> m_linkEnded;
    std::function<void()> m_linkSettled;
    std::vector<AnswerTap> m_answerTaps;
};
