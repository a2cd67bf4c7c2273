#include "SimDrive.h"
#include "sim/CommandHandler.h"
#include "sim/EngineModel.h"
#include "sim/SettingsBlock.h"

#include <gtest/gtest.h>

#include <functional>

using SimTest::hex;

namespace {

QByteArray mapBody()
{
    QByteArray b = hex("0b");
    for (int k = 1; k <= 246; ++k)
        b.append(char(50 + k % 100));
    return b;
}

QByteArray writeAllBody(int count)
{
    QByteArray b = hex("1a");
    for (int i = 0; i < count; ++i)
        b.append(char((i * 7 + 3) & 0xFF));
    return b;
}

using Pairs = QList<QPair<int, int>>;

Pairs range(int first, const QByteArray &values)
{
    Pairs p;
    for (int i = 0; i < values.size(); ++i)
        p << qMakePair(first + i, int(uint8_t(values[i])));
    return p;
}

} // namespace

// What each command changes in the block: the whole block after the command
// must equal the block before it with exactly these offsets changed.
TEST(CommandHandler, EachCommandChangesItsOffsetsAndNothingElse)
{
    struct Case
    {
        const char *name;
        QByteArray body;
        Pairs changes;
        std::function<void(SettingsBlock &)> prepare = {};
    };
    const QByteArray map = mapBody();
    const QByteArray all = writeAllBody(540);
    const QByteArray some = writeAllBody(10);
    const QList<Case> cases = {
        {"09 RPM to gas", hex("0919"), {{23, 0x19}}},
        {"11 max RPM on petrol", hex("1141"), {{24, 0x41}}},
        {"0F temperature to gas", hex("0f2a"), {{35, 42}}},
        {"2B working pressure", hex("2b89"), {{36, 0x89}}},
        {"1E minimum pressure", hex("1e3c"), {{40, 0x3C}}},
        {"1F pressure-fault time", hex("1f02"), {{41, 2}}},
        {"22 switch-over time", hex("2218"), {{42, 0x18}}},
        {"23 cylinder sequence", hex("231e"), {{43, 30}}},
        {"0A ignition pulse source", hex("0a03"), {{21, 3}}},
        {"17 RPM signal level -> bit 1", hex("1701"), {{34, 0x02}}},
        {"21 turbo -> bit 3", hex("2101"), {{34, 0x08}}},
        {"2D injectors positive -> bit 7", hex("2d01"), {{34, 0x80}}},
        {"2D 00 clears bit 7 only", hex("2d00"), {{34, 0x0A}}, [](SettingsBlock &b) { b.set(34, 0x8A); }},
        {"2E first pressure drop -> 558 bit 0", hex("2e01"), {{558, 0x03}}, [](SettingsBlock &b) { b.set(558, 0x02); }},
        {"0E injector type", hex("0e03"), {{45, 3}}},
        {"24 second injector byte", hex("2409"), {{37, 9}}},
        {"30 third injector byte", hex("302d"), {{38, 0x2D}}},
        {"1B 8 cylinders", hex("1b05"), {{22, 5}, {20, 0xFF}}},
        {"1B 3 cylinders", hex("1b00"), {{22, 0}, {20, 0x07}}},
        {"1B 6 cylinders", hex("1b03"), {{22, 3}, {20, 0x3F}}},
        {"0D level thresholds and type", hex("0d8f704c2402"), {{25, 0x8F}, {26, 0x70}, {27, 0x4C}, {28, 0x24}, {29, 2}}},
        {"03 02 petrol with mask", hex("030205"), {{19, 2}, {20, 0x05}}},
        {"03 03 gas with mask", hex("030303"), {{19, 3}, {20, 0x03}}, [](SettingsBlock &b) { b.set(19, 2); }},
        {"2A curve selector petrol", hex("2a01"), {{44, 1}}},
        {"19 calibration report", hex("19230680"), {{12, 0x23}, {13, 6}, {14, 0x80}}},
        {"02 reference", hex("02641e785001"), range(7, hex("641e785001"))},
        {"20 map block", hex("20") + QByteArray(10, '\0') + hex("0a23ff") + QByteArray(7, '\0'),
         {{56, 0x0A}, {57, 0x23}, {58, 0xFF}}},
        {"0B correction map", map, range(66, map.mid(1))},
        {"06 clears the learned area", hex("06") + QByteArray(246, '\0'), range(312, QByteArray(246, '\0')),
         [](SettingsBlock &b) { for (int i = 312; i < 558; ++i) b.set(i, 0x55); }},
        {"1A full write-all", all, range(21, all.mid(1))},
        {"1A short write-all", some, range(21, some.mid(1))},
        {"10 00 empties the fault log", hex("1000"), range(561, QByteArray(40, char(0xFF))),
         [](SettingsBlock &b) { b.registerFault(3); b.registerFault(0); }},
        {"66 00 read-all changes nothing", hex("6600"), {}},
        {"55 01 poll changes nothing", hex("5501"), {}},
        {"66 01 startup changes nothing", hex("6601"), {}},
        {"31 01 level editing changes nothing in the block", hex("3101"), {}},
    };
    for (const Case &c : cases) {
        SettingsBlock block = SettingsBlock::factory();
        if (c.prepare)
            c.prepare(block);
        QByteArray expected = block.bytes();
        for (const auto &p : c.changes)
            expected[p.first] = char(p.second);
        EngineModel engine;
        CommandHandler handler(block, engine);
        const auto r = handler.handle(c.body);
        EXPECT_FALSE(r.answer.isEmpty()) << c.name;
        for (int i = 0; i < SettingsBlock::Size; ++i)
            ASSERT_EQ(uint8_t(block.bytes()[i]), uint8_t(expected[i])) << c.name << ", offset " << i;
        EXPECT_EQ(r.blockChanged, block.bytes() != [&] { SettingsBlock b = SettingsBlock::factory(); if (c.prepare) c.prepare(b); return b.bytes(); }())
            << c.name;
    }
}

