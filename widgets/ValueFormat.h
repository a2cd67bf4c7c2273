#pragma once

#include <QChar>
#include <QString>

// Number formatting by picture strings such as "##0.0", "#0.00", "###0", "#,##0.0" or "0.0;(0.0);-".
//
// "0" and "#" are digit places, "." the decimal point (printed as the decimal separator), a "," in the
// integer part switches on digit grouping, ";" separates the sections for positive, negative and zero
// values. Text before the first and after the last place is copied as it stands. Rounding is to the
// nearest, ties to even, on the number's shortest decimal form, so 0.125 with two places gives 0.12
// and 2.675f gives 2.68 (the single-precision value that stands for 2.675).
class ValueFormat
{
public:
    // Uses the decimal and group separators of the current locale.
    static QString Format(const QString &pattern, double value);
    static QString Format(const QString &pattern, double value, QChar decimalSeparator, QChar groupSeparator);
};
