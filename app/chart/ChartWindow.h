#pragma once

#include "app/chart/ChartTexts.h"
#include "chart/ChartData.h"
#include "chart/ChartLayout.h"

#include <QWidget>

#include <functional>

class ChartCanvas;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

// The chart window: the canvas, "Całość", "Zapisz obraz…", the choice of
// channels per pane (remembered), and the read-out at the cursor. It shows
// either a recording (its own copy of the data) or the live ring the window
// feeds (the live view follows the newest answer). What it needs from the
// main window comes in as functions: the texts, where a click seeks the
// replay, where the pane choice is kept, the file dialog.
class ChartWindow : public QWidget
{
public:
    struct Hooks
    {
        // A click or Enter on the chart: the replay goes to `ms`. Empty: nothing.
        std::function<void(qint64 ms)> seek;
        // The pane choice as text (ChartLayout::toText), read once, written on change.
        std::function<QString()> loadLayout;
        std::function<void(const QString &)> saveLayout;
        // The PNG to save to; empty when cancelled. Tests answer instead.
        std::function<QString(const QString &suggested)> chooseImageFile;
        // The cylinder whose petrol time the default layout shows (1..8).
        std::function<int()> shownCylinder;
    };

    ChartWindow(ChartTexts texts, Hooks hooks, QWidget *parent = nullptr);

    // A recording: the window keeps its own data; `name` goes in the title.
    void showRecording(const Recording &recording, const QString &name);
    // The live ring, owned by the caller and fed by it; call liveChanged()
    // after each answer it takes. The chart redraws at most once per
    // LiveRedrawMs: ten minutes over the plot's width are most of a second a
    // pixel, and each redraw of a large window is what costs.
    void showLive(const ChartData *live);
    void liveChanged();
    static constexpr int LiveRedrawMs = 1000;
    bool showsLive() const { return m_live != nullptr; }

    // The replay's position, while it plays: the cursor follows it.
    void followReplay(qint64 ms);

    void setTexts(ChartTexts texts);
    void retranslate();

    bool saveImage(const QString &path);
    void saveImageClicked();

    ChartCanvas *canvas() const { return m_canvas; }
    const ChartLayout &chartLayout() const { return m_layout; }
    const ChartData &data() const;

    // Pane and channel choice, as the side list does it.
    void choosePane(int pane);
    void setChannelShown(const QString &key, bool shown);
    void addPane();
    void removePane();

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QString text(const char *key) const;
    void layoutChanged();
    void fillPaneChoice();
    void fillChannelList();
    void showReadout();
    void channelItemChanged(QListWidgetItem *item);

    ChartTexts m_texts;
    Hooks m_hooks;
    ChartData m_recordingData;
    const ChartData *m_live = nullptr;
    QString m_name;
    ChartLayout m_layout;
    int m_pane = 0;
    bool m_filling = false;
    QTimer *m_liveRedraw = nullptr;

    ChartCanvas *m_canvas = nullptr;
    QPushButton *m_whole = nullptr;
    QPushButton *m_save = nullptr;
    QCheckBox *m_follow = nullptr;
    QLabel *m_paneLabel = nullptr;
    QComboBox *m_paneChoice = nullptr;
    QLabel *m_channelsLabel = nullptr;
    QListWidget *m_channels = nullptr;
    QPushButton *m_addPane = nullptr;
    QPushButton *m_removePane = nullptr;
    QLabel *m_readoutLabel = nullptr;
    QLabel *m_readout = nullptr;
    QLabel *m_status = nullptr;
};
