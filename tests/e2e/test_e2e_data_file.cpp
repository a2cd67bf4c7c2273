// Data files and the level sensor against zenu-sim: a block saved, changed
// on the controller, loaded back; the sensor's edits reaching the controller
// byte for byte. The controller's block is read from its state file.
#include "E2eFixture.h"

#include "app/settings/DataFileMenu.h"
#include "app/settings/LevelSensorGroup.h"

#include "link/CommandFrame.h"

#include "settings/DataFile.h"

#include "widgets/TVSlider.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>

namespace {

constexpr int WriteAllCode = 0x1A;
constexpr int ReadAllCode = 0x66;
constexpr int LevelCode = 0x0D;
constexpr int LevelEditCode = 0x31;

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

class E2eDataFile : public E2eFixture
{
protected:
    void connectWithState()
    {
        startBoth({QStringLiteral("--state"), statePath()});
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        window->dataFile().setFileChooser([this](DataFileMenu::Dialog) { return chosen; });
    }

    QString statePath() const { return m_config.filePath(QStringLiteral("controller.state")); }
    QString filePath(const char *name) const { return m_config.filePath(QString::fromLatin1(name)); }

    QByteArray controllerBlock() const
    {
        QFile f(statePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Plain frames the program sent with one code, oldest first.
    QList<QByteArray> sent(int code) const
    {
        QList<QByteArray> out;
        for (const LoggedFrame &f : SimFrameLog::select(frames(), true, code))
            out << f.plain;
        return out;
    }
    int readAlls() const { return int(sent(ReadAllCode).count(CommandFrame::frame(hex("6600")))); }
    // Codes of every frame the program sent except polls, in order.
    QList<int> commandCodes() const
    {
        QList<int> out;
        for (const LoggedFrame &f : frames())
            if (f.incoming && f.code != 0x55)
                out << f.code;
        return out;
    }

    void trigger(const char *item) { window->component<QAction>(QString::fromLatin1(item))->trigger(); }
    bool idle() { return window->isEnabled() && session().queue().current().isEmpty() && session().queue().next().isEmpty(); }

    QString chosen;
};

} // namespace

TEST_F(E2eDataFile, SavedBlockReturnsToTheControllerAfterAChange)
{
    connectWithState();
    const QByteArray factory = controllerBlock();
    ASSERT_EQ(factory.size(), 602);

    // Save: a fresh read-all, then the file.
    chosen = filePath("car");
    trigger("Zapis1");
    EXPECT_FALSE(window->isEnabled());
    ASSERT_TRUE(waitFor([&] { return QFile::exists(filePath("car.zen")) && idle(); }, 10000)) << linkReport();
    EXPECT_EQ(readAlls(), 1);
    QFile file(filePath("car.zen"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    ASSERT_EQ(saved.size(), 1219);
    const DataFile::Decoded decoded = DataFile::decodeForWriteAll(saved);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.fromOffset4, factory.mid(4, 597));

    // Change the controller's level sensor from the program.
    auto *type = window->component<QComboBox>(QStringLiteral("Rodz_czuj_LPG"));
    type->setCurrentIndex(1);
    emit type->activated(1);
    ASSERT_TRUE(waitFor([&] { return controllerBlock().mid(25, 5) == hex("8f704c2402") && idle(); }, 5000))
        << linkReport();
    EXPECT_EQ(sent(LevelCode), QList<QByteArray>{CommandFrame::frame(hex("0d8f704c2402"))});
    EXPECT_EQ(sent(LevelEditCode).last(), CommandFrame::frame(hex("3100")));

    // Load: the write-all with the file's settings, then a read-all.
    chosen = filePath("car.zen");
    trigger("Odczyt1");
    EXPECT_FALSE(window->isEnabled());
    ASSERT_TRUE(waitFor([&] { return readAlls() == 2 && idle(); }, 12000)) << linkReport();
    ASSERT_EQ(sent(WriteAllCode).size(), 1);
    EXPECT_EQ(sent(WriteAllCode).first(), CommandFrame::frame(QByteArray(1, char(WriteAllCode)) + factory.mid(21, 540)));
    const QList<int> order = commandCodes();
    EXPECT_EQ(order.mid(order.size() - 2), (QList<int>{WriteAllCode, ReadAllCode}));
    EXPECT_EQ(controllerBlock().mid(21, 540), factory.mid(21, 540));
    EXPECT_EQ(controllerBlock().mid(25, 5), hex("244c708f00"));
    EXPECT_EQ(session().storedSettings().mid(4, 597), factory.mid(4, 597));
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
}

TEST_F(E2eDataFile, ThresholdMovedOnTheSliderReachesTheControllerExactly)
{
    connectWithState();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->tab_control->setCurrentWidget(window->component(QStringLiteral("TabSheet9")));
    // The thresholds as the fitter sees them, whatever the block showed.
    const LevelSensorView &v = window->levelSensor().view();
    const QString texts[] = {QLocale().toString(0.70, 'f', 2), QLocale().toString(1.50, 'f', 2),
                             QLocale().toString(2.20, 'f', 2), QLocale().toString(2.80, 'f', 2)};
    for (int j = 0; j < 4; ++j)
        v.thresholds[j]->setText(texts[j]);
    v.sensorType->setCurrentIndex(0);

    v.thresholds[1]->setFocus();
    ASSERT_TRUE(v.changer->hasFocus());
    ASSERT_TRUE(waitFor([&] { return sent(LevelEditCode).size() == 1; }, 3000)) << linkReport();
    EXPECT_EQ(sent(LevelEditCode).first(), CommandFrame::frame(hex("3101")));
    QTest::keyPress(v.changer, Qt::Key_Up);
    QTest::keyPress(v.changer, Qt::Key_Up);
    QTest::keyRelease(v.changer, Qt::Key_Up);
    // 1.52 x 51 = 77.52 -> 0x4E.
    ASSERT_TRUE(waitFor([&] { return controllerBlock().mid(25, 5) == hex("244e708f00") && idle()
                                     && sent(LevelEditCode).size() == 2; }, 5000)) << linkReport();
    EXPECT_EQ(sent(LevelCode), QList<QByteArray>{CommandFrame::frame(hex("0d244e708f00"))});
    EXPECT_EQ(sent(LevelEditCode).last(), CommandFrame::frame(hex("3100")));
    const QList<int> order = commandCodes();
    EXPECT_EQ(order.mid(order.size() - 3), (QList<int>{LevelEditCode, LevelCode, LevelEditCode}));
    EXPECT_FALSE(v.changer->isVisible());
}
