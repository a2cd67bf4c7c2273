#include "app/chart/ChartRoom.h"

#include "app/chart/ChartLayoutStore.h"
#include "app/chart/ChartWindow.h"
#include "app/common/HandlerGuard.h"
#include "app/common/UserMessage.h"
#include "app/common/WindowShell.h"

#include "i18n/LanguageTable.h"
#include "record/RecordingReader.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

ChartRoom::ChartRoom(Window window)
    : m_window(std::move(window)), m_live([this] { return m_clock.elapsed(); })
{
    m_clock.start();
    QWidget *root = m_window.shell.root();
    QMenu *file = m_window.shell.fileMenu();
    m_openItem = new QAction(root);
    m_openItem->setObjectName(QStringLiteral("Chart_open"));
    m_liveItem = new QAction(root);
    m_liveItem->setObjectName(QStringLiteral("Chart_live"));
    // In the recording group (record, replay, export), at its end.
    QAction *before = nullptr;
    const QList<QAction *> items = file->actions();
    qsizetype i = 0;
    while (i < items.size() && items[i]->objectName() != QLatin1String("Odtwarzanie1"))
        ++i;
    while (i < items.size() && !items[i]->isSeparator())
        ++i;
    if (i < items.size())
        before = items[i];
    file->insertAction(before, m_openItem);
    file->insertAction(before, m_liveItem);
    m_liveItem->setEnabled(false);
    QObject::connect(m_openItem, &QAction::triggered, root,
                     [this, root] { HandlerGuard::run(root, [this] { openClicked(); }); });
    QObject::connect(m_liveItem, &QAction::triggered, root,
                     [this, root] { HandlerGuard::run(root, [this] { openLive(); }); });

    m_replayButton = new QPushButton(root);
    m_replayButton->setObjectName(QStringLiteral("Replay_chart"));
    QObject::connect(m_replayButton, &QPushButton::clicked, root,
                     [this, root] { HandlerGuard::run(root, [this] { openReplayed(); }); });
    retranslate();
}

ChartRoom::~ChartRoom()
{
    m_live.setWindow(nullptr);
    delete m_recordingWindow.data();
    delete m_liveWindow.data();
}

QString ChartRoom::text(const char *key) const
{
    const LanguageTable *table = m_window.shell.languageTable();
    return table ? table->programText(QString::fromLatin1(key)) : QString::fromLatin1(key);
}

ChartTexts ChartRoom::texts() const
{
    ChartTexts t;
    WindowShell *shell = &m_window.shell;
    t.text = [shell](QStringView key) {
        const LanguageTable *table = shell->languageTable();
        return table ? table->programText(key) : key.toString();
    };
    t.message = [shell](int row) {
        const LanguageTable *table = shell->languageTable();
        return table ? table->text(row, LanguageTable::Current) : QString();
    };
    const QString point = QLocale().decimalPoint();
    t.decimal = point.isEmpty() ? QLatin1Char('.') : point.at(0);
    return t;
}

ChartWindow *ChartRoom::makeWindow(bool live)
{
    ChartWindow::Hooks hooks;
    if (!live) {
        hooks.seek = [this](qint64 ms) {
            // Only the recording being replayed can be moved to.
            if (m_window.replayedRecording && m_window.replayedRecording() && m_window.seekReplay
                && m_window.replayedPath && m_window.replayedPath() == m_chartPath)
                m_window.seekReplay(ms);
        };
    }
    hooks.loadLayout = [] { return ChartLayoutStore::load(); };
    hooks.saveLayout = [](const QString &text) { ChartLayoutStore::save(text); };
    hooks.shownCylinder = m_window.shownCylinder;
    auto *window = new ChartWindow(texts(), std::move(hooks), m_window.shell.root());
    // Within the screen the main window is on, whatever its scale.
    if (const QScreen *screen = m_window.shell.root()->screen())
        window->resize(window->size().boundedTo(screen->availableGeometry().size() * 0.95));
    window->setObjectName(live ? QStringLiteral("Chart_live_window") : QStringLiteral("Chart_window"));
    return window;
}

