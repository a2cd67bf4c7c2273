#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QToolButton;
class QWidget;
class SessionRecorder;

// Recording a session from the window: "Plik" > start / stop recording, the
// record button under the connection switch, and the CSV export of a
// recording. A recording runs only while connected and goes to a file named
// by date and time in the "ZENU recordings" folder of the user's documents.
class RecordingControl : public QObject
{
public:
    struct Link
    {
        std::function<bool()> connected;
        std::function<QString()> portName;
        std::function<QByteArray()> storedSettings;
    };
    // ExportStyle answers "sheet" or "plain" (empty: cancelled).
    enum class Dialog { ExportSource, ExportTarget, ExportStyle };
    // The file chosen in a dialog; empty when cancelled. Tests answer instead.
    using FileChooser = std::function<QString(Dialog)>;
    using Texts = std::function<QString(const QString &key)>;

    // Adds its menu items to `fileMenu` (before its separator) and its button
    // to the layout of `portGroup`, the group of the connection switch.
    RecordingControl(QWidget *window, QMenu *fileMenu, QWidget *portGroup, SessionRecorder &recorder, Link link,
                     Texts texts);

    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }
    // Where new recordings go; the documents folder's "ZENU recordings" by default.
    void setFolder(const QString &folder) { m_folder = folder; }

    // The menu item or the button: starts a recording, or stops the one running.
    void recordClicked();
    void exportClicked();
    // Enabled states and captions, after a connect or a disconnect.
    void refresh();
    // Called for each answer: the button shows the time recorded so far.
    void answerSeen();

    QAction *recordItem() const { return m_recordItem; }
    QAction *exportItem() const { return m_exportItem; }
    QToolButton *button() const { return m_button; }

private:
    void start();
    QString chooseFile(Dialog which);
    QString text(const char *key) const;
    void note(const QString &text);

    QWidget *m_window;
    SessionRecorder &m_recorder;
    Link m_link;
    Texts m_texts;
    FileChooser m_choose;
    QString m_folder;
    QAction *m_recordItem = nullptr;
    QAction *m_exportItem = nullptr;
    QToolButton *m_button = nullptr;
    qint64 m_shownSeconds = -1;
};
