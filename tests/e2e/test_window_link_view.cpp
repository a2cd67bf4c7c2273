// The link session's view of the main window: each thing the session asks
// for lands on the right component, and the connection switch tells a user's
// throw apart from the program setting it.
#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"
#include "link/TSerialPort.h"

#include "widgets/TLedIndicator.h"
#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QColor kGrey(0x80, 0x80, 0x80);

class WindowLinkViewTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        UserMessage::setInterceptor([this](const QString &text) { messages << text; });
        window = std::make_unique<TZENU>([] { return QStringList{}; }, [](const QUrl &) { return true; });
    }
    void TearDown() override
    {
        window.reset();
        UserMessage::setInterceptor({});
    }

    template <class T = QWidget>
    T *part(const char *name) const
    {
        return window->component<T>(QString::fromLatin1(name));
    }
    TLedIndicator *led(const QString &name) const { return window->component<TLedIndicator>(name); }
    TToggleSwitch *connectSwitch() const { return part<TToggleSwitch>("Polacz_switch"); }

    QTemporaryDir m_config;
    std::unique_ptr<TZENU> window;
    QStringList messages;
};

struct ViewCase
{
    const char *label;
    std::function<void(WindowLinkViewTest &, TZENU &)> before; // the opposite state first
    std::function<void(WindowLinkView &)> act;
    std::function<void(TZENU &)> check;
};

void PrintTo(const ViewCase &c, std::ostream *os)
{
    *os << c.label;
}

class ViewEffect : public WindowLinkViewTest, public ::testing::WithParamInterface<ViewCase>
{
};

TEST_P(ViewEffect, ReachesTheComponent)
{
    const ViewCase &c = GetParam();
    for (const char *name : {"Polacz_switch", "Cyl_0_led", "Cyl_7_led", "rezerwa_led_gora", "Rezerwa_led_panel"})
        ASSERT_NE(part(name), nullptr) << name;
    // A port name, so that a change wrongly taken for the user's would act.
    window->ComPort1->setPort(QStringLiteral("COM9"));
    if (c.before)
        c.before(*this, *window);
    c.act(window->linkView());
    c.check(*window);
    // None of these is a user's action: no connect, no disconnect sequence.
    EXPECT_TRUE(window->session().linkState().isEmpty());
    EXPECT_EQ(window->linkView().liveFramesApplied(), 0);
    EXPECT_FALSE(window->ComPort1->connected());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}