void ChartRoom::showRecording(const Recording &recording, const QString &path)
{
    if (!m_recordingWindow)
        m_recordingWindow = makeWindow(false);
    m_chartPath = path;
    m_recordingWindow->showRecording(recording, QFileInfo(path).fileName());
    m_recordingWindow->show();
    m_recordingWindow->raise();
    m_recordingWindow->activateWindow();
}

void ChartRoom::openClicked()
{
    QString path;
    if (m_choose)
        path = m_choose();
    else
        path = QFileDialog::getOpenFileName(m_window.shell.root(), text("chart.menu_open"), QString(),
                                            text("replay.file_filter"));
    if (!path.isEmpty())
        openFile(path);
}

bool ChartRoom::openFile(const QString &path)
{
    // The replayed recording is in memory already.
    if (m_window.replayedRecording && m_window.replayedRecording() && m_window.replayedPath
        && m_window.replayedPath() == path) {
        openReplayed();
        return true;
    }
    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    if (!recording) {
        UserMessage::show(m_window.shell.root(), recordingErrorText(path, error));
        return false;
    }
    showRecording(*recording, path);
    return true;
}

void ChartRoom::openReplayed()
{
    const Recording *recording = m_window.replayedRecording ? m_window.replayedRecording() : nullptr;
    if (!recording)
        return;
    showRecording(*recording, m_window.replayedPath ? m_window.replayedPath() : QString());
    // Opened from a paused replay, the cursor already stands where the gauges are.
    if (m_replayMs >= 0)
        m_recordingWindow->followReplay(m_replayMs);
}

void ChartRoom::openLive()
{
    if (!m_liveWindow) {
        m_liveWindow = makeWindow(true);
        m_liveWindow->showLive(&m_live.data());
        m_live.setWindow(m_liveWindow);
    }
    m_liveWindow->show();
    m_liveWindow->raise();
    m_liveWindow->activateWindow();
    m_liveWindow->liveChanged();
}

void ChartRoom::answerApplied(const LiveValues &values)
{
    // Replayed answers pass the same way; only a live session feeds the ring.
    if (m_window.connected && m_window.connected())
        m_live.answer(values);
}

void ChartRoom::commandWritten(const QByteArray &lineBytes)
{
    m_live.commandWritten(lineBytes);
}

void ChartRoom::linkChanged(bool connected)
{
    if (connected)
        m_live.linkStarted();
    refresh();
}

void ChartRoom::replayMoved(qint64 ms)
{
    m_replayMs = ms;
    refresh();
    if (ms >= 0 && m_recordingWindow && m_recordingWindow->isVisible() && m_window.replayedPath
        && m_window.replayedPath() == m_chartPath)
        m_recordingWindow->followReplay(ms);
}

void ChartRoom::refresh()
{
    const bool replaying = m_window.replayedRecording && m_window.replayedRecording();
    m_replayButton->setEnabled(replaying);
    // The live chart follows a connected controller; after a disconnect it
    // still shows the session that ended (the drive just made) until the next
    // connect starts a new one. Before any session there is nothing to show.
    const bool connected = m_window.connected && m_window.connected();
    m_liveItem->setEnabled(connected || !m_live.data().series().isEmpty() || m_liveWindow);
}

void ChartRoom::retranslate()
{
    m_openItem->setText(text("chart.menu_open"));
    m_liveItem->setText(text("chart.live_menu"));
    m_replayButton->setText(text("chart.replay_button"));
    m_replayButton->setToolTip(text("chart.replay_button_tip"));
    m_replayButton->setAccessibleName(text("chart.replay_button_tip"));
    if (m_recordingWindow)
        m_recordingWindow->setTexts(texts());
    if (m_liveWindow)
        m_liveWindow->setTexts(texts());
}
