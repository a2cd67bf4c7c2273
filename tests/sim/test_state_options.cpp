#include "SimDrive.h"
#include "sim/SimConsole.h"
#include "sim/SimOptions.h"
#include "sim/SimScript.h"
#include "sim/StateFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using SimTest::ask;
using SimTest::hex;

TEST(StateFile, BlockSurvivesARestart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SimOptions o;
    o.statePath = dir.filePath(QStringLiteral("ecu.bin"));
    QByteArray changed;
    {
        Simulator sim(o);
        qint64 t = 0;
        ask(sim, hex("0919"), t);
        ask(sim, hex("1b05"), t);
        sim.engine().setFault(EngineFault::Supply, true);
        sim.tick(t += 1000);
        changed = sim.block().bytes();
    }
    ASSERT_NE(changed, SettingsBlock::factory().bytes());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ecu.bin")})
        << "no temporary file is left behind";
    Simulator again(o);
    EXPECT_EQ(again.block().bytes(), changed);
    EXPECT_EQ(again.block().at(23), 0x19);
    EXPECT_EQ(again.block().at(561), 8) << "registered faults are kept too";
    qint64 t = 0;
    EXPECT_EQ(uint8_t(ask(again, hex("6600"), t)[22]), 5);
}

TEST(StateFile, UnusableFileMeansFactorySettingsAndANote)
{
    QTemporaryDir dir;
    SimOptions o;
    o.statePath = dir.filePath(QStringLiteral("ecu.bin"));
    for (const QByteArray &junk : {QByteArray("not a block"), QByteArray(602, '\0'), QByteArray(603, char(0xAA))}) {
        ASSERT_TRUE(StateFile::save(o.statePath, junk));
        Simulator sim(o);
        EXPECT_EQ(sim.block().bytes(), SettingsBlock::factory().bytes()) << junk.size();
        EXPECT_EQ(sim.takeNotes().size(), 1) << junk.size();
        EXPECT_EQ(StateFile::load(o.statePath)->size(), 602) << "replaced by a good block at once";
    }
}

TEST(StateFile, FirmwareOptionWinsOverTheStoredBlock)
{
    QTemporaryDir dir;
    SimOptions o;
    o.statePath = dir.filePath(QStringLiteral("ecu.bin"));
    ASSERT_TRUE(StateFile::save(o.statePath, SettingsBlock::factory(2, 0, 0).bytes()));
    o.firmware = std::array<uint8_t, 3>{3, 7, 7};
    Simulator sim(o);
    EXPECT_EQ(sim.block().bytes().mid(4, 3), hex("030707"));
}

TEST(SimOptions, ParsesTheCommandLine)
{
    SimOptions o;
    QString error;
    ASSERT_TRUE(SimOptions::parse({"--com", "COM12", "--select", "--pace", "--warm", "--state", "/tmp/s", "--firmware",
                                   "3.7.6", "--log", "/tmp/l", "--script", "/tmp/x", "--fault", "drop 3", "--fault",
                                   "silent", "--seed", "9", "--one-piece", "--link", "/tmp/ttyZENU", "--ratio", "1.25",
                                   "--speed", "40", "--ratio-curve", "2:1.18,6:1.10"},
                                  o, error))
        << qPrintable(error);
    EXPECT_EQ(o.comName, QStringLiteral("COM12"));
    EXPECT_TRUE(o.select && o.pace && o.warm && o.onePiece);
    EXPECT_EQ(o.statePath, QStringLiteral("/tmp/s"));
    ASSERT_TRUE(o.firmware.has_value());
    EXPECT_EQ(*o.firmware, (std::array<uint8_t, 3>{3, 7, 6}));
    EXPECT_EQ(o.logPath, QStringLiteral("/tmp/l"));
    EXPECT_EQ(o.scriptPath, QStringLiteral("/tmp/x"));
    EXPECT_EQ(o.linkPath, QStringLiteral("/tmp/ttyZENU"));
    EXPECT_EQ(o.faults, (QStringList{"drop 3", "silent"}));
    EXPECT_EQ(o.seed, 9u);
    EXPECT_EQ(o.ratio, 1.25);
    EXPECT_EQ(o.speed, 40);
    ASSERT_TRUE(o.ratioCurve.has_value());
    EXPECT_EQ(o.ratioCurve->text(), QStringLiteral("2:1.18,6:1.10"));
}