TEST(CommandHandler, FactoryResetRestoresEverythingButTheFirmware)
{
    SettingsBlock block = SettingsBlock::factory(3, 7, 9);
    EngineModel engine;
    CommandHandler handler(block, engine);
    handler.handle(hex("0919"));
    handler.handle(mapBody());
    handler.handle(hex("1b05"));
    block.registerFault(4);
    ASSERT_NE(block.bytes(), SettingsBlock::factory(3, 7, 9).bytes());
    const auto r = handler.handle(hex("26"));
    EXPECT_EQ(block.bytes(), SettingsBlock::factory(3, 7, 9).bytes());
    EXPECT_TRUE(r.settingsAnswer);
    EXPECT_EQ(uint8_t(r.answer[3]), 0x26);
}

TEST(CommandHandler, EngineCommandsReachTheEngine)
{
    SettingsBlock block = SettingsBlock::factory();
    EngineModel engine;
    CommandHandler handler(block, engine);
    handler.handle(hex("25"));
    EXPECT_TRUE(engine.calibrating());
    handler.handle(hex("0500"));
    EXPECT_FALSE(engine.calibrating());
    handler.handle(hex("3101"));
    EXPECT_TRUE(handler.levelEditing());
    handler.handle(hex("3100"));
    EXPECT_FALSE(handler.levelEditing());
    EXPECT_TRUE(handler.handle(hex("7701")).answer.isEmpty()) << "unknown codes get no answer";
}

TEST(SettingsBlock, FactoryValues)
{
    const SettingsBlock b = SettingsBlock::factory();
    EXPECT_EQ(b.bytes().size(), 602);
    EXPECT_EQ(b.at(0), 0xAA);
    EXPECT_EQ(b.at(1) * 256 + b.at(2), 602);
    EXPECT_EQ(QByteArray(b.bytes().mid(4, 3)), hex("030707"));
    EXPECT_EQ(b.cylinderCount(), 4);
    EXPECT_EQ(b.at(20), 0x0F) << "all four cylinders on gas";
    EXPECT_EQ(b.bytes().mid(25, 4), hex("244c708f")) << "0.70, 1.50, 2.20, 2.80 V at 51 per volt";
    EXPECT_EQ(b.bytes().mid(66, 246), QByteArray(246, char(100))) << "flat map";
    EXPECT_EQ(b.bytes().mid(561, 40), QByteArray(40, char(0xFF))) << "empty fault log";
    EXPECT_EQ(b.registeredFaults(), 0);
    // The controls' ranges: the dials must be able to show the factory values.
    EXPECT_GE(b.at(23), 3);
    EXPECT_LE(b.at(23), 60);
    EXPECT_GE(b.at(35), 20);
    EXPECT_LE(b.at(35), 90);
    EXPECT_GE(b.at(36), 40);
    EXPECT_LE(b.at(36), 250);
    EXPECT_GE(b.at(42), 4);
    EXPECT_LE(b.at(42), 120);
}

