// Cylinders on gas stay on gas through a calibration and through loading a
// data file, for every cylinder count from four to eight: the real window
// against zenu-sim, the controller's block read from its state file.
#include "E2eFixture.h"

#include "../settings/SettingsBlockBytes.h"

#include "app/calibration/CalibrationPage.h"
#include "app/settings/DataFileMenu.h"

#include "settings/DataFile.h"

#include "widgets/TLedIndicator.h"

#include <QAction>
#include <QFile>
#include <QPushButton>

namespace {

constexpr int MaskOffset = 20;
constexpr int CountOffset = 22;
constexpr int HeldInterval = 600000;

struct Count {
    int cylinders;
    uint8_t code; // offset 22
};
const Count counts[] = {{4, 1}, {5, 2}, {6, 3}, {8, 5}};

uint8_t allOf(int cylinders) { return cylinders >= 8 ? 0xFF : uint8_t((1u << cylinders) - 1); }

// A working car's block: the simulator's factory values, the map flat at 1.00.
QByteArray carBlock(const Count &c, uint8_t mask)
{
    QByteArray b = settingsBlock({{4, 3},   {5, 7},    {6, 7},   {19, 3},  {MaskOffset, mask}, {21, 0},
                                  {CountOffset, c.code}, {23, 12}, {24, 65}, {25, 36}, {26, 76}, {27, 112},
                                  {28, 143}, {30, 1},   {31, 1},  {33, 4},  {35, 35}, {36, 100}, {37, 6},
                                  {38, 0x1E}, {40, 60}, {41, 30}, {42, 10}, {43, 20}, {44, 3},  {45, 8}});
    for (int k = 0; k < 246; ++k)
        b[66 + k] = char(100);
    for (int k = 561; k < 601; ++k)
        b[k] = char(0xFF);
    return b;
}

class E2eGasCylinders : public E2eFixture, public ::testing::WithParamInterface<Count>
{
protected:
    QString statePath() const { return m_config.filePath(QStringLiteral("controller.state")); }

    void connectWith(const QByteArray &block)
    {
        QFile f(statePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(block);
        f.close();
        startBoth({QStringLiteral("--state"), statePath(), QStringLiteral("--warm")});
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        polls(2);
    }

    uint8_t controllerMask() const
    {
        QFile f(statePath());
        const QByteArray b = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return b.size() > MaskOffset ? uint8_t(b[MaskOffset]) : 0;
    }

    TLedIndicator *led(int k) { return window->component<TLedIndicator>(QStringLiteral("Cyl_%1_led").arg(k)); }

    uint8_t litMask()
    {
        uint8_t m = 0;
        for (int k = 0; k < 8; ++k)
            if (led(k)->Checked())
                m |= uint8_t(1u << k);
        return m;
    }

    bool idle()
    {
        return waitFor([this] { return window->isEnabled() && session().queue().current().isEmpty()
                                       && session().queue().next().isEmpty(); },
                       8000);
    }
};

// The fitter turned the last cylinder's gas injector on after the block was
// read (an LED click), so the lit LEDs and the block's byte 20 differ at START.
TEST_P(E2eGasCylinders, CalibrationEndsWithTheCylindersOnGasThatWereAtStart)
{
    const Count c = GetParam();
    const uint8_t all = allOf(c.cylinders);
    const uint8_t lastOff = uint8_t(all & ~(1u << (c.cylinders - 1)));
    connectWith(carBlock(c, lastOff));
    ASSERT_EQ(litMask(), lastOff);
    QTest::mouseClick(led(c.cylinders - 1), Qt::LeftButton);
    ASSERT_EQ(litMask(), all);
    ASSERT_TRUE(idle()) << linkReport();

    window->Adaptacja_Timer->setInterval(HeldInterval);
    window->component<QPushButton>(QStringLiteral("Button_start"))->click();
    ASSERT_EQ(window->CalibrationStep, 0) << watcher->messages().join(QStringLiteral(" | ")).toStdString();
    CalibrationPage &page = window->calibration();
    for (int guard = 0; window->CalibrationStep != -1 && guard < 20; ++guard) {
        ASSERT_TRUE(idle() || window->CalibrationStep >= 13) << "step " << window->CalibrationStep << ": " << linkReport();
        polls(1);
        page.Adaptacja_TimerTimer();
        if (window->Adaptacja_Timer->isActive())
            window->Adaptacja_Timer->setInterval(HeldInterval);
    }
    ASSERT_EQ(window->CalibrationStep, -1);
    ASSERT_TRUE(idle()) << linkReport();
    polls(2);

    EXPECT_EQ(controllerMask(), all) << "the controller's active injectors";
    EXPECT_EQ(litMask(), all) << "the cylinder LEDs after the read-all";
    EXPECT_EQ(uint8_t(session().storedSettings().at(MaskOffset)), all);
}

// A file saved on a car with this many cylinders, all on gas, loaded into a
// controller set up for another count (four, or six for the four-cylinder file).
TEST_P(E2eGasCylinders, LoadedFileKeepsItsCylindersOnGas)
{
    const Count c = GetParam();
    const uint8_t all = allOf(c.cylinders);
    const Count other = c.cylinders == 4 ? counts[2] : counts[0];
    connectWith(carBlock(other, allOf(other.cylinders)));
    const QString file = m_config.filePath(QStringLiteral("car.zen"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(DataFile::encode(carBlock(c, all), 17));
    }
    window->dataFile().setFileChooser([&](DataFileMenu::Dialog) { return file; });
    window->component<QAction>(QStringLiteral("Odczyt1"))->trigger();
    ASSERT_TRUE(waitFor([&] { return countIn(0x66) >= 2; }, 12000)) << linkReport();
    ASSERT_TRUE(idle()) << linkReport();
    polls(2);

    EXPECT_EQ(controllerMask(), all) << "the controller's active injectors";
    EXPECT_EQ(litMask(), all) << "the cylinder LEDs after the read-all";
    for (int k = c.cylinders; k < 8; ++k)
        EXPECT_FALSE(led(k)->isEnabled()) << "absent cylinder " << k + 1;
}

INSTANTIATE_TEST_SUITE_P(Counts, E2eGasCylinders, ::testing::ValuesIn(counts),
                         [](const ::testing::TestParamInfo<Count> &info) {
                             return std::to_string(info.param.cylinders) + "Cylinders";
                         });

} // namespace
