#pragma once

#include <QString>

#include <functional>

// The signal of one analog widget: a value range in engineering units laid linearly over an integer
// position range, two names, a unit and a number format. The owner hears about every change so that it
// can re-map its current value and repaint.
class TSignalSettings
{
public:
    TSignalSettings() = default;
    TSignalSettings(const TSignalSettings &) = delete;
    TSignalSettings &operator=(const TSignalSettings &) = delete;

    int DigitalFrom() const { return m_digitalFrom; }
    int DigitalTo() const { return m_digitalTo; }
    const QString &Name1() const { return m_name1; }
    const QString &Name2() const { return m_name2; }
    const QString &ValueFormat() const { return m_valueFormat; }
    float ValueFrom() const { return m_valueFrom; }
    float ValueTo() const { return m_valueTo; }
    const QString &ValueUnit() const { return m_valueUnit; }

    void SetDigitalFrom(int position);
    void SetDigitalTo(int position);
    void SetName1(const QString &text);
    void SetName2(const QString &text);
    void SetValueFormat(const QString &text);
    // 0 is kept as 0.000001; a value equal to either end is ignored.
    void SetValueFrom(float value);
    // A value equal to either end is ignored.
    void SetValueTo(float value);
    void SetValueUnit(const QString &text);

    double Span() const { return double(m_valueTo) - double(m_valueFrom); }
    int PositionSpan() const { return m_digitalTo - m_digitalFrom; }
    double ValuePerPosition() const;
    double PositionsPerValue() const;
    double PerMillePerValue() const;

    // Value to position, rounded to the nearest position (ties to even); not limited to the range.
    int ValueToDigit(double value) const;
    // Position to value on the grid of positions.
    double DigitToValue(int position) const;
    // Per-mille of the scale at which a position lies, rounded; not limited to 0..1000.
    int DigitToPerMille(int position) const;
    // Unrounded per-mille of a value, for drawing marks and scales.
    double ValueToPerMille(double value) const;

    QString FormatValue(double value) const;

    // Called after every change that took effect.
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    // Nearest integer, ties to even, as every rounding of positions.
    static long long RoundHalfEven(double value);

private:
    void changed();

    int m_digitalFrom = 0;
    int m_digitalTo = 1000;
    QString m_name1 = QStringLiteral("SignalName1");
    QString m_name2 = QStringLiteral("SignalName2");
    QString m_valueFormat = QStringLiteral("##0.0");
    float m_valueFrom = 0.0f;
    float m_valueTo = 100.0f;
    QString m_valueUnit = QStringLiteral("%");
    std::function<void()> m_onChange;
};
