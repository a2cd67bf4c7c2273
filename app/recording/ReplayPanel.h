#pragma once

#include "record/Recording.h"
#include "record/ReplayClock.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QToolButton;
class QWidget;
class Session;
class LinkView;

// Plays a recording on the real window as if the controller were connected:
// each settings block and answer goes to the same ApplySettingsFrame and
// ApplyLiveFrame the link uses, so gauges, LEDs, bars, faults, the scope and
// the learned curves move exactly as they did. While it plays the port stays
// closed and connecting is not offered; a replay is not offered while
// connected. The bar below the top panel carries play/pause, the speed, the
// position with the recording's time and the end of the replay.
class ReplayPanel : public QObject, private ReplayTimer
{
public:
    using Texts = std::function<QString(const QString &key)>;
    // The recording chosen in a dialog; empty when cancelled. Tests answer instead.
    using FileChooser = std::function<QString()>;

    // `window` is the main window: the bar goes into its central column below
    // the top panel, the item into `fileMenu` before its separator, and the
    // port menu, "Połącz" and the connection switch are held off while playing.
    ReplayPanel(QWidget *window, QMenu *fileMenu, QMenu *portMenu, Session &session, LinkView &view,
                Texts texts);
    ~ReplayPanel() override;

    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }

    // The menu item: asks for a file, then open().
    void openClicked();
    // Reads and plays `path`. A damaged or foreign file is refused with a
    // message box; false then, and while connected.
    bool open(const QString &path);
    // Rests the displays as a disconnect does and gives the port back.
    void end();

    bool replaying() const { return bool(m_clock); }
    ReplayClock *clock() { return m_clock.get(); }
    const Recording &recording() const { return m_recording; }
    // The file being replayed; empty while none is.
    QString path() const { return replaying() ? m_path : QString(); }
    // A button of another room on the bar, before "Zakończ odtwarzanie".
    void addBarButton(QWidget *button);
    // Hears the position after every move (a tick, a seek) and the start and
    // end of a replay (position -1 after the end).
    void setPositionListener(std::function<void(qint64 ms)> listener) { m_positionListener = std::move(listener); }

    void playPauseClicked();
    void speedChosen(int index);
    // Enabled states, after a connect or a disconnect.
    void refresh();
    void retranslate();

    QAction *openItem() const { return m_openItem; }
    QFrame *bar() const { return m_bar; }

private:
    // The scope's time runs with the replay (Oscyloskop: ticks at the replay's
    // speed, still while paused, its time labels from the recording's clock)
    // and with the wall clock again once the replay ends.
    void scopeFollowsReplay();
    // ReplayTimer
    qint64 nowMs() const override { return m_elapsed.elapsed(); }
    void wakeIn(int ms) override { m_timer.start(ms); }
    void cancel() override { m_timer.stop(); }

    void buildBar(QWidget *window);
    void showFileName();
    void apply(const RecordEntry &entry);
    // While it plays: a settings block unlike the one before it (the link
    // was made again to a controller set otherwise, or to another one) is
    // told in the status bar.
    void noteSettingsChange(const RecordEntry &entry);
    // Inside a stretch where the link was lost, the top panels are grey over
    // the last values, as they were in the car, and the status bar says so.
    void showLinkGap(qint64 position);
    void showProgress();
    void holdConnecting(bool hold);
    void restDisplays();
    QString text(const char *key) const;

    QWidget *m_window;
    QMenu *m_portMenu;
    Session &m_session;
    LinkView &m_view;
    Texts m_texts;
    FileChooser m_choose;

    QAction *m_openItem = nullptr;
    QFrame *m_bar = nullptr;
    QLabel *m_file = nullptr;
    QToolButton *m_play = nullptr;
    QComboBox *m_speed = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_time = nullptr;
    QPushButton *m_end = nullptr;

    QTimer m_timer;
    QElapsedTimer m_elapsed;
    Recording m_recording;
    QString m_path;
    std::unique_ptr<ReplayClock> m_clock;
    // The session's settings block before the replay put the recorded ones there.
    QByteArray m_keptSettings;
    QByteArray m_shownSettings; // the recording's block the controls show
    QVector<LinkGap> m_gaps;
    bool m_inGap = false;
    qint64 m_shownSecond = -1;
    bool m_movingSlider = false;
    std::function<void(qint64)> m_positionListener;
};