TEST(SimOptions, RefusesMistakes)
{
    const QList<QStringList> bad = {
        {"--com", "7"}, {"--com", "COM0"}, {"--com"}, {"--select"}, {"--firmware", "3.7"},
        {"--firmware", "3.7.256"}, {"--seed", "x"}, {"--bogus"}, {"--ratio", "0.4"}, {"--ratio", "x"},
        {"--speed", "0"}, {"--speed", "1001"}, {"--speed"}, {"--ratio-curve", "6:1.1,2:1.18"}, {"--ratio-curve"},
    };
    for (const QStringList &args : bad) {
        SimOptions o;
        QString error;
        EXPECT_FALSE(SimOptions::parse(args, o, error)) << qPrintable(args.join(' '));
        EXPECT_FALSE(error.isEmpty()) << qPrintable(args.join(' '));
    }
}

TEST(SimConsole, DrivesTheEngine)
{
    Simulator sim(SimOptions{});
    SimConsole c(sim);
    EngineModel &e = sim.engine();
    EXPECT_EQ(c.execute(QStringLiteral("engine stop")), QStringLiteral("engine stopped"));
    EXPECT_FALSE(e.running());
    c.execute(QStringLiteral("engine start"));
    EXPECT_TRUE(e.running());
    c.execute(QStringLiteral("ignition off"));
    EXPECT_FALSE(e.ignition());
    EXPECT_FALSE(e.running());
    c.execute(QStringLiteral("engine start"));
    EXPECT_TRUE(e.ignition() && e.running());
    c.execute(QStringLiteral("load 40"));
    EXPECT_EQ(e.load(), 40);
    c.execute(QStringLiteral("temp 55 40"));
    EXPECT_EQ(e.reducerC(), 55);
    EXPECT_EQ(e.gasC(), 40);
    c.execute(QStringLiteral("tank 10"));
    EXPECT_EQ(e.tankLevel(), 10);
    c.execute(QStringLiteral("fault injector 2 on"));
    EXPECT_EQ(e.injectorFlags(), 0xFD);
    EXPECT_EQ(sim.block().at(561), 0) << "an injector fault goes into the log";
    c.execute(QStringLiteral("fault supply on"));
    EXPECT_EQ(e.supplyFlags48(), 0xFD);
    c.execute(QStringLiteral("faults clear"));
    EXPECT_EQ(e.injectorFlags() & e.supplyFlags48() & e.faultFlags34(), 0xFF);
    c.execute(QStringLiteral("ratio 1.3"));
    EXPECT_EQ(e.trueRatio(), 1.3);
    EXPECT_TRUE(c.execute(QStringLiteral("status")).contains(QLatin1String("gas ratio 1.30")));
    EXPECT_TRUE(c.execute(QStringLiteral("status")).contains(QLatin1String("rpm")));
    EXPECT_FALSE(sim.quitRequested());
    c.execute(QStringLiteral("quit"));
    EXPECT_TRUE(sim.quitRequested());
}

TEST(SimConsole, ExplainsMistakes)
{
    Simulator sim(SimOptions{});
    SimConsole c(sim);
    for (const char *line : {"fly", "engine", "rpm", "rpm fast", "load 150", "temp", "fault nothing on",
                             "fault injector 9 on", "fault supply maybe", "line", "line drop", "line firmware 3",
                             "ignition", "faults", "ratio", "ratio 3"}) {
        EXPECT_TRUE(c.execute(QString::fromLatin1(line)).startsWith(QLatin1String("error:"))) << line;
    }
    EXPECT_EQ(sim.block().bytes(), SettingsBlock::factory().bytes());
    EXPECT_EQ(sim.engine().injectorFlags(), 0xFF);
}

TEST(SimScript, WaitHoldsBackTheLinesAfterIt)
{
    SimScript s;
    s.appendText(QStringLiteral("# warm-up\nrpm 3000\nwait 500\n\nload 50   # half\nwait 100\nidle\n"));
    EXPECT_EQ(s.takeDue(0), QStringList{"rpm 3000"});
    ASSERT_TRUE(s.nextUs().has_value());
    EXPECT_EQ(*s.nextUs(), 500000);
    EXPECT_TRUE(s.takeDue(499999).isEmpty());
    EXPECT_EQ(s.takeDue(500000), QStringList{"load 50"});
    EXPECT_EQ(s.takeDue(600000), QStringList{"idle"});
    EXPECT_TRUE(s.isEmpty());
    EXPECT_FALSE(s.nextUs().has_value());
}
