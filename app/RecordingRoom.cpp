#include "app/RecordingRoom.h"

#include "app/RecordingControl.h"
#include "app/ReplayPanel.h"
#include "app/SessionRecorder.h"
#include "app/TZENU.h"
#include "app/WindowLinkView.h"

#include "link/Session.h"
#include "link/TSerialPort.h"

#include "widgets/TToggleSwitch.h"

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

void RecordingRoom::attach(TZENU &window)
{
    auto texts = [&window](const QString &key) {
        LanguageTable *table = window.languageTable();
        return table ? table->programText(key) : key;
    };
    m_recorder->setPortName([&window] { return window.ComPort1->port(); });

    RecordingControl::Link link;
    link.connected = [&window] { return window.session().acceptsCommands(); };
    link.portName = [&window] { return window.ComPort1->port(); };
    link.storedSettings = [&window] { return window.session().storedSettings(); };
    m_control = new RecordingControl(&window, window.Pliki1, window.component(QStringLiteral("GroupBox5")),
                                     *m_recorder, std::move(link), texts);
    m_replay = new ReplayPanel(&window, window.Pliki1, window.PortCOM, window.session(), window.linkView(), texts);
    // "Plik": the data file items, then record, replay, export as a group of
    // their own (a leading separator is hidden while the others are).
    QMenu *file = window.Pliki1;
    file->insertSeparator(m_control->recordItem())->setObjectName(QStringLiteral("N_recording"));
    file->removeAction(m_control->exportItem());
    const QList<QAction *> items = file->actions();
    const qsizetype after = items.indexOf(m_replay->openItem()) + 1;
    file->insertAction(after < items.size() ? items[after] : nullptr, m_control->exportItem());

    window.linkView().addAnswerTap([this](RecordKind kind, const QByteArray &bytes) {
        m_recorder->answerApplied(kind, bytes);
        m_control->answerSeen();
    });
    // The link throws the switch on once the handshake is through and off at
    // every disconnect: the moments recording and replay become possible.
    if (auto *sw = window.component<TToggleSwitch>(QStringLiteral("Polacz_switch"))) {
        QObject::connect(sw, &TBinGControl::OnStatusChanged, m_control, [this] {
            m_control->refresh();
            m_replay->refresh();
        });
    }
}

void RecordingRoom::linkEnded()
{
    m_recorder->linkEnded();
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
