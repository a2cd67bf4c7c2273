#include "widgets/TSignalSettings.h"

#include "widgets/ValueFormat.h"

#include <algorithm>
#include <cmath>

void TSignalSettings::SetDigitalFrom(int position)
{
    if (position == m_digitalFrom)
        return;
    m_digitalFrom = position;
    changed();
}

void TSignalSettings::SetDigitalTo(int position)
{
    if (position == m_digitalTo)
        return;
    m_digitalTo = position;
    changed();
}

void TSignalSettings::SetName1(const QString &text)
{
    if (text == m_name1)
        return;
    m_name1 = text;
    changed();
}

void TSignalSettings::SetName2(const QString &text)
{
    if (text == m_name2)
        return;
    m_name2 = text;
    changed();
}

void TSignalSettings::SetValueFormat(const QString &text)
{
    if (text == m_valueFormat)
        return;
    m_valueFormat = text;
    changed();
}

void TSignalSettings::SetValueFrom(float value)
{
    if (value == m_valueFrom || value == m_valueTo)
        return;
    // A zero lower end is kept just above zero, as the instruments always have.
    const float stored = value == 0.0f ? 0.000001f : value;
    if (stored == m_valueFrom)
        return;
    m_valueFrom = stored;
    changed();
}

void TSignalSettings::SetValueTo(float value)
{
    if (value == m_valueFrom || value == m_valueTo)
        return;
    m_valueTo = value;
    changed();
}

void TSignalSettings::SetValueUnit(const QString &text)
{
    if (text == m_valueUnit)
        return;
    m_valueUnit = text;
    changed();
}

double TSignalSettings::ValuePerPosition() const
{
    return PositionSpan() == 0 ? 0.0 : Span() / PositionSpan();
}

double TSignalSettings::PositionsPerValue() const
{
    return Span() == 0.0 ? 0.0 : PositionSpan() / Span();
}

double TSignalSettings::PerMillePerValue() const
{
    return Span() == 0.0 ? 0.0 : 1000.0 / Span();
}

int TSignalSettings::ValueToDigit(double value) const
{
    const long long d = RoundHalfEven((value - double(m_valueFrom)) * PositionsPerValue() + m_digitalFrom);
    // Far-off values only need to stay far off; keep them inside int.
    return int(std::clamp<long long>(d, -1000000000LL, 1000000000LL));
}

double TSignalSettings::DigitToValue(int position) const
{
    return (position - m_digitalFrom) * ValuePerPosition() + double(m_valueFrom);
}

int TSignalSettings::DigitToPerMille(int position) const
{
    if (PositionSpan() == 0)
        return 0;
    return int(RoundHalfEven(1000.0 / PositionSpan() * (position - m_digitalFrom)));
}

double TSignalSettings::ValueToPerMille(double value) const
{
    return PerMillePerValue() * (value - double(m_valueFrom));
}

QString TSignalSettings::FormatValue(double value) const
{
    return ValueFormat::Format(m_valueFormat, value);
}

long long TSignalSettings::RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    // remainder() measures from the nearest integer with ties going to the even one.
    const double r = value - std::remainder(value, 1.0);
    return static_cast<long long>(std::clamp(r, -1e15, 1e15));
}

void TSignalSettings::changed()
{
    if (m_onChange)
        m_onChange();
}
