#pragma once

class QCommandLineParser;
class QWidget;
class RecordingRoom;

// `zenu --record FILE` and `zenu --replay FILE`.
namespace RecordReplayOptions {

void add(QCommandLineParser &parser);
// Once the window stands: arms the recording for the first connect, and/or
// opens the replay as soon as the event loop runs (a refused file is then
// shown in a box over the window).
void apply(const QCommandLineParser &parser, RecordingRoom &recording, QWidget *window);

} // namespace RecordReplayOptions
