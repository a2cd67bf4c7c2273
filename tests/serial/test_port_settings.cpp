// Storing and loading the port settings: exact value names, types and texts,
// the read-back rules for stored texts, and the two failure messages.
#include "TempStore.h"
#include "link/ESerialPort.h"
#include "link/RegistryKey.h"
#include "link/TSerialPort.h"

#include <QFile>
#include <gtest/gtest.h>

#include <variant>

namespace {

const QString kBase = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU");
const QString kKey = kBase + QStringLiteral("\\ComPort1");

using Flow = TCustomSerialPort::FlowOptions;
using Rts = TCustomSerialPort::RtsControl;

// Not one of the three named sets, so it reads as "Custom".
const Flow kOddFlow{true, false, true, Rts::Enable};

void makePort(TSerialPort &port)
{
    port.setObjectName("ComPort1");
}

QString loadError(TSerialPort &port)
{
    try {
        port.loadSettings(kBase);
    } catch (const ESerialPort &e) {
        return e.message();
    }
    return "no error";
}

class PortSettings : public ::testing::Test
{
protected:
    TempStore store;

    using Value = std::variant<QString, int>;
    static void seed(const QList<QPair<QString, Value>> &values)
    {
        RegistryKey key(kKey);
        for (const auto &[name, v] : values) {
            if (std::holds_alternative<int>(v))
                key.writeInt(name, std::get<int>(v));
            else
                key.writeString(name, std::get<QString>(v));
        }
        key.flush();
    }
};

TEST_F(PortSettings, StoreThenLoadRestoresTheConnectSettings)
{
    TSerialPort written;
    makePort(written);
    written.setPort("COM7");
    written.setBaudRate(BaudRateChoice::Custom);
    written.setCustomBaudRate(7200);
    written.storeSettings(kBase);

    // Stored under the component's own name with the exact names and types.
    const RegistryKey key(kKey);
    EXPECT_EQ(key.readString("Port"), std::optional<QString>("COM7"));
    EXPECT_EQ(key.readString("BaudRate"), std::optional<QString>("Custom"));
    EXPECT_EQ(key.readInt("CustomBaudRate"), std::optional<int>(7200));
    EXPECT_EQ(key.readString("StopBits"), std::optional<QString>("1"));
    EXPECT_EQ(key.readString("DataBits"), std::optional<QString>("8"));
    EXPECT_EQ(key.readString("Parity"), std::optional<QString>("None"));
    EXPECT_EQ(key.readString("FlowControl"), std::optional<QString>("None"));
    EXPECT_EQ(key.valueNames().size(), 7);

    TSerialPort read;
    makePort(read);
    read.setPort("COM1");
    read.setBaudRate(BaudRateChoice::Br9600);
    read.setCustomBaudRate(1234);
    read.setFlowOptions(kOddFlow);
    read.loadSettings(kBase);
    EXPECT_EQ(read.port(), "COM7");
    EXPECT_EQ(read.baudRate(), BaudRateChoice::Custom);
    EXPECT_EQ(read.customBaudRate(), 7200);
    EXPECT_EQ(read.effectiveBaudRate(), 7200);
    EXPECT_EQ(read.stopBits(), "1");
    EXPECT_EQ(read.dataBits(), "8");
    EXPECT_EQ(read.parity(), "None");
    EXPECT_EQ(read.flowControl(), "None");
}

TEST_F(PortSettings, StandardRateStoresNoCustomRate)
{
    seed({{"BaudRate", QString("115200")}, {"StopBits", QString("2")}, {"DataBits", QString("7")},
          {"Parity", QString("Even")}, {"FlowControl", QString("Software")}});
    TSerialPort port;
    makePort(port);
    port.loadSettings(kBase);
    {
        RegistryKey key(kKey);
        key.remove("BaudRate");
        key.remove("StopBits");
        key.flush();
    }
    port.storeSettings(kBase);

    const RegistryKey key(kKey);
    EXPECT_EQ(key.readString("BaudRate"), std::optional<QString>("115200"));
    EXPECT_FALSE(key.contains("CustomBaudRate"));
    EXPECT_EQ(key.readString("StopBits"), std::optional<QString>("2"));
    EXPECT_EQ(key.readString("DataBits"), std::optional<QString>("7"));
    EXPECT_EQ(key.readString("Parity"), std::optional<QString>("Even"));
    EXPECT_EQ(key.readString("FlowControl"), std::optional<QString>("Software"));
}

struct ReadBack {
    const char *name;
    QList<QPair<QString, std::variant<QString, int>>> stored;
    QString port;
    BaudRateChoice baud;
    int custom;
    QString stopBits, dataBits, parity;
    Flow flow;
};

void PrintTo(const ReadBack &c, std::ostream *os)
{
    *os << c.name;
}

class PortSettingsReadBack : public PortSettings, public ::testing::WithParamInterface<ReadBack> {};

TEST_P(PortSettingsReadBack, Applies)
{
    const ReadBack &c = GetParam();
    seed(c.stored);
    TSerialPort port;
    makePort(port);
    port.setPort("COM30");
    port.setCustomBaudRate(5000);
    port.setFlowOptions(kOddFlow);
    port.loadSettings(kBase);
    EXPECT_EQ(port.port(), c.port);
    EXPECT_EQ(port.baudRate(), c.baud);
    EXPECT_EQ(port.customBaudRate(), c.custom);
    EXPECT_EQ(port.stopBits(), c.stopBits);
    EXPECT_EQ(port.dataBits(), c.dataBits);
    EXPECT_EQ(port.parity(), c.parity);
    EXPECT_TRUE(port.flowOptions() == c.flow) << port.flowControl().toStdString();
}

using S = QString;
const Flow kHardware{true, false, false, Rts::Handshake};
const Flow kSoftware{false, true, true, Rts::Disable};
const Flow kNone{};

INSTANTIATE_TEST_SUITE_P(Rules, PortSettingsReadBack, ::testing::Values(
    ReadBack{"FirstStartEmptyStore", {}, "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"CustomInAnyCase", {{"Port", S("COM3")}, {"BaudRate", S("cUSTOM")}, {"CustomBaudRate", 7200}},
             "COM3", BaudRateChoice::Custom, 7200, "1", "8", "None", kOddFlow},
    ReadBack{"StandardRate", {{"BaudRate", S("115200")}},
             "", BaudRateChoice::Br115200, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"UnknownRateGives9600", {{"BaudRate", S("7200")}, {"CustomBaudRate", 7200}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"SpacedRateGives9600", {{"BaudRate", S(" 2400")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"KnownLineTexts", {{"StopBits", S("1.5")}, {"DataBits", S("5")}, {"Parity", S("sPACE")}},
             "", BaudRateChoice::Br9600, 5000, "1.5", "5", "Space", kOddFlow},
    ReadBack{"UnknownLineTextsGiveDefaults", {{"StopBits", S("3")}, {"DataBits", S("9")}, {"Parity", S("Pair")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"HardwareFlow", {{"FlowControl", S("hardware")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kHardware},
    ReadBack{"SoftwareFlow", {{"FlowControl", S("SOFTWARE")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kSoftware},
    ReadBack{"NoFlow", {{"FlowControl", S("None")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kNone},
    ReadBack{"CustomFlowLeavesOptions", {{"FlowControl", S("Custom")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"UnknownFlowLeavesOptions", {{"FlowControl", S("RTS")}},
             "", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow},
    ReadBack{"PortTextKeptAsIs", {{"Port", S("com12")}},
             "com12", BaudRateChoice::Br9600, 5000, "1", "8", "None", kOddFlow}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PortSettings, FlowControlTextFollowsTheOptions)
{
    const struct { Flow flow; const char *text; } cases[] = {
        {kNone, "None"}, {kHardware, "Hardware"}, {kSoftware, "Software"}, {kOddFlow, "Custom"},
        {Flow{false, true, false, Rts::Disable}, "Custom"},
    };
    for (const auto &c : cases) {
        TSerialPort port;
        port.setFlowOptions(c.flow);
        EXPECT_EQ(port.flowControl(), c.text);
    }
}

TEST_F(PortSettings, UnreadableValuesFailAndChangeNothing)
{
    const struct {
        const char *name;
        QList<QPair<QString, std::variant<QString, int>>> stored;
    } cases[] = {
        {"CustomWithoutRate", {{"Port", S("COM3")}, {"BaudRate", S("Custom")}}},
        {"CustomRateAsText", {{"Port", S("COM3")}, {"BaudRate", S("Custom")}, {"CustomBaudRate", S("7200")}}},
        {"PortAsNumber", {{"Port", 3}, {"BaudRate", S("9600")}}},
        {"ParityAsNumber", {{"Port", S("COM3")}, {"Parity", 0}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        {
            RegistryKey key(kKey);
            for (const QString &n : key.valueNames())
                key.remove(n);
            key.flush();
        }
        seed(c.stored);
        TSerialPort port;
        makePort(port);
        port.setPort("COM30");
        port.setBaudRate(BaudRateChoice::Br4800);
        EXPECT_EQ(loadError(port), "Failed to load settings");
        EXPECT_EQ(port.port(), "COM30");
        EXPECT_EQ(port.baudRate(), BaudRateChoice::Br4800);
    }
}

TEST_F(PortSettings, UnwritableStoreFailsToStore)
{
    QFile blocker(store.path() + "/ZENU");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSerialPort port;
    makePort(port);
    try {
        port.storeSettings(kBase);
        FAIL() << "store succeeded";
    } catch (const ESerialPort &e) {
        EXPECT_EQ(e.message(), "Failed to store settings");
    }
}

TEST_F(PortSettings, KeyIsNamedAfterTheComponent)
{
    TSerialPort port;
    port.setObjectName("OtherPort");
    port.setPort("COM2");
    port.storeSettings(kBase);
    EXPECT_EQ(RegistryKey(kBase + "\\OtherPort").readString("Port"), std::optional<QString>("COM2"));
    EXPECT_FALSE(RegistryKey(kKey).contains("Port"));
}

} // namespace
