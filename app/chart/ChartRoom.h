#pragma once

#include "app/chart/LiveChart.h"
#include "app/chart/ChartTexts.h"
#include "app/chart/ChartWindow.h"

#include "record/Recording.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QString>

#include <functional>

class QAction;
class WindowShell;

// The recording chart in the main window: "Plik" > "Wykres nagrania…" and
// "Wykres na żywo", the button the replay bar carries, the chart windows,
// and the live ring fed from the answers the window applies. What it needs
// of the link and the replay is handed in as functions; the window wires it.
class ChartRoom
{
public:
    struct Window
    {
        WindowShell &shell;
        // Whether a controller is connected and answering (the live chart is fed then).
        std::function<bool()> connected;
        // The recording being replayed and its file; nullptr / empty while none is.
        std::function<const Recording *()> replayedRecording;
        std::function<QString()> replayedPath;
        // Moves the replay to `ms` of its recording.
        std::function<void(qint64 ms)> seekReplay;
        // The cylinder `Skala_PB_time` shows (1..8).
        std::function<int()> shownCylinder;
    };

    explicit ChartRoom(Window window);
    ~ChartRoom();

    // The answer tap: every answer the window applies, with its decoded values.
    void answerApplied(const LiveValues &values);
    // Every command written to the line.
    void commandWritten(const QByteArray &lineBytes);
    // The connection switch went on (a new session) or off.
    void linkChanged(bool connected);
    // The replay moved (a tick, a seek): the chart of that recording follows.
    void replayMoved(qint64 ms);
    // A replay began or ended: the replay bar's chart button and the menu.
    void refresh();
    void retranslate();

    // "Wykres nagrania…": a file dialog, then openFile().
    void openClicked();
    // A chart of `path`; a foreign or damaged file is refused with a message box.
    bool openFile(const QString &path);
    // The replay bar's button: the chart of the recording being replayed.
    void openReplayed();
    // "Wykres na żywo": the live ring.
    void openLive();

    // The file chooser of openClicked; tests answer instead.
    void setFileChooser(std::function<QString()> chooser) { m_choose = std::move(chooser); }

    QAction *openItem() const { return m_openItem; }
    QAction *liveItem() const { return m_liveItem; }
    QPushButton *replayButton() const { return m_replayButton; }
    ChartWindow *recordingWindow() const { return m_recordingWindow; }
    ChartWindow *liveWindow() const { return m_liveWindow; }
    const LiveChart &live() const { return m_live; }

private:
    ChartTexts texts() const;
    QString text(const char *key) const;
    ChartWindow *makeWindow(bool live);
    void showRecording(const Recording &recording, const QString &path);

    Window m_window;
    QElapsedTimer m_clock;
    LiveChart m_live;
    std::function<QString()> m_choose;
    QString m_chartPath; // the file the recording chart shows
    qint64 m_replayMs = -1; // where the replay last stood; -1 when none runs
    QAction *m_openItem = nullptr;
    QAction *m_liveItem = nullptr;
    QPushButton *m_replayButton = nullptr;
    QPointer<ChartWindow> m_recordingWindow;
    QPointer<ChartWindow> m_liveWindow;
};
