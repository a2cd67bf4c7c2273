// The settings store: texts, integers and their types survive a write and a
// fresh read; both roots, in any case, reach one file; failures throw.
#include "TempStore.h"
#include "link/ERegistry.h"
#include "link/RegistryKey.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include <climits>

namespace {

const QString kPortKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");

QByteArray storeFileText()
{
    QFile f(RegistryKey::storeLocation());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class RegistryKeyTest : public ::testing::Test
{
protected:
    TempStore store;
};

TEST_F(RegistryKeyTest, LivesInOneIniFileUnderTheConfigFolder)
{
    EXPECT_EQ(RegistryKey::storeLocation(), store.path() + "/ZENU/ZENU.ini");
}

TEST_F(RegistryKeyTest, TextsComeBackUnchanged)
{
    const QStringList texts = {
        "COM7", "", "/dev/ttyUSB0", "a\\b:c", "C:\\Program Files\\ZENU\\",
        "dword:00001c20", "sz:abc", "@foo", " lead and trail ", "x, y", "a;b=c\"d\"",
        QString::fromUtf8("Język ąęł"), "[Section]",
    };
    {
        RegistryKey key(kPortKey);
        for (int i = 0; i < texts.size(); ++i)
            key.writeString(QStringLiteral("V%1").arg(i), texts[i]);
        key.flush();
    }
    const RegistryKey key(kPortKey);
    for (int i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        EXPECT_EQ(key.readString(QStringLiteral("V%1").arg(i)), std::optional<QString>(texts[i]));
    }
    EXPECT_EQ(key.valueNames().size(), texts.size());
    // The key path stays readable in the file a user may edit.
    EXPECT_TRUE(storeFileText().contains("ZENU\\ComPort1\\V0=COM7")) << storeFileText().constData();
}

TEST_F(RegistryKeyTest, IntegersComeBackUnchanged)
{
    const int values[] = {0, 1, 7200, -1, INT_MAX, INT_MIN};
    {
        RegistryKey key(kPortKey);
        for (int v : values)
            key.writeInt(QStringLiteral("I%1").arg(v), v);
        key.flush();
    }
    const RegistryKey key(kPortKey);
    for (int v : values)
        EXPECT_EQ(key.readInt(QStringLiteral("I%1").arg(v)), std::optional<int>(v)) << v;
}

TEST_F(RegistryKeyTest, AValueIsReadOnlyAsTheTypeItWasWrittenAs)
{
    {
        RegistryKey key(kPortKey);
        key.writeString("Text", "7200");
        key.writeString("Tagged", "dword:00001c20");
        key.writeInt("Number", 7200);
        key.flush();
    }
    const RegistryKey key(kPortKey);
    EXPECT_THROW(key.readInt("Text"), ERegistry);
    EXPECT_THROW(key.readInt("Tagged"), ERegistry);
    EXPECT_THROW(key.readString("Number"), ERegistry);
    EXPECT_EQ(key.readString("Tagged"), std::optional<QString>("dword:00001c20"));
    EXPECT_EQ(key.readInt("Number"), std::optional<int>(7200));
}

TEST_F(RegistryKeyTest, MissingValuesAndOtherKeysReadAsAbsent)
{
    {
        RegistryKey key(kPortKey);
        key.writeString("Port", "COM3");
        key.flush();
    }
    const RegistryKey same(kPortKey);
    const RegistryKey other(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang"));
    EXPECT_FALSE(same.readString("BaudRate").has_value());
    EXPECT_FALSE(same.readInt("CustomBaudRate").has_value());
    EXPECT_FALSE(other.readString("Port").has_value());
    EXPECT_TRUE(other.valueNames().isEmpty());
}

TEST_F(RegistryKeyTest, RemovedValueIsGone)
{
    {
        RegistryKey key(kPortKey);
        key.writeString("Port", "COM3");
        key.writeString("Parity", "None");
        key.flush();
    }
    {
        RegistryKey key(kPortKey);
        key.remove("Port");
        key.flush();
    }
    const RegistryKey key(kPortKey);
    EXPECT_FALSE(key.contains("Port"));
    EXPECT_TRUE(key.contains("Parity"));
}

TEST_F(RegistryKeyTest, BothRootsInAnyCaseReachTheSameKey)
{
    {
        RegistryKey key(kPortKey);
        key.writeString("Port", "COM9");
        key.flush();
    }
    const QStringList paths = {
        "HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1",
        "hkey_local_machine\\Software\\ZENU\\ComPort1",
        "HKEY_CURRENT_USER\\Software\\ZENU\\ComPort1",
        "Hkey_Current_User\\Software\\ZENU\\ComPort1\\",
    };
    for (const QString &p : paths)
        EXPECT_EQ(RegistryKey(p).readString("Port"), std::optional<QString>("COM9")) << p.toStdString();
}

TEST_F(RegistryKeyTest, UnknownRootThrows)
{
    for (const QString p : {"HKEY_CLASSES_ROOT\\Software\\ZENU", "Software\\ZENU", "", "HKEY_LOCAL_MACHINEX\\Software"})
        EXPECT_THROW(RegistryKey{p}, ERegistry) << p.toStdString();
}

TEST_F(RegistryKeyTest, FlushThrowsWhenTheFileCannotBeWritten)
{
    // A plain file where the ZENU folder belongs: the store cannot be created.
    QFile blocker(store.path() + "/ZENU");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    RegistryKey key(kPortKey);
    key.writeString("Port", "COM1");
    try {
        key.flush();
        FAIL() << "flush succeeded";
    } catch (const ERegistry &e) {
        EXPECT_EQ(e.code(), int(QSettings::AccessError));
    }
}

TEST_F(RegistryKeyTest, ReadsAHandEditedFile)
{
    ASSERT_TRUE(QDir().mkpath(store.path() + "/ZENU"));
    QFile f(RegistryKey::storeLocation());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Software]\n"
            "ZENU\\ComPort1\\Port=COM12\n"
            "ZENU\\ComPort1\\CustomBaudRate=dword:00001C20\n"
            "ZENU\\SERIALCOMM\\COM3=/dev/ttyUSB0\n");
    f.close();

    const RegistryKey port(kPortKey);
    EXPECT_EQ(port.readString("Port"), std::optional<QString>("COM12"));
    EXPECT_EQ(port.readInt("CustomBaudRate"), std::optional<int>(7200));
    const RegistryKey map(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\SERIALCOMM"));
    EXPECT_EQ(map.valueNames(), QStringList{"COM3"});
    EXPECT_EQ(map.readString("COM3"), std::optional<QString>("/dev/ttyUSB0"));
}

} // namespace
