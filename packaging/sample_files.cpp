// zenu_sample_files DIR: writes DIR/sample.zen (the simulated controller's
// factory settings, saved as the window saves them) and DIR/sample.zrec (two
// minutes of a warm engine on gas, polled every 240 ms, recorded as the
// window records), for tools/check-package.sh to look at with the installed
// package. Not installed.
#include "record/RecordingWriter.h"
#include "settings/DataFile.h"
#include "sim/EngineModel.h"
#include "sim/LiveFrameWriter.h"
#include "sim/SettingsBlock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

constexpr uint8_t SettingsAnswer = 0x0C;
constexpr uint8_t PollAnswer = 0x55;
constexpr int PollMs = 240;

bool writeSettingsFile(const QString &path, const QByteArray &block)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(DataFile::encode(block, 30)) > 0;
}

bool writeRecording(const QString &path, const SettingsBlock &block)
{
    RecordingWriter writer;
    if (!writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc())) {
        std::fprintf(stderr, "%s\n", qPrintable(writer.errorText()));
        return false;
    }
    writer.append(RecordKind::Settings, 0, block.answer(SettingsAnswer));
    EngineModel engine;
    engine.setWarm();
    engine.startEngine();
    engine.fuelRequested(true);
    // Idle, a pull to 3000 rpm under load, back to idle.
    for (int i = 1; i <= 500; ++i) {
        if (i == 150) {
            engine.setTargetRpm(3000);
            engine.setLoad(60);
        }
        if (i == 300) {
            engine.setTargetRpm(0);
            engine.setLoad(0);
        }
        engine.advance(qint64(PollMs) * 1000, block);
        writer.append(RecordKind::Answer, qint64(i) * PollMs,
                      LiveFrameWriter::encode(engine.sample(block), PollAnswer));
    }
    writer.close();
    if (writer.failed())
        std::fprintf(stderr, "%s\n", qPrintable(writer.errorText()));
    return !writer.failed();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const SettingsBlock block = SettingsBlock::factory();
    if (!writeSettingsFile(dir.filePath(QStringLiteral("sample.zen")), block.answer(SettingsAnswer))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(QStringLiteral("sample.zen"))));
        return 1;
    }
    return writeRecording(dir.filePath(QStringLiteral("sample.zrec")), block) ? 0 : 1;
}
