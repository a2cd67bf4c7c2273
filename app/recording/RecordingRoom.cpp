#include "app/recording/RecordingRoom.h"

#include "app/recording/RecordingControl.h"
#include "app/recording/ReplayPanel.h"
#include "app/recording/SessionRecorder.h"
#include "app/common/WindowShell.h"

#include "link/Session.h"
#include "link/TSerialPort.h"

#include "i18n/LanguageTable.h"


#include <QAction>
#include <QMenu>

RecordingRoom::RecordingRoom(FrameWriter &line)
    : m_recorder(std::make_unique<SessionRecorder>()),
      m_writer(std::make_unique<RecordingFrameWriter>(line, *m_recorder))
{
}

RecordingRoom::~RecordingRoom() = default;

FrameWriter &RecordingRoom::lineWriter()
{
    return *m_writer;
}

void RecordingRoom::attach(const Window &window)
{
    WindowShell &shell = window.shell;
    Session &session = window.session;
    TSerialPort &port = window.port;
    auto texts = [&shell](const QString &key) {
        LanguageTable *table = shell.languageTable();
        return table ? table->programText(key) : key;
    };
    m_recorder->setPortName([&port] { return port.port(); });

    RecordingControl::Link link;
    link.connected = [&session] { return session.acceptsCommands(); };
    link.portName = [&port] { return port.port(); };
    link.storedSettings = [&session] { return session.storedSettings(); };
    m_control = new RecordingControl(shell.root(), shell.fileMenu(), shell.component(QStringLiteral("GroupBox5")),
                                     *m_recorder, std::move(link), texts);
    m_replay = new ReplayPanel(shell.root(), shell.fileMenu(), shell.portMenu(), session, window.view, texts);
    // "Plik": the data file items, then record, replay, export as a group of
    // their own (a leading separator is hidden while the others are).
    QMenu *file = shell.fileMenu();
    file->insertSeparator(m_control->recordItem())->setObjectName(QStringLiteral("N_recording"));
    file->removeAction(m_control->exportItem());
    const QList<QAction *> items = file->actions();
    const qsizetype after = items.indexOf(m_replay->openItem()) + 1;
    file->insertAction(after < items.size() ? items[after] : nullptr, m_control->exportItem());

    window.addAnswerTap([this](RecordKind kind, const QByteArray &bytes) {
        m_recorder->answerApplied(kind, bytes);
        m_control->answerSeen();
    });
}

void RecordingRoom::setCommandTap(std::function<void(const QByteArray &)> tap)
{
    m_writer->setCommandTap(std::move(tap));
}

void RecordingRoom::linkEnded()
{
    m_recorder->linkEnded();
}

// Not on the connection switch: a hand on the switch throws it before the link
// has moved, and the link then finds it already where it would put it.
void RecordingRoom::linkSettled()
{
    if (m_control)
        m_control->refresh();
    if (m_replay)
        m_replay->refresh();
}

void RecordingRoom::retranslate()
{
    if (m_control)
        m_control->refresh();
    if (m_replay)
        m_replay->retranslate();
}

void RecordingRoom::recordAtFirstConnect(const QString &path)
{
    m_recorder->armForNextConnect(path);
}
