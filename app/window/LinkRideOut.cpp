#include "app/window/LinkRideOut.h"

#include "app/common/StatusNotice.h"
#include "app/common/WindowShell.h"

#include "link/PortFailure.h"
#include "link/RegistryKey.h"
#include "link/Session.h"

#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

bool storedOption()
{
    try {
        const std::optional<int> stored = RegistryKey(LinkRideOut::SettingsPath).readInt(LinkRideOut::SettingName);
        return !stored || *stored != 0;
    } catch (const std::exception &) {
        return true;
    }
}

} // namespace

LinkRideOut::LinkRideOut(Parts parts) : m_parts(std::move(parts))
{
    m_retryQt.setObjectName(QStringLiteral("Timer_Reconnect"));
    connect(&m_retryQt, &QTimer::timeout, this, [this] { m_parts.session.Timer_ReconnectTimer(); });
    m_parts.session.setReconnectParts(m_retry, m_clock);

    QMenu *ports = m_parts.window.portMenu();
    ports->addSeparator()->setObjectName(QStringLiteral("N_Reconnect"));
    m_item = ports->addAction(QString());
    m_item->setObjectName(QStringLiteral("LaczPonownie1"));
    m_item->setCheckable(true);
    m_item->setChecked(storedOption());
    m_parts.session.setAutoReconnect(m_item->isChecked());
    connect(m_item, &QAction::toggled, this, [this](bool on) { setOption(on); });

    if (auto *window = qobject_cast<QMainWindow *>(m_parts.window.root())) {
        m_note = new QLabel(window->statusBar());
        m_note->setObjectName(QStringLiteral("LinkNote"));
        window->statusBar()->addWidget(m_note);
        m_note->hide();
    }
    m_noteRefresh.setObjectName(QStringLiteral("Timer_LinkNote"));
    m_noteRefresh.setInterval(NoteRefreshMs);
    connect(&m_noteRefresh, &QTimer::timeout, this, [this] { showNote(); });
    retranslate();
}

void LinkRideOut::retranslate()
{
    m_item->setText(m_parts.text(QStringLiteral("link.reconnect_menu")));
    showNote();
}

void LinkRideOut::setOption(bool on)
{
    try {
        RegistryKey key(SettingsPath);
        key.writeInt(SettingName, on ? 1 : 0);
        key.flush();
    } catch (const std::exception &) {
        // The choice holds for this run; the store is told again next time.
    }
    m_parts.session.setAutoReconnect(on);
    showNote();
}

void LinkRideOut::lineErrorsChanged(int)
{
    showNote();
    m_noteRefresh.start();
}

void LinkRideOut::reconnecting(int attempt)
{
    if (attempt == 0 && m_parts.linkInterrupted)
        m_parts.linkInterrupted();
    m_reconnectText = m_parts.text(QStringLiteral("link.reconnecting")).arg(attempt);
    // The switch's face holds a short form; the status bar has the sentence.
    if (auto *sw = m_parts.window.component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        sw->SetTextOn(m_parts.text(QStringLiteral("link.reconnecting_switch")).arg(attempt));
    showNote();
}

void LinkRideOut::portLost(const QString &message)
{
    const QString port = m_parts.portName();
    const PortFailure failure = portFailureOf(message);
    // Once pulled out, a port that is not there yet is the adapter still out.
    m_lostUnplugged = failure == PortFailure::Unplugged || (m_lostUnplugged && failure == PortFailure::Missing);
    if (m_lostUnplugged)
        m_portText = m_parts.text(QStringLiteral("link.waiting_for_adapter")).arg(port);
    else if (failure == PortFailure::Other)
        m_portText = message;
    else
        m_portText = describe(message, port, m_parts.text).section(QLatin1Char('\n'), 0, 0);
    showNote();
}

void LinkRideOut::reconnected(bool settingsDiffer)
{
    m_reconnectText.clear();
    m_portText.clear();
    m_lostUnplugged = false;
    if (settingsDiffer)
        StatusNotice::show(m_parts.window.root(), m_parts.text(QStringLiteral("link.settings_changed")));
    showNote();
}

void LinkRideOut::commandNotSent()
{
    StatusNotice::show(m_parts.window.root(), m_parts.text(QStringLiteral("link.command_not_sent")));
}

QString LinkRideOut::controllerChanged(const QString &version)
{
    m_controllerChanged = true;
    return m_parts.text(QStringLiteral("link.controller_changed")).arg(m_parts.portName(), version);
}

void LinkRideOut::showNote()
{
    if (!m_parts.session.reconnecting()) {
        m_reconnectText.clear();
        m_portText.clear();
    }
    const int errors = m_parts.session.lineErrorsLastMinute();
    QStringList parts;
    if (!m_reconnectText.isEmpty())
        parts << m_reconnectText;
    if (!m_portText.isEmpty())
        parts << m_portText;
    if (errors > 0 && m_parts.session.linkActive())
        parts << m_parts.text(QStringLiteral("link.line_errors")).arg(errors);
    if (errors == 0 && m_reconnectText.isEmpty())
        m_noteRefresh.stop();
    else if (!m_noteRefresh.isActive())
        m_noteRefresh.start();
    if (!m_note)
        return;
    m_note->setText(parts.join(QStringLiteral("  ·  ")));
    m_note->setVisible(!parts.isEmpty());
}

QString LinkRideOut::describe(const QString &message)
{
    QString text = describe(message, m_parts.portName(), m_parts.text);
    const bool unplugged = m_lostUnplugged || portFailureOf(message) == PortFailure::Unplugged;
    if (unplugged && !m_endedRecording.isEmpty()) {
        text += QLatin1Char('\n')
                + m_parts.text(QStringLiteral("link.recording_ended_unplugged"))
                      .arg(m_parts.portName(), QDir::toNativeSeparators(m_endedRecording));
        m_endedRecording.clear();
    } else if (m_controllerChanged && !m_endedRecording.isEmpty()) {
        text += QLatin1Char('\n')
                + m_parts.text(QStringLiteral("link.recording_ended"))
                      .arg(QDir::toNativeSeparators(m_endedRecording));
        m_endedRecording.clear();
    }
    m_controllerChanged = false;
    if (!m_parts.session.linkActive())
        m_lostUnplugged = false;
    return text;
}

QString LinkRideOut::describe(const QString &message, const QString &portName,
                              const std::function<QString(const QString &key)> &text)
{
    QString cause;
    switch (portFailureOf(message)) {
    case PortFailure::Unplugged: cause = text(QStringLiteral("link.port_unplugged")); break;
    case PortFailure::Missing: cause = text(QStringLiteral("link.port_missing")); break;
    case PortFailure::Busy: cause = text(QStringLiteral("link.port_busy")); break;
    case PortFailure::Other: return message;
    }
    return cause.arg(portName) + QLatin1Char('\n') + text(QStringLiteral("link.port_details")).arg(message);
}
