#pragma once

#include "record/Recording.h"

#include <QString>

#include <functional>
#include <memory>

class FrameWriter;
class RecordingControl;
class RecordingFrameWriter;
class ReplayPanel;
class LinkView;
class Session;
class SessionRecorder;
class TSerialPort;
class WindowShell;

// Recording and replay in the main window: the recorder listening on the
// line, its controls, and the replay player. Made before the session (which
// writes through lineWriter()), attached to the window once the rest is built.
class RecordingRoom
{
public:
    explicit RecordingRoom(FrameWriter &line);
    ~RecordingRoom();

    // The writer the session is given: the line with the recorder listening.
    FrameWriter &lineWriter();

    // Sees each finished answer once the displays have taken it.
    using AnswerTap = std::function<void(RecordKind kind, const QByteArray &bytes)>;
    // What the room works with once the window stands: the window, the link
    // (its port for the file's name, its session and view), and where the
    // answers the displays took can be listened to.
    struct Window
    {
        WindowShell &shell;
        Session &session;
        LinkView &view;
        TSerialPort &port;
        std::function<void(AnswerTap)> addAnswerTap;
    };
    void attach(const Window &window);
    // The disconnect sequence begins.
    void linkEnded();
    // Connected or disconnected, the link is at rest: the record and replay
    // items follow it.
    void linkSettled();
    void retranslate();

    // Every command written to the line, after the recorder has it.
    void setCommandTap(std::function<void(const QByteArray &)> tap);

    // `zenu --record FILE`: record into FILE from the first connect.
    void recordAtFirstConnect(const QString &path);

    SessionRecorder &recorder() { return *m_recorder; }
    RecordingControl &control() { return *m_control; }
    ReplayPanel &replay() { return *m_replay; }

private:
    std::unique_ptr<SessionRecorder> m_recorder;
    std::unique_ptr<RecordingFrameWriter> m_writer;
    RecordingControl *m_control = nullptr; // owned by the window
    ReplayPanel *m_replay = nullptr;       // owned by the window
};
