#include "chart/ChartChannel.h"

#include <limits>
#include <optional>

namespace {

constexpr float Missing = std::numeric_limits<float>::quiet_NaN();

template<typename T>
float held(const std::optional<T> &v)
{
    return v ? float(*v) : Missing;
}

float flag(const std::optional<bool> &v)
{
    return v ? (*v ? 1.0f : 0.0f) : Missing;
}

// Channel indexes of the families, in the export's order.
constexpr int Rpm = 0, Map = 1, P1 = 2, Battery = 3, Lambda1 = 4, Lambda2 = 5, TempReducer = 6, TempGas = 7,
              Petrol1 = 8, Gas = Petrol1 + LiveValues::Cylinders, Tank = Gas + 1, OnGas = Tank + 1,
              Faults = OnGas + 1, Ignition = Faults + 1, Level = Ignition + 1, InjectorFaults = Level + 1,
              MoreFaults = InjectorFaults + 1, Stream = MoreFaults + 1, PetrolTable1 = Stream + 1,
              GasTable1 = PetrolTable1 + LiveValues::TableBytes, Curve = GasTable1 + LiveValues::TableBytes,
              Count = Curve + 1;

QVector<ChartChannel> makeChannels()
{
    // Decimals of the gauges: "###0" rpm, "##0.0" MAP, "#0.0" P1, "#0.00"
    // supply, "##0.0" lambda and injection times, "0.00" tank voltage.
    QVector<ChartChannel> c;
    c.append({QStringLiteral("rpm"), QStringLiteral("chart.ch.rpm"), 0, ChartUnit::Rpm, 0, false});
    c.append({QStringLiteral("map_kpa"), QStringLiteral("chart.ch.map"), 0, ChartUnit::Kpa, 1, false});
    c.append({QStringLiteral("p1_bar"), QStringLiteral("chart.ch.p1"), 0, ChartUnit::Bar, 1, false});
    c.append({QStringLiteral("battery_v"), QStringLiteral("chart.ch.battery"), 0, ChartUnit::Volt, 2, false});
    c.append({QStringLiteral("lambda1_v"), QStringLiteral("chart.ch.lambda"), 1, ChartUnit::Volt, 1, false});
    c.append({QStringLiteral("lambda2_v"), QStringLiteral("chart.ch.lambda"), 2, ChartUnit::Volt, 1, false});
    c.append({QStringLiteral("temp_reducer_c"), QStringLiteral("chart.ch.temp_reducer"), 0, ChartUnit::Celsius, 0,
              false});
    c.append({QStringLiteral("temp_gas_c"), QStringLiteral("chart.ch.temp_gas"), 0, ChartUnit::Celsius, 0, false});
    for (int k = 1; k <= LiveValues::Cylinders; ++k)
        c.append({QStringLiteral("petrol_ms_%1").arg(k), QStringLiteral("chart.ch.petrol"), k, ChartUnit::Ms, 1,
                  false});
    c.append({QStringLiteral("gas_ms"), QStringLiteral("chart.ch.gas"), 0, ChartUnit::Ms, 1, false});
    c.append({QStringLiteral("tank_v"), QStringLiteral("chart.ch.tank"), 0, ChartUnit::Volt, 2, false});
    c.append({QStringLiteral("on_gas"), QStringLiteral("chart.ch.on_gas"), 0, ChartUnit::Plain, 0, true});
    c.append({QStringLiteral("faults"), QStringLiteral("chart.ch.faults"), 0, ChartUnit::Plain, 0, true});
    c.append({QStringLiteral("ignition_on"), QStringLiteral("chart.ch.ignition"), 0, ChartUnit::Plain, 0, true});
    c.append({QStringLiteral("level_step"), QStringLiteral("chart.ch.level_step"), 0, ChartUnit::Plain, 0, true});
    c.append({QStringLiteral("injector_faults"), QStringLiteral("chart.ch.injector_faults"), 0, ChartUnit::Plain, 0,
              true});
    c.append({QStringLiteral("more_faults"), QStringLiteral("chart.ch.more_faults"), 0, ChartUnit::Plain, 0, true});
    c.append({QStringLiteral("stream_position"), QStringLiteral("chart.ch.stream_position"), 0, ChartUnit::Plain, 0,
              true});
    for (int k = 1; k <= LiveValues::TableBytes; ++k)
        c.append({QStringLiteral("petrol_table_%1").arg(k), QStringLiteral("chart.ch.petrol_table"), k,
                  ChartUnit::Plain, 0, true});
    for (int k = 1; k <= LiveValues::TableBytes; ++k)
        c.append({QStringLiteral("gas_table_%1").arg(k), QStringLiteral("chart.ch.gas_table"), k, ChartUnit::Plain, 0,
                  true});
    c.append({QStringLiteral("curve_selector"), QStringLiteral("chart.ch.curve_selector"), 0, ChartUnit::Plain, 0,
              true});
    Q_ASSERT(c.size() == Count);
    return c;
}

} // namespace

const QVector<ChartChannel> &ChartChannel::all()
{
    static const QVector<ChartChannel> channels = makeChannels();
    return channels;
}

int ChartChannel::indexOf(QStringView key)
{
    const QVector<ChartChannel> &channels = all();
    for (int i = 0; i < channels.size(); ++i)
        if (channels[i].key == key)
            return i;
    return -1;
}

float ChartChannel::valueOf(int channel, const LiveValues &v)
{
    if (channel >= Petrol1 && channel < Gas)
        return held(v.petrolMs[channel - Petrol1]);
    if (channel >= PetrolTable1 && channel < GasTable1)
        return held(v.petrolTableBytes[channel - PetrolTable1]);
    if (channel >= GasTable1 && channel < Curve)
        return held(v.gasTableBytes[channel - GasTable1]);
    switch (channel) {
    case Rpm: return held(v.rpm);
    case Map: return held(v.mapKpa);
    case P1: return held(v.p1Bar);
    case Battery: return held(v.supplyVolts);
    case Lambda1: return held(v.lambda1Volts);
    case Lambda2: return held(v.lambda2Volts);
    case TempReducer: return held(v.reducerTempC);
    case TempGas: return held(v.gasTempC);
    case Gas: return held(v.gasMs);
    case Tank: return held(v.tankSensorVolts);
    case OnGas: return flag(v.onGas);
    case Faults: return held(v.faultFlags);
    case Ignition: return flag(v.ignitionOn);
    case Level: return held(v.levelStep);
    case InjectorFaults: return held(v.injectorFlags);
    case MoreFaults: return held(v.moreFaultFlags);
    case Stream: return held(v.streamPosition);
    case Curve: return held(v.curveSelector);
    default: return Missing;
    }
}

QString chartUnitSymbol(ChartUnit unit)
{
    switch (unit) {
    case ChartUnit::Kpa: return QStringLiteral("kPa");
    case ChartUnit::Bar: return QStringLiteral("bar");
    case ChartUnit::Volt: return QStringLiteral("V");
    case ChartUnit::Celsius: return QStringLiteral("°C");
    case ChartUnit::Ms: return QStringLiteral("ms");
    case ChartUnit::Rpm:
    case ChartUnit::Plain: return {};
    }
    return {};
}
