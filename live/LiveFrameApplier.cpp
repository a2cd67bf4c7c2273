#include "live/LiveFrameApplier.h"

#include "live/LiveFrameDecoder.h"

namespace {

using Kind = LiveDisplayAction::Kind;

class Plan
{
public:
    explicit Plan(QList<LiveDisplayAction> &out) : m_out(out) {}

    void step(int n) { m_step = n; }

    void value(const QString &target, double v) { push(Kind::Value, target).number = float(v); }
    void value(const QString &target, const std::optional<double> &v)
    {
        if (v)
            value(target, *v);
    }
    void scaleTo(const QString &target, float end) { push(Kind::ScaleTo, target).number = end; }
    void enabled(const QString &target, bool on) { push(Kind::Enabled, target).flag = on; }
    void colours(const QString &target, LiveColour off, LiveColour on)
    {
        LiveDisplayAction &a = push(Kind::SwitchColours, target);
        a.colourOff = off;
        a.colourOn = on;
    }
    void checked(const QString &target, bool on) { push(Kind::Checked, target).flag = on; }
    void integer(Kind kind, const QString &target, int n) { push(kind, target).integer = n; }
    void led(const QString &target, bool lit) { push(Kind::LedLit, target).flag = lit; }
    void text(const QString &target, const QString &t) { push(Kind::Text, target).text = t; }
    void call(Kind kind, int n = 0) { push(kind, QString()).integer = n; }

private:
    LiveDisplayAction &push(Kind kind, const QString &target)
    {
        LiveDisplayAction a;
        a.step = m_step;
        a.kind = kind;
        a.target = target;
        m_out.append(a);
        return m_out.last();
    }

    QList<LiveDisplayAction> &m_out;
    int m_step = 0;
};

const QString Lambda[2] = {QStringLiteral("lambda_1"), QStringLiteral("lambda_2")};
const QString RpmDial = QStringLiteral("RPM_zegar");
const QString PetrolBar = QStringLiteral("Skala_PB_time");
const QString GasBar = QStringLiteral("Skala_LPG_time");
const QString FuelSwitch = QStringLiteral("paliwo_Switch");

} // namespace

QList<LiveDisplayAction> LiveFrameApplier::apply(const LiveValues &v, const Inputs &in)
{
    QList<LiveDisplayAction> out;
    if (!v.decodable())
        return out;
    Plan plan(out);

    plan.step(2);
    plan.value(Lambda[0], v.lambda1Volts);
    plan.value(Lambda[1], v.lambda2Volts);

    plan.step(3);
    const std::optional<double> lambdas[2] = {v.lambda1Volts, v.lambda2Volts};
    for (size_t i = 0; i < 2; ++i) {
        if (!m_lambdaWide[i] && lambdas[i] && *lambdas[i] > LambdaWideAbove) {
            m_lambdaWide[i] = true;
            plan.scaleTo(Lambda[i], LambdaWideEnd);
        }
    }

    plan.step(4);
    plan.value(RpmDial, v.rpmThousands);
    plan.value(QStringLiteral("RPM_Edit"), v.rpm);

    plan.step(5);
    plan.value(QStringLiteral("BATERY_vpp"), v.supplyVolts);

    plan.step(6);
    if (v.reducerTempC)
        plan.value(QStringLiteral("TempWoda"), *v.reducerTempC);
    if (v.gasTempC)
        plan.value(QStringLiteral("TempGaz"), *v.gasTempC);

    plan.step(7);
    plan.value(QStringLiteral("Slala_P_MAP"), v.mapKpa);
    plan.value(QStringLiteral("P_MAP_edit"), v.mapKpa);
    plan.value(QStringLiteral("Skala_P1_MAP"), v.p1Bar);
    plan.value(QStringLiteral("P1_MAP_edit"), v.p1Bar);

    plan.step(8);
    if (v.ignitionOn) {
        const QString panel = QStringLiteral("Zaplon_panel");
        if (*v.ignitionOn) {
            plan.enabled(panel, true);
            plan.colours(FuelSwitch, LiveColour::Red, LiveColour::Lime);
            plan.integer(Kind::SectorOffset, RpmDial, SectorsShown);
            plan.integer(Kind::PointerShape, RpmDial, PointerIgnitionOn);
        } else {
            plan.enabled(panel, false);
            plan.colours(FuelSwitch, LiveColour::BtnFace, LiveColour::BtnFace);
            plan.integer(Kind::SectorOffset, RpmDial, SectorsHidden);
            plan.integer(Kind::PointerShape, RpmDial, PointerIgnitionOff);
            plan.value(Lambda[0], 0.0);
            plan.value(Lambda[1], 0.0);
            plan.value(PetrolBar, 0.0);
            plan.value(GasBar, 0.0);
        }
    }

    plan.step(9);
    if (v.onGas)
        plan.checked(FuelSwitch, *v.onGas);

    plan.step(10);
    plan.value(GasBar, v.gasMs);
    plan.value(QStringLiteral("Skala_LPG_time1"), v.gasMs);

    plan.step(11);
    if (in.shownCylinder >= 0 && in.shownCylinder < LiveValues::Cylinders)
        plan.value(PetrolBar, v.petrolMs[size_t(in.shownCylinder)]);

    plan.step(12);
    for (int k = 0; k < LiveValues::Cylinders; ++k)
        plan.value(PetrolBar + QString::number(k + 1), v.petrolMs[size_t(k)]);

    plan.step(13);
    if (v.levelStep) {
        const int s = *v.levelStep;
        plan.led(QStringLiteral("rezerwa_led_gora"), s == 0);
        plan.led(QStringLiteral("Rezerwa_led_panel"), s == 0);
        for (int level = 1; level <= 4; ++level) {
            // The top LED needs exactly 4: a step above 4 is not a fuller tank.
            const bool lit = level < 4 ? s >= level : s == 4;
            plan.led(QStringLiteral("Gaz_led_%1g").arg(level), lit);
            plan.led(QStringLiteral("Gaz_led_%1p").arg(level), lit);
        }
    }

    plan.step(14);
    if (v.tankSensorVolts)
        plan.text(QStringLiteral("U_zbiornika"),
                  LiveFrameDecoder::tankVoltageText(*v.tankSensorVolts, in.decimalSeparator));

    plan.step(15);
    plan.call(Kind::FeedOscilloscope);

    plan.step(16);
    // The list is one display made of three bytes; without all of them it
    // keeps the last complete report rather than a half-read one.
    if (v.faultFlags && v.injectorFlags && v.moreFaultFlags)
        plan.call(Kind::ShowCurrentFaults);

    plan.step(17);
    m_tables.store(v);
    if (v.streamPosition && v.curveSelector)
        plan.call(Kind::UpdateTimeCurves, *v.curveSelector);

    plan.step(18);
    if (in.calibrationRunning && v.streamPosition)
        plan.call(Kind::StoreCalibrationSample, *v.streamPosition);

    return out;
}
