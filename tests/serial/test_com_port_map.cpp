// COM names for devices: the lowest free number for a new device, names kept
// across runs, absent devices not listed but remembered, user edits obeyed.
#include "TempStore.h"
#include "link/ComPortMap.h"
#include "link/ESerialPort.h"
#include "link/RegistryKey.h"
#include "link/TSerialPort.h"

#include <QDir>
#include <QFile>
#include <QSerialPortInfo>
#include <gtest/gtest.h>

namespace {

using Entries = QMap<QString, QString>;

// Devices present on the imagined machine, with the path each resolves to.
ComPortMap::Resolver devices(const QMap<QString, QString> &present)
{
    return [present](const QString &path) { return present.value(path); };
}

struct AssignCase {
    const char *name;
    Entries entries;
    QStringList enumerated;
    QMap<QString, QString> present; // path -> canonical path
    QStringList listed;
    Entries added;
};

Entries thirtyAbsent()
{
    Entries e;
    for (int n = 1; n <= 30; ++n)
        e.insert(QStringLiteral("COM%1").arg(n), QStringLiteral("/dev/gone%1").arg(n));
    return e;
}

void PrintTo(const AssignCase &c, std::ostream *os)
{
    *os << c.name;
}

class ComPortMapAssign : public ::testing::TestWithParam<AssignCase> {};

TEST_P(ComPortMapAssign, ListsAndRecords)
{
    const AssignCase &c = GetParam();
    ComPortMap map(c.entries);
    EXPECT_EQ(map.assign(c.enumerated, devices(c.present)), c.listed);
    EXPECT_EQ(map.added(), c.added);
    // Nothing is ever dropped: absent and foreign entries stay.
    Entries all = c.entries;
    all.insert(c.added);
    EXPECT_EQ(map.entries(), all);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComPortMapAssign, ::testing::Values(
    AssignCase{"FirstRunNumbersDevicesInPathOrder", {},
               {"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0"},
               {{"/dev/ttyUSB1", "/dev/ttyUSB1"}, {"/dev/ttyS0", "/dev/ttyS0"}, {"/dev/ttyUSB0", "/dev/ttyUSB0"}},
               {"COM1", "COM2", "COM3"},
               {{"COM1", "/dev/ttyS0"}, {"COM2", "/dev/ttyUSB0"}, {"COM3", "/dev/ttyUSB1"}}},
    AssignCase{"KnownDeviceKeepsItsName", {{"COM4", "/dev/ttyUSB0"}},
               {"/dev/ttyUSB0"}, {{"/dev/ttyUSB0", "/dev/ttyUSB0"}},
               {"COM4"}, {}},
    AssignCase{"AbsentEntryKeepsItsNumberAndIsNotListed", {{"COM1", "/dev/ttyUSB9"}},
               {"/dev/ttyUSB0"}, {{"/dev/ttyUSB0", "/dev/ttyUSB0"}},
               {"COM2"}, {{"COM2", "/dev/ttyUSB0"}}},
    AssignCase{"NewDeviceFillsTheLowestGap", {{"COM1", "/dev/a"}, {"COM3", "/dev/c"}},
               {"/dev/a", "/dev/c", "/dev/d"},
               {{"/dev/a", "/dev/a"}, {"/dev/c", "/dev/c"}, {"/dev/d", "/dev/d"}},
               {"COM1", "COM2", "COM3"}, {{"COM2", "/dev/d"}}},
    AssignCase{"UserChosenNumberAndCaseAreObeyed", {{"COM12", "/dev/ttyUSB0"}, {"com5", "/dev/ttyACM0"}},
               {"/dev/ttyUSB0", "/dev/ttyACM0"},
               {{"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/ttyACM0", "/dev/ttyACM0"}},
               {"COM12", "COM5"}, {}},
    AssignCase{"EntryForADeviceTheSystemDoesNotEnumerateIsListed", {{"COM9", "/dev/pts/3"}},
               {}, {{"/dev/pts/3", "/dev/pts/3"}},
               {"COM9"}, {}},
    AssignCase{"EntryThroughALinkCoversTheEnumeratedDevice", {{"COM2", "/dev/serial/by-id/usb-x"}},
               {"/dev/ttyUSB0"},
               {{"/dev/serial/by-id/usb-x", "/dev/ttyUSB0"}, {"/dev/ttyUSB0", "/dev/ttyUSB0"}},
               {"COM2"}, {}},
    AssignCase{"NoFreeNumberLeavesANewDeviceOut", thirtyAbsent(),
               {"/dev/ttyUSB0"}, {{"/dev/ttyUSB0", "/dev/ttyUSB0"}},
               {}, {}},
    AssignCase{"SortedAsText", {{"COM2", "/dev/b"}, {"COM10", "/dev/a"}, {"COM1", "/dev/c"}},
               {}, {{"/dev/a", "/dev/a"}, {"/dev/b", "/dev/b"}, {"/dev/c", "/dev/c"}},
               {"COM1", "COM10", "COM2"}, {}},
    AssignCase{"ForeignNamesAreIgnored", {{"Modem", "/dev/ttyUSB0"}, {"COM0", "/dev/ttyS0"}},
               {"/dev/ttyUSB0"}, {{"/dev/ttyUSB0", "/dev/ttyUSB0"}, {"/dev/ttyS0", "/dev/ttyS0"}},
               {"COM1"}, {{"COM1", "/dev/ttyUSB0"}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ComPortMap, DeviceForMatchesComNamesInAnyCase)
{
    const ComPortMap map(Entries{{"COM3", "/dev/ttyUSB0"}, {"com7", "/dev/pts/2"}});
    EXPECT_EQ(map.deviceFor("COM3"), "/dev/ttyUSB0");
    EXPECT_EQ(map.deviceFor("com3"), "/dev/ttyUSB0");
    EXPECT_EQ(map.deviceFor("COM7"), "/dev/pts/2");
    EXPECT_EQ(map.deviceFor("COM4"), "");
    EXPECT_EQ(map.deviceFor(""), "");
}

// Through the real store and the system's own device list.
class ListPorts : public ::testing::Test
{
protected:
    TempStore store;
    QString file(const QString &name)
    {
        const QString path = store.path() + "/" + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        return path;
    }
    static Entries stored()
    {
        const RegistryKey key(ComPortMap::storeKeyPath());
        return ComPortMap::read(key).entries();
    }
};

TEST_F(ListPorts, NamesStayAcrossRunsAndAbsentEntriesStay)
{
    const QString present = file("present");
    {
        RegistryKey key(ComPortMap::storeKeyPath());
        key.writeString("COM29", present);
        key.writeString("COM1", store.path() + "/unplugged");
        key.flush();
    }
    const QStringList first = TCustomSerialPort::listPorts();
    const Entries afterFirst = stored();

    EXPECT_TRUE(first.contains("COM29"));
    EXPECT_FALSE(first.contains("COM1"));
    EXPECT_EQ(afterFirst.value("COM1"), store.path() + "/unplugged");
    // Every device the system reports got a name and was recorded.
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        EXPECT_TRUE(afterFirst.values().contains(info.systemLocation())) << info.systemLocation().toStdString();
    QStringList sorted = first;
    sorted.sort();
    EXPECT_EQ(first, sorted);

    EXPECT_EQ(TCustomSerialPort::listPorts(), first);
    EXPECT_EQ(stored(), afterFirst);
}

TEST_F(ListPorts, HandEditedNumberIsUsed)
{
    const QString device = file("adapter");
    {
        RegistryKey key(ComPortMap::storeKeyPath());
        key.writeString("COM3", device);
        key.flush();
    }
    ASSERT_TRUE(TCustomSerialPort::listPorts().contains("COM3"));

    // The user renumbers the adapter in the file.
    QFile f(RegistryKey::storeLocation());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    ASSERT_TRUE(text.contains("SERIALCOMM\\COM3="));
    text.replace("SERIALCOMM\\COM3=", "SERIALCOMM\\COM17=");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();

    const QStringList names = TCustomSerialPort::listPorts();
    EXPECT_TRUE(names.contains("COM17"));
    EXPECT_FALSE(names.contains("COM3"));
}

TEST_F(ListPorts, UnusableStoreIsARegistryError)
{
    // A folder where the store file belongs can be neither read nor written.
    ASSERT_TRUE(QDir().mkpath(RegistryKey::storeLocation()));
    try {
        const QStringList names = TCustomSerialPort::listPorts();
        FAIL() << "listing succeeded: " << names.join(',').toStdString();
    } catch (const ESerialPort &e) {
        EXPECT_TRUE(e.message().startsWith("Registry error (win error code: ")) << e.message().toStdString();
    }
}

} // namespace
