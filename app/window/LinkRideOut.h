#pragma once

#include "link/LinkClock.h"
#include "link/SessionTimer.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QAction;
class QLabel;
class Session;
class WindowShell;

// Staying connected on a bad line, as the window shows it:
//  - the checkable "Łącz ponownie samoczynnie" item of the port menu, on by
//    default and kept in the settings store;
//  - while the session makes the link again, "Łączenie ponownie… (n)" in the
//    status bar and on the connection switch, and whatever runs on the link
//    (a calibration) stopped; the link view greys the panels over the last
//    values meanwhile;
//  - the line-quality note, which goes when a minute has passed without errors;
//  - what a port failure means, in the chosen language, with the port's own
//    message as the details.
// The session does the work; this only shows it.
class LinkRideOut : public QObject
{
public:
    struct Parts
    {
        WindowShell &window;
        Session &session;
        // The program's own texts by key, in the chosen language.
        std::function<QString(const QString &key)> text;
        std::function<QString()> portName;
        // The link was lost: what runs on it stops (as at a disconnect).
        std::function<void()> linkInterrupted;
    };

    static inline const QString SettingsPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Link");
    static inline const QString SettingName = QStringLiteral("Reconnect");
    static constexpr int NoteRefreshMs = 1000;

    explicit LinkRideOut(Parts parts);

    QAction *menuItem() const { return m_item; }
    QLabel *note() const { return m_note; }
    void retranslate();

    // The session's news (through the window's link view).
    void lineErrorsChanged(int errorsLastMinute);
    void reconnecting(int attempt);
    void portLost(const QString &message);
    void reconnected(bool settingsDiffer);
    void commandNotSent();
    // After a loss another firmware answered (`version` as "3.07.08"): the
    // text the box shows; a recording that ends with the link is named too.
    QString controllerChanged(const QString &version);

    // A port failure as the fitter reads it: the cause in the chosen language,
    // then the port's own message as the details. Messages that are not port
    // failures come back unchanged.
    static QString describe(const QString &message, const QString &portName,
                            const std::function<QString(const QString &key)> &text);
    // The same for the box the session shows now; when the link ended with
    // the adapter pulled out and a recording ended with it, the box names
    // the recording's file too.
    QString describe(const QString &message);
    // The link is ending; `recordingPath` is the recording that ends with it
    // (empty when none).
    void linkEnding(const QString &recordingPath) { m_endedRecording = recordingPath; }

private:
    void setOption(bool on);
    void showNote();

    Parts m_parts;
    QAction *m_item = nullptr;
    QLabel *m_note = nullptr;
    QTimer m_retryQt;
    SessionTimer m_retry{m_retryQt};
    SteadyLinkClock m_clock;
    QTimer m_noteRefresh;
    QString m_reconnectText;
    QString m_portText;
    QString m_endedRecording;
    bool m_controllerChanged = false;
    bool m_lostUnplugged = false;
};
