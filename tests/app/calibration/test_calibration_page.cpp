// The "Adaptacja" page on the real window (offscreen, no controller): START's
// refusals through the real gauges, the lock of the window during a run, STOP
// and the end of a run when the link ends.
#include "tests/app/WindowFixture.h"

#include "app/calibration/CalibrationPage.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"

#include "widgets/TAnalogGControl.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

namespace {

class CalibrationPageTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        start({QStringLiteral("COM5")});
        tabs = window->tab_control;
        tabs->setCurrentWidget(window->component(QStringLiteral("TabSheet3")));
    }

    void setGauge(const char *name, float value)
    {
        window->component<TAnalogGControl>(QString::fromLatin1(name))->SetValue(value);
    }
    void warmIdle()
    {
        setGauge("RPM_Edit", 850.0f);
        setGauge("TempWoda", 75.0f);
    }
    QPushButton *button(const char *name) { return window->component<QPushButton>(QString::fromLatin1(name)); }
    QString info() { return window->component<QLabel>(QStringLiteral("Adaptacja_info"))->text(); }
    QProgressBar *progress() { return window->component<QProgressBar>(QStringLiteral("Adaptacja_progres")); }

    QTabWidget *tabs = nullptr;
};

TEST_F(CalibrationPageTest, StartRefusedOnACoolOrStoppedEngine)
{
    setGauge("RPM_Edit", 0.9f);
    setGauge("TempWoda", 75.0f);
    button("Button_start")->click();
    setGauge("RPM_Edit", 850.0f);
    setGauge("TempWoda", 59.9f);
    button("Button_start")->click();
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Uruchom silnik"),
                                     QStringLiteral("Temperatura zbyt niska poczekaj na 60 stopni")}));
    EXPECT_EQ(window->CalibrationStep, -1);
    EXPECT_FALSE(window->Adaptacja_Timer->isActive());
    EXPECT_TRUE(button("Button_start")->isEnabled());
}

TEST_F(CalibrationPageTest, RunLocksPagesMenusAndTopPanelUntilStop)
{
    const int disabledBefore = tabs->indexOf(window->component(QStringLiteral("TabSheet10")));
    ASSERT_FALSE(tabs->isTabEnabled(disabledBefore));
    warmIdle();
    button("Button_start")->click();

    ASSERT_EQ(window->CalibrationStep, 0);
    EXPECT_TRUE(window->Adaptacja_Timer->isActive());
    EXPECT_EQ(info(), QStringLiteral("Proszę czekać adaptacja w toku .."));
    EXPECT_TRUE(progress()->isEnabled());
    EXPECT_FALSE(window->component(QStringLiteral("Polacz_switch"))->isEnabled());
    EXPECT_FALSE(window->component(QStringLiteral("RPM_Edit"))->isEnabled());
    EXPECT_FALSE(button("Button_start")->isEnabled());
    EXPECT_TRUE(button("Button_stop")->isEnabled());
    for (QMenu *menu : {window->Pliki1, window->PortCOM, window->Jazyk})
        EXPECT_FALSE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
    // No other page can be chosen.
    const int page = tabs->currentIndex();
    tabs->setCurrentIndex(tabs->indexOf(window->component(QStringLiteral("TabSheet4"))));
    EXPECT_EQ(tabs->currentIndex(), page);
    // The cylinder LEDs and the fuel switch live outside the locked top panel.
    window->component(QStringLiteral("Zaplon_panel"))->setEnabled(true); // ignition seen on
    for (const char *name : {"Cyl_0_led", "Cyl_7_led", "paliwo_Switch"})
        EXPECT_TRUE(window->component(QString::fromLatin1(name))->isEnabled()) << name;

    button("Button_stop")->click();
    EXPECT_EQ(window->CalibrationStep, -1);
    EXPECT_FALSE(window->Adaptacja_Timer->isActive());
    EXPECT_EQ(info(), QStringLiteral("Adaptacja anulowana"));
    EXPECT_FALSE(progress()->isEnabled());
    EXPECT_TRUE(window->component(QStringLiteral("Polacz_switch"))->isEnabled());
    EXPECT_TRUE(button("Button_start")->isEnabled());
    for (QMenu *menu : {window->Pliki1, window->PortCOM, window->Jazyk})
        EXPECT_TRUE(menu->menuAction()->isEnabled());
    tabs->setCurrentIndex(tabs->indexOf(window->component(QStringLiteral("TabSheet4"))));
    EXPECT_NE(tabs->currentIndex(), page);
    // A page disabled before the run stays disabled.
    EXPECT_FALSE(tabs->isTabEnabled(disabledBefore));
}

TEST_F(CalibrationPageTest, DisconnectDuringARunStopsAndSaysSo)
{
    warmIdle();
    button("Button_start")->click();
    ASSERT_EQ(window->CalibrationStep, 0);
    window->rozlacz1Click();
    EXPECT_EQ(window->CalibrationStep, -1);
    EXPECT_FALSE(window->Adaptacja_Timer->isActive());
    EXPECT_TRUE(window->component(QStringLiteral("Polacz_switch"))->isEnabled());
    EXPECT_EQ(info(), window->languageTable()->programText(u"calibration.interrupted"));
    EXPECT_NE(info(), QStringLiteral("calibration.interrupted"));
}

TEST_F(CalibrationPageTest, ShowingThePageClearsTheCaption)
{
    button("Button_stop")->click();
    EXPECT_EQ(info(), QStringLiteral("Adaptacja anulowana"));
    tabs->setCurrentIndex(0);
    tabs->setCurrentWidget(window->component(QStringLiteral("TabSheet3")));
    EXPECT_EQ(info(), QStringLiteral(" "));
}

} // namespace
