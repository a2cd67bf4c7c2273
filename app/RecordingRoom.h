#pragma once

#include <QString>

#include <memory>

class FrameWriter;
class RecordingControl;
class RecordingFrameWriter;
class ReplayPanel;
class SessionRecorder;
class TZENU;

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

    void attach(TZENU &window);
    // The disconnect sequence begins.
    void linkEnded();
    void retranslate();

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
