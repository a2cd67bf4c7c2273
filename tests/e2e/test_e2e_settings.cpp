// The settings controls against zenu-sim: the window shows the simulator's
// block after the handshake, every change made in the window lands in the
// simulator's block, a factory reset brings the factory values back, and the
// fuel switch and injector LEDs change what the simulated engine runs on.
#include "E2eFixture.h"

#include "tests/settings/SettingsBlockBytes.h"

#include "widgets/TAnalogCControl.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class E2eSettings : public E2eFixture
{
protected:
    QString statePath() const { return m_config.filePath(QStringLiteral("controller.bin")); }

    // The simulator starts from `block` (firmware 3.7.7) kept in its state file.
    void connectWith(QByteArray block, const QStringList &extra = {})
    {
        block[4] = 3;
        block[5] = 7;
        block[6] = 7;
        QFile f(statePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(block);
        f.close();
        startBoth(QStringList{QStringLiteral("--state"), statePath()} + extra);
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
    }

    QByteArray simBlock() const
    {
        QFile f(statePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Waits until the simulator's block holds `value` at `offset`.
    bool simHolds(int offset, uint8_t value, int ms = 6000)
    {
        return waitFor([&] {
            const QByteArray b = simBlock();
            return b.size() > offset && uint8_t(b[offset]) == value;
        }, ms);
    }

    template <class T = QWidget>
    T *w(const char *name)
    {
        T *found = window->component<T>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void pick(const char *combo, int item)
    {
        auto *c = w<QComboBox>(combo);
        c->setCurrentIndex(item);
        emit c->activated(item);
    }

    // As a release after the user moved the control.
    void release(const char *control, float value)
    {
        auto *c = w<TAnalogCControl>(control);
        c->SetValue(value);
        emit c->OnValueChanged();
    }

    // Nothing left in the queue, so the next change is taken.
    bool queueEmpty()
    {
        return waitFor([&] { return session().queue().current().isEmpty() && session().queue().next().isEmpty(); },
                       5000);
    }
};

QByteArray distinctiveBlock()
{
    QByteArray b = settingsBlock({{20, 0xA5}, {21, 3},   {22, 5},   {23, 20},  {24, 70},  {25, 51},  {26, 102},
                                  {27, 153},  {28, 204}, {29, 2},   {30, 1},   {31, 1},   {33, 4},   {34, 0x8A},
                                  {35, 50},   {36, 150}, {40, 70},  {41, 45},  {42, 20},  {43, 30},  {45, 7},
                                  {558, 0x01}, {561, 3}});
    for (int k = 0; k < 246; ++k)
        b[66 + k] = char(90 + k % 20);
    return b;
}

TEST_F(E2eSettings, ControlsShowTheSimulatorsBlock)
{
    connectWith(distinctiveBlock());
    EXPECT_EQ(w<QComboBox>("Sel_cyl")->currentText(), QStringLiteral("8 cyl."));
    EXPECT_EQ(w<QComboBox>("Sel_Impuls")->currentText(), QStringLiteral("4 cyl."));
    EXPECT_EQ(w<QComboBox>("Sel_RPM_signal")->currentText(), QStringLiteral("High 12V"));
    EXPECT_EQ(w<QComboBox>("Sel_Typ_silnika")->currentText(), QStringLiteral("Turbo"));
    EXPECT_TRUE(w<QCheckBox>("Check_Injector_plus")->isChecked());
    EXPECT_EQ(w<QComboBox>("Sel_Typ_wtrysku")->currentText(), QStringLiteral("Keihin"));
    EXPECT_EQ(w<QComboBox>("Rodz_czuj_LPG")->currentText(), QStringLiteral("90-0 Ohm"));
    EXPECT_TRUE(w<QCheckBox>("Check_by_first")->isChecked());
    const std::pair<const char *, float> values[] = {
        {"P_pracy_changer", 1.50f}, {"RPM_Prog_przel", 2000},    {"RPM_Max_To_Petrol", 7000}, {"Temp_LPG_changer", 50},
        {"T_zwloki_changer", 450},  {"T_przel_to_LPG", 10},     {"T_CYL_seqence", 300}};
    for (const auto &[name, value] : values)
        EXPECT_FLOAT_EQ(w<TAnalogCControl>(name)->Value(), value) << name;
    EXPECT_NEAR(w<TAnalogCControl>("P_min_changer")->Value(), 0.70f, 0.005f);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(w<TLedIndicator>(QStringLiteral("Cyl_%1_led").arg(k).toLatin1())->Checked(), bool(0xA5 & (1 << k)));
    EXPECT_EQ(w<QLineEdit>("Ch_U_LPG_4")->text().size(), 4);
    EXPECT_TRUE(w<QLineEdit>("Ch_U_LPG_4")->text().startsWith(QLatin1Char('4')));
    EXPECT_EQ(w<QPlainTextEdit>("Register_errors_memo")->toPlainText(),
              QStringLiteral("1 - Cisnienie gazu za wysokie\n3"));
}

TEST_F(E2eSettings, EveryChangeLandsInTheSimulatorAndFactoryResetBringsDefaultsBack)
{
    connectWith(distinctiveBlock());
    struct Change
    {
        const char *what;
        std::function<void()> act;
        int offset;
        uint8_t expected;
    };
    const std::vector<Change> changes = {
        {"Sel_Impuls", [&] { pick("Sel_Impuls", 1); }, 21, 1},
        {"Sel_RPM_signal", [&] { pick("Sel_RPM_signal", 0); }, 34, 0x88},
        {"Sel_Typ_silnika", [&] { pick("Sel_Typ_silnika", 0); }, 34, 0x80},
        {"Check_Injector_plus", [&] { w<QCheckBox>("Check_Injector_plus")->click(); }, 34, 0x00},
        {"Sel_Typ_wtrysku", [&] { pick("Sel_Typ_wtrysku", 2); }, 45, 3},
        {"P_pracy_changer", [&] { release("P_pracy_changer", 1.37f); }, 36, 137},
        {"P_min_changer", [&] { release("P_min_changer", 0.80f); }, 40, 80},
        {"Check_by_first", [&] { w<QCheckBox>("Check_by_first")->click(); }, 558, 0x00},
        {"RPM_Max_To_Petrol", [&] { release("RPM_Max_To_Petrol", 6000); }, 24, 60},
        {"T_zwloki_changer", [&] { release("T_zwloki_changer", 250); }, 41, 25},
        {"RPM_Prog_przel", [&] { release("RPM_Prog_przel", 2500); }, 23, 25},
        {"Temp_LPG_changer", [&] { release("Temp_LPG_changer", 40); }, 35, 40},
        {"T_przel_to_LPG", [&] { release("T_przel_to_LPG", 12); }, 42, 24},
        {"T_CYL_seqence", [&] { release("T_CYL_seqence", 100); }, 43, 10},
        {"Sel_cyl", [&] { pick("Sel_cyl", 3); }, 22, 3},
    };
    for (const Change &c : changes) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(queueEmpty()) << linkReport();
        c.act();
        EXPECT_TRUE(simHolds(c.offset, c.expected)) << linkReport();
    }
    EXPECT_TRUE(simHolds(20, 0x3F)); // six cylinders, all on gas
    EXPECT_EQ(uint8_t(simBlock()[37]), 0x09); // the injector type's other two bodies
    EXPECT_EQ(uint8_t(simBlock()[38]), 0x2D);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(w(QStringLiteral("Cyl_%1_led").arg(k).toLatin1())->isEnabled(), k < 6) << k;

    ASSERT_TRUE(queueEmpty());
    window->component<QAction>(QStringLiteral("Reset1"))->trigger();
    ASSERT_TRUE(simHolds(22, 1)) << linkReport();
    ASSERT_TRUE(waitFor([&] { return w<QComboBox>("Sel_cyl")->currentText() == QStringLiteral("4 cyl."); }, 8000))
        << linkReport();
    ASSERT_TRUE(waitFor([&] { return window->isEnabled(); }, 5000));
    EXPECT_EQ(session().storedSettings().mid(21, 540), simBlock().mid(21, 540));
    EXPECT_EQ(w<QComboBox>("Sel_Impuls")->currentIndex(), 0);
    EXPECT_EQ(w<QComboBox>("Sel_Typ_wtrysku")->currentText(), QStringLiteral("Valtek/Rail 1 Ohm"));
    EXPECT_FLOAT_EQ(w<TAnalogCControl>("P_pracy_changer")->Value(), 1.00f);
    EXPECT_FLOAT_EQ(w<TAnalogCControl>("RPM_Prog_przel")->Value(), 1200);
    EXPECT_FLOAT_EQ(w<TAnalogCControl>("T_przel_to_LPG")->Value(), 5);
    EXPECT_EQ(w<QComboBox>("Rodz_czuj_LPG")->currentText(), QStringLiteral("0-90 Ohm"));
    EXPECT_EQ(w<QPlainTextEdit>("Register_errors_memo")->toPlainText(), QString());
}

TEST_F(E2eSettings, FuelSwitchAndInjectorLedsChangeWhatTheEngineRunsOn)
{
    QByteArray block = distinctiveBlock();
    block[22] = 1;    // four cylinders
    block[20] = 0x0F; // all on gas
    block[19] = 3;    // gas asked for
    block[23] = 5; // gas from 500 rpm: an idle engine switches
    block[35] = 35;
    block[42] = 4;
    connectWith(block, {QStringLiteral("--warm")});
    sim->command(QStringLiteral("engine start"));
    auto *fuel = w<TToggleSwitch>("paliwo_Switch");
    ASSERT_TRUE(waitFor([&] { return fuel->Checked(); }, 20000)) << "never on gas: " << linkReport();
    ASSERT_TRUE(w("Zaplon_panel")->isEnabled());

    // On gas, an injector LED goes out at once with the new set.
    QTest::mouseClick(w("Cyl_1_led"), Qt::LeftButton);
    EXPECT_TRUE(simHolds(20, 0x0D)) << linkReport();

    // The switch asks for petrol, and the engine leaves gas.
    auto *pending = w<QLabel>("paliwo_pending");
    EXPECT_TRUE(pending->isHidden());
    ASSERT_TRUE(queueEmpty());
    QTest::mouseClick(fuel, Qt::LeftButton);
    EXPECT_TRUE(simHolds(19, 2)) << linkReport();
    EXPECT_TRUE(waitFor([&] { return !fuel->Checked(); }, 5000)) << linkReport();
    EXPECT_TRUE(pending->isHidden()) << "carried out: nothing waits";

    // On petrol an LED only changes the set the next request carries.
    const int fuelCommands = countIn(0x03);
    QTest::mouseClick(w("Cyl_1_led"), Qt::LeftButton);
    EXPECT_EQ(countIn(0x03), fuelCommands);
    ASSERT_TRUE(queueEmpty());
    QTest::mouseClick(fuel, Qt::LeftButton);
    // The switch-over takes its time: the request shows as waiting, the switch still says PB.
    EXPECT_FALSE(pending->isHidden());
    EXPECT_EQ(pending->text(), window->languageTable()->programText(QStringLiteral("fuel.pending_gas")));
    EXPECT_FALSE(fuel->Checked());
    EXPECT_TRUE(simHolds(19, 3)) << linkReport();
    EXPECT_TRUE(simHolds(20, 0x0F)) << linkReport();
    EXPECT_TRUE(waitFor([&] { return fuel->Checked(); }, 20000)) << linkReport();
    EXPECT_TRUE(pending->isHidden());
}

} // namespace