TEST(SettingsBlock, FaultLogFillsInOrderAndKeepsTheOldestWhenFull)
{
    SettingsBlock b = SettingsBlock::factory();
    for (int i = 0; i < 45; ++i)
        b.registerFault(uint8_t(i % 9));
    EXPECT_EQ(b.registeredFaults(), 40);
    EXPECT_EQ(b.at(561), 0);
    EXPECT_EQ(b.at(562), 1);
    EXPECT_EQ(b.at(600), 39 % 9);
}

// Answers as the program sees them after its receive coding.
TEST(SimulatorAnswers, DecodeWithTheProgramsReceiveCoding)
{
    struct Case
    {
        const char *name;
        QByteArray body;
        int size;
        uint8_t code;
    };
    const QList<Case> cases = {
        {"startup", hex("6601"), 602, 0x0C},
        {"poll", hex("5501"), 57, 0x55},
        {"read-all", hex("6600"), 602, 0x66},
        {"factory reset", hex("26"), 602, 0x26},
        {"queued setting", hex("0919"), 57, 0x09},
        {"fuel request", hex("03030f"), 57, 0x03},
        {"map write", mapBody(), 57, 0x0B},
        {"calibration start", hex("25"), 57, 0x25},
    };
    for (const Case &c : cases) {
        Simulator sim(SimOptions{});
        qint64 t = 1000000;
        const QByteArray a = SimTest::ask(sim, c.body, t);
        ASSERT_EQ(a.size(), c.size) << c.name;
        EXPECT_EQ(uint8_t(a[0]), 0xAA) << c.name;
        EXPECT_EQ(CommandFrame::answerLength(a), c.size) << c.name;
        EXPECT_EQ(uint8_t(a[3]), c.code) << c.name;
        EXPECT_EQ(uint8_t(a.back()), CommandFrame::checksum(a.left(a.size() - 1))) << c.name;
        if (c.size == 602) {
            EXPECT_EQ(a.mid(4, 3), hex("030707")) << c.name;
        } else {
            EXPECT_EQ(uint8_t(a[34]), 0xFF) << c.name << ": healthy fault flags are all 1";
            EXPECT_EQ(uint8_t(a[35]), 0xFF) << c.name;
            EXPECT_EQ(uint8_t(a[48]), 0xFF) << c.name;
            EXPECT_EQ(uint8_t(a[4]) & 1, 1) << c.name << ": ignition on";
        }
    }
}

TEST(SimulatorAnswers, SettingsAnswerCarriesTheBlockAsChanged)
{
    Simulator sim(SimOptions{});
    qint64 t = 0;
    SimTest::ask(sim, hex("0919"), t);
    SimTest::ask(sim, mapBody(), t);
    const QByteArray a = SimTest::ask(sim, hex("6600"), t);
    ASSERT_EQ(a.size(), 602);
    EXPECT_EQ(uint8_t(a[23]), 0x19);
    EXPECT_EQ(a.mid(66, 246), mapBody().mid(1));
}

TEST(SimulatorAnswers, WrongChecksumGetsNoAnswerButTheNextCommandDoes)
{
    Simulator sim(SimOptions{});
    qint64 t = 0;
    QByteArray bad = SimTest::lineFor(hex("0919"));
    bad[bad.size() - 1] = char(uint8_t(bad.back()) ^ 0x01);
    sim.lineInput(bad, t);
    sim.tick(t += 1000);
    EXPECT_TRUE(SimTest::drain(sim, t).writes.isEmpty());
    EXPECT_EQ(sim.block().at(23), SettingsBlock::factory().at(23)) << "a rejected command changes nothing";
    EXPECT_EQ(sim.counters().rejected, 1);
    EXPECT_EQ(SimTest::ask(sim, hex("5501"), t).size(), 57);
}

TEST(SimulatorAnswers, FirmwareOption)
{
    SimOptions o;
    o.firmware = std::array<uint8_t, 3>{3, 7, 6};
    Simulator sim(o);
    qint64 t = 0;
    EXPECT_EQ(SimTest::ask(sim, hex("6601"), t).mid(4, 3), hex("030706"));
    EXPECT_EQ(SimTest::ask(sim, hex("26"), t).mid(4, 3), hex("030706")) << "a factory reset keeps the firmware";
}
