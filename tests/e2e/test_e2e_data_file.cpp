// Data files and the level sensor against zenu-sim: a block saved, changed
// on the controller, loaded back; the sensor's edits reaching the controller
// byte for byte. The controller's block is read from its state file.
#include "E2eFixture.h"

#include "app/settings/DataFileMenu.h"
#include "app/settings/LevelSensorGroup.h"
#include "app/settings/SettingsCompareDialog.h"
#include "app/settings/SettingsFileMenu.h"
#include "app/settings/SettingsPanel.h"

#include "link/CommandFrame.h"

#include "settings/DataFile.h"
#include "settings/SettingsDecoder.h"

#include "widgets/TVSlider.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QLineEdit>
#include <QMenu>
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

// A file saved, two settings changed on the window: comparing the controller
// with the file lists exactly those two; once disconnected the file shows
// what was saved.
TEST_F(E2eDataFile, ComparedWithItsSavedFileTwoChangesAreTwoRowsAndTheFileShowsOffline)
{
    connectWithState();
    chosen = filePath("car");
    trigger("Zapis1");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(filePath("car.zen")) && idle(); }, 10000)) << linkReport();
    const std::optional<SettingsRecord> saved = SettingsDecoder::decode(session().storedSettings());
    ASSERT_TRUE(saved.has_value());

    auto *pulses = window->component<QComboBox>(QStringLiteral("Sel_Impuls"));
    auto *engine = window->component<QComboBox>(QStringLiteral("Sel_Typ_silnika"));
    const int savedPulse = pulses->currentIndex();
    const int savedEngine = engine->currentIndex();
    ASSERT_GE(savedPulse, 0);
    ASSERT_GE(savedEngine, 0);
    const int pulse = (savedPulse + 2) % pulses->count();
    const int engineItem = 1 - savedEngine;
    // One after the other: a command queued before the last one left would
    // take its place.
    pulses->setCurrentIndex(pulse);
    emit pulses->activated(pulse);
    ASSERT_TRUE(waitFor([&] {
        const QByteArray b = controllerBlock();
        return b.size() > 21 && uint8_t(b[21]) == pulse && idle();
    }, 5000)) << linkReport();
    engine->setCurrentIndex(engineItem);
    emit engine->activated(engineItem);
    ASSERT_TRUE(waitFor([&] {
        const QByteArray b = controllerBlock();
        return b.size() > 34 && uint8_t(b[21]) == pulse && ((uint8_t(b[34]) >> 3) & 1) == engineItem && idle();
    }, 5000)) << linkReport();

    SettingsFileMenu &files = window->settingsFile();
    files.setFileChooser([&](const QString &) { return filePath("car.zen"); });
    QStringList rows;
    QStringList header;
    bool loadOffered = false;
    files.setDialogRunner([&](SettingsCompareDialog &d) {
        for (int r = 0; r < d.differences()->rowCount(); ++r)
            rows << d.differences()->item(r, 0)->text() + QLatin1Char('|') + d.differences()->item(r, 1)->text()
                        + QLatin1Char('|') + d.differences()->item(r, 2)->text();
        header = {d.differences()->horizontalHeaderItem(1)->text(), d.differences()->horizontalHeaderItem(2)->text()};
        loadOffered = !d.loadButton()->isHidden();
    });
    window->show();
    emit window->Pliki1->aboutToShow(); // the fitter opens "Plik"
    EXPECT_TRUE(files.compareItem()->isEnabled());
    EXPECT_FALSE(files.viewItem()->isEnabled());
    files.compareItem()->trigger();
    const auto label = [&](const char *name) { return window->component<QLabel>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(rows, (QStringList{label("Label35") + QLatin1Char('|') + pulses->itemText(pulse) + QLatin1Char('|')
                                     + pulses->itemText(savedPulse),
                                 label("Label37") + QLatin1Char('|') + engine->itemText(engineItem)
                                     + QLatin1Char('|') + engine->itemText(savedEngine)}));
    EXPECT_EQ(header, (QStringList{QStringLiteral("Sterownik"), QStringLiteral("car.zen")}));
    EXPECT_TRUE(loadOffered);

    // Offline, the file shows what was saved.
    trigger("rozlacz1");
    ASSERT_TRUE(waitFor([&] { return !session().acceptsCommands(); }, 5000)) << linkReport();
    emit window->Pliki1->aboutToShow();
    EXPECT_TRUE(files.viewItem()->isEnabled());
    EXPECT_FALSE(files.compareItem()->isEnabled());
    ASSERT_TRUE(window->viewSettingsFile(filePath("car.zen")));
    EXPECT_EQ(pulses->currentIndex(), savedPulse);
    EXPECT_EQ(engine->currentIndex(), savedEngine);
    ASSERT_TRUE(window->settingsPanel().lastRecord().has_value());
    EXPECT_EQ(window->settingsPanel().lastRecord()->values, saved->values);
    EXPECT_EQ(window->settingsPanel().lastRecord()->correctionMap, saved->correctionMap);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("car.zen")));
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