QColor windowColour(QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

const ViewCase kViewCases[] = {
    {"panels_grey", {}, [](WindowLinkView &v) { v.setLinkPanelsGrey(true); },
     [](TZENU &w) {
         EXPECT_EQ(windowColour(w.Panel1Gora), kGrey);
         EXPECT_EQ(windowColour(w.component(QStringLiteral("Zaplon_panel"))), kGrey);
         EXPECT_TRUE(w.component(QStringLiteral("Zaplon_panel"))->autoFillBackground());
     }},
    {"panels_button_face", [](auto &, TZENU &w) { w.linkView().setLinkPanelsGrey(true); },
     [](WindowLinkView &v) { v.setLinkPanelsGrey(false); },
     [](TZENU &w) {
         const QColor face = QApplication::palette().color(QPalette::Button);
         EXPECT_EQ(windowColour(w.Panel1Gora), face);
         EXPECT_EQ(windowColour(w.component(QStringLiteral("Zaplon_panel"))), face);
     }},
    {"window_disabled", {}, [](WindowLinkView &v) { v.setWindowEnabled(false); },
     [](TZENU &w) {
         EXPECT_FALSE(w.isEnabled());
         // No menu takes input either.
         EXPECT_FALSE(w.menuBar()->isEnabled());
     }},
    {"switch_on_by_program", {},
     [](WindowLinkView &v) {
         v.setConnectSwitchOnText(QStringLiteral("COM3 - ON"));
         v.setConnectSwitchOn(true);
     },
     [](TZENU &w) {
         auto *sw = w.component<TToggleSwitch>(QStringLiteral("Polacz_switch"));
         EXPECT_TRUE(sw->Checked());
         EXPECT_EQ(sw->ShownText(), QStringLiteral("COM3 - ON"));
     }},
    {"switch_off_by_program", [](auto &t, TZENU &) { t.connectSwitch()->SetChecked(true); },
     [](WindowLinkView &v) { v.setConnectSwitchOn(false); },
     [](TZENU &w) {
         auto *sw = w.component<TToggleSwitch>(QStringLiteral("Polacz_switch"));
         EXPECT_FALSE(sw->Checked());
         EXPECT_EQ(sw->ShownText(), QStringLiteral("Rozłączony"));
     }},
    {"file_menu_available", {}, [](WindowLinkView &v) { v.setFileMenuAvailable(true); },
     [](TZENU &w) {
         for (const char *name : {"Odczyt1", "Zapis1", "Reset1"}) {
             EXPECT_TRUE(w.component<QAction>(QString::fromLatin1(name))->isVisible()) << name;
             EXPECT_TRUE(w.component<QAction>(QString::fromLatin1(name))->isEnabled()) << name;
         }
     }},
    {"file_menu_withdrawn", [](auto &, TZENU &w) { w.linkView().setFileMenuAvailable(true); },
     [](WindowLinkView &v) { v.setFileMenuAvailable(false); },
     [](TZENU &w) {
         for (const char *name : {"Odczyt1", "Zapis1", "Reset1"}) {
             EXPECT_FALSE(w.component<QAction>(QString::fromLatin1(name))->isVisible()) << name;
             EXPECT_FALSE(w.component<QAction>(QString::fromLatin1(name))->isEnabled()) << name;
         }
     }},
    {"reserve_leds_flash", {}, [](WindowLinkView &v) { v.setReserveLedsFlashing(true); },
     [](TZENU &w) {
         for (const char *name : {"rezerwa_led_gora", "Rezerwa_led_panel"})
             EXPECT_TRUE(w.component<TLedIndicator>(QString::fromLatin1(name))->Flashing()) << name;
     }},
    {"reserve_leds_rest",
     [](auto &t, TZENU &) {
         for (const char *name : {"rezerwa_led_gora", "Rezerwa_led_panel"}) {
             t.led(QString::fromLatin1(name))->SetChecked(true);
             t.led(QString::fromLatin1(name))->SetFlashing(true);
         }
     },
     [](WindowLinkView &v) { v.setReserveLedsFlashing(false); },
     [](TZENU &w) {
         for (const char *name : {"rezerwa_led_gora", "Rezerwa_led_panel"}) {
             auto *led = w.component<TLedIndicator>(QString::fromLatin1(name));
             EXPECT_FALSE(led->Flashing()) << name;
             EXPECT_FALSE(led->Checked()) << name;
         }
     }},
    {"injector_leds_rest",
     [](auto &t, TZENU &) {
         for (int k = 0; k < 8; ++k) {
             t.led(QStringLiteral("Cyl_%1_led").arg(k))->SetColorOff(QColor(0x00, 0x80, 0x00));
             t.led(QStringLiteral("Cyl_%1_led").arg(k))->SetChecked(true);
         }
     },
     [](WindowLinkView &v) { v.resetInjectorLeds(); },
     [](TZENU &w) {
         for (int k = 0; k < 8; ++k) {
             auto *led = w.component<TLedIndicator>(QStringLiteral("Cyl_%1_led").arg(k));
             EXPECT_FALSE(led->Checked()) << k;
             EXPECT_EQ(led->LED().ColorOff(), kGrey) << k;
         }
     }},
    {"scope_lambda_views_unchecked",
     [](auto &t, TZENU &) { t.template part<QRadioButton>("RPM_LAMBDA2")->setChecked(true); },
     [](WindowLinkView &v) { v.uncheckScopeLambdaButtons(); },
     [](TZENU &w) {
         for (const char *name : {"RPM_LAMBDA1", "RPM_LAMBDA2", "OSC_MAP_P1"})
             EXPECT_FALSE(w.component<QRadioButton>(QString::fromLatin1(name))->isChecked()) << name;
         // Still one group: choosing a view afterwards unchoses the other.
         auto *a = w.component<QRadioButton>(QStringLiteral("RPM_LAMBDA1"));
         auto *b = w.component<QRadioButton>(QStringLiteral("RPM_LAMBDA2"));
         a->setChecked(true);
         b->setChecked(true);
         EXPECT_FALSE(a->isChecked());
     }},
    {"fault_memo_and_banner", {},
     [](WindowLinkView &v) {
         v.setFaultMemoText(QStringLiteral("E04"));
         v.setErrorLedVisible(true);
     },
     [](TZENU &w) {
         EXPECT_EQ(w.component<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"))->toPlainText(),
                   QStringLiteral("E04"));
         EXPECT_EQ(w.linkView().faultMemoText(), QStringLiteral("E04"));
         EXPECT_TRUE(w.component(QStringLiteral("Error_Led"))->isVisibleTo(&w));
     }},
    {"status_and_texts", {}, [](WindowLinkView &v) { v.setStatusText(QStringLiteral("ZENU ver. 3.07.07")); },
     [](TZENU &w) {
         EXPECT_EQ(w.statusPanelText(), QStringLiteral("ZENU ver. 3.07.07"));
         EXPECT_EQ(w.linkView().statusText(), QStringLiteral("ZENU ver. 3.07.07"));
         EXPECT_EQ(w.linkView().messageText(11), w.languageTable()->message(11));
         EXPECT_FALSE(w.linkView().messageText(11).isEmpty());
         EXPECT_EQ(w.linkView().currentLanguageKey(), QStringLiteral("PolskiPL"));
     }},
};

INSTANTIATE_TEST_SUITE_P(Link, ViewEffect, ::testing::ValuesIn(kViewCases),
                         [](const auto &info) { return std::string(info.param.label); });

// --- the connection switch thrown by the user ----------------------------------

// Presses the half of the switch that throws it, as a mouse would.
void throwSwitch(TToggleSwitch *sw)
{
    QTest::mouseClick(sw, Qt::LeftButton, {}, sw->FaceRect().center().toPoint());
}

// The panels change colour at every connect, disconnect and lost link. The
// style keeps a picture of each button per palette it is drawn with, so a
// button whose palette changed with the panel would leave a new picture in
// memory at every change, without end over a long drive.
TEST_F(WindowLinkViewTest, TheButtonsOnTheGreyPanelsKeepTheirPaletteAcrossItsChanges)
{
    QList<QAbstractButton *> buttons;
    for (QWidget *panel : {window->Panel1Gora, window->component(QStringLiteral("Zaplon_panel"))}) {
        ASSERT_NE(panel, nullptr);
        for (QAbstractButton *b : panel->findChildren<QAbstractButton *>())
            if (qobject_cast<QToolButton *>(b) || qobject_cast<QPushButton *>(b))
                buttons << b;
    }
    ASSERT_FALSE(buttons.isEmpty()) << "the record button sits on the top panel";
    window->linkView().setLinkPanelsGrey(true); // the first change may give them their own
    QList<qint64> keys;
    for (QAbstractButton *b : buttons)
        keys << b->palette().cacheKey();
    for (int i = 0; i < 3; ++i) {
        window->linkView().setLinkPanelsGrey(false);
        window->linkView().setLinkPanelsGrey(true);
    }
    for (qsizetype i = 0; i < buttons.size(); ++i)
        EXPECT_EQ(buttons[i]->palette().cacheKey(), keys[i]) << buttons[i]->objectName().toStdString();
}

TEST_F(WindowLinkViewTest, SwitchWithoutPortNameDoesNothing)
{
    window->show();
    ASSERT_TRUE(window->ComPort1->port().isEmpty());
    TToggleSwitch *sw = connectSwitch();
    throwSwitch(sw);
    ASSERT_TRUE(sw->Checked()); // the throw itself happened
    EXPECT_TRUE(window->session().linkState().isEmpty());
    EXPECT_EQ(sw->TextOn(), QStringLiteral("ON"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}

TEST_F(WindowLinkViewTest, SwitchOnConnectsAndSwitchOffDisconnects)
{
    window->show();
    // A COM name with no device behind it: the connect gets as far as opening.
    window->ComPort1->setPort(QStringLiteral("COM9"));
    TToggleSwitch *sw = connectSwitch();

    throwSwitch(sw);
    ASSERT_TRUE(sw->Checked());
    EXPECT_EQ(sw->TextOn(), QStringLiteral("COM9"));
    ASSERT_EQ(messages.size(), 1);
    // Told by its cause, with the port's own message as the details.
    EXPECT_TRUE(messages.first().startsWith(QStringLiteral("Port COM9 nie istnieje"))) << messages.first().toStdString();
    EXPECT_TRUE(messages.first().contains(QStringLiteral("Unable to open com port (win error code: 1)")))
        << messages.first().toStdString();
    EXPECT_TRUE(window->session().linkState().isEmpty());

    // Thrown back: the disconnect sequence runs and stores the port settings.
    window->component(QStringLiteral("Error_Led"))->setVisible(true);
    throwSwitch(sw);
    EXPECT_FALSE(sw->Checked());
    EXPECT_FALSE(window->component(QStringLiteral("Error_Led"))->isVisibleTo(window.get()));
    EXPECT_EQ(window->linkView().lastLiveAnswer(), QByteArray(500, '\0'));
    EXPECT_EQ(messages.size(), 1);
}

} // namespace
