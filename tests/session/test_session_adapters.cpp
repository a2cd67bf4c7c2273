// The production pieces the window hands to the session: a QTimer adapter
// and the language key store.
#include "link/ESerialPort.h"
#include "link/RegistryKey.h"
#include "link/SessionLanguageStore.h"
#include "link/SessionTimer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(SessionTimerAdapter, PreciseAndRestartsOnlyOnARealIntervalChange)
{
    QTimer timer;
    SessionTimer t(timer);
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);

    t.setInterval(10000);
    EXPECT_FALSE(t.isActive());
    t.start();
    EXPECT_TRUE(t.isActive());
    QThread::msleep(120);

    // Same value: the running period goes on (Qt itself would restart it).
    t.setInterval(10000);
    EXPECT_EQ(t.interval(), 10000);
    EXPECT_LT(timer.remainingTime(), 9950);

    // A new value restarts the period.
    t.setInterval(20000);
    EXPECT_EQ(t.interval(), 20000);
    EXPECT_GT(timer.remainingTime(), 19900);

    t.stop();
    EXPECT_FALSE(t.isActive());
}

// Points the settings store at a scratch folder for one test.
struct ScratchStore
{
    ScratchStore() : saved(qgetenv("XDG_CONFIG_HOME")), hadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    }
    ~ScratchStore()
    {
        if (hadValue)
            qputenv("XDG_CONFIG_HOME", saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QTemporaryDir dir;
    QByteArray saved;
    bool hadValue;
};

TEST(SessionLanguageStoreAdapter, WritesCurLangUnderTheLanguageKey)
{
    ScratchStore scratch;
    SessionLanguageStore store;
    for (const char *key : {"AngielskiGB", "PolskiPL"}) {
        store.storeLanguageKey(QString::fromLatin1(key));
        RegistryKey lang(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang"));
        EXPECT_EQ(lang.readString(QStringLiteral("CurLang")), QString::fromLatin1(key));
    }
}

TEST(SessionLanguageStoreAdapter, StoreThatCannotBeWrittenGivesTheFixedMessage)
{
    ScratchStore scratch;
    // A plain file where the program's folder belongs: nothing can be saved.
    QFile blocker(scratch.dir.path() + QStringLiteral("/ZENU"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    SessionLanguageStore store;
    try {
        store.storeLanguageKey(QStringLiteral("Ceski"));
        ADD_FAILURE() << "no failure reported";
    } catch (const ESerialPort &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to store settings"));
    }
}

} // namespace
