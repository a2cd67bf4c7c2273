#include "widgets/ValueFormat.h"

#include <QLocale>
#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>

namespace {

// What one section of the picture asks for.
struct Picture
{
    QString prefix;
    QString suffix;
    bool hasPlaces = false;
    bool grouping = false;
    int integerMinimum = 0; // places from the first "0" up to the point
    int decimals = 0;       // places after the point
    int decimalsMinimum = 0; // up to and including the last "0" after the point
};

bool isPlace(QChar c)
{
    return c == u'0' || c == u'#';
}

QString withoutQuotes(const QString &text)
{
    QString out;
    for (QChar c : text)
        if (c != u'"' && c != u'\'')
            out += c;
    return out;
}

Picture parse(const QString &section)
{
    Picture p;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        if (isPlace(section[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        p.prefix = withoutQuotes(section);
        return p;
    }
    p.hasPlaces = true;
    // A point written just before the first place still belongs to the number (".00").
    qsizetype numberStart = first;
    if (numberStart > 0 && section[numberStart - 1] == u'.')
        --numberStart;
    p.prefix = withoutQuotes(section.left(numberStart));
    p.suffix = withoutQuotes(section.mid(last + 1));

    const QString number = section.mid(numberStart, last + 1 - numberStart);
    const qsizetype point = number.indexOf(u'.');
    const QString integerPart = point < 0 ? number : number.left(point);
    const QString fractionPart = point < 0 ? QString() : number.mid(point + 1);

    p.grouping = integerPart.contains(u',');
    bool zeroSeen = false;
    for (QChar c : integerPart) {
        if (c == u'0')
            zeroSeen = true;
        if (zeroSeen && isPlace(c))
            ++p.integerMinimum;
    }
    for (QChar c : fractionPart) {
        if (isPlace(c)) {
            ++p.decimals;
            if (c == u'0')
                p.decimalsMinimum = p.decimals;
        }
    }
    return p;
}

// The shortest decimal text that reads back as the same number; a value that is exactly a
// single-precision number is written as that single, which is what the gauges hold.
std::string shortestDecimal(double magnitude)
{
    std::array<char, 512> buffer{};
    std::to_chars_result r;
    const float asSingle = static_cast<float>(magnitude);
    if (std::isfinite(asSingle) && static_cast<double>(asSingle) == magnitude)
        r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), asSingle, std::chars_format::fixed);
    else
        r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed);
    return std::string(buffer.data(), r.ptr);
}

struct Digits
{
    std::string integer;  // no leading zeros, may be empty for 0
    std::string fraction; // exactly the requested number of places
    bool isZero() const
    {
        return integer.find_first_not_of('0') == std::string::npos
            && fraction.find_first_not_of('0') == std::string::npos;
    }
};

void incrementLastDigit(std::string &integer, std::string &fraction)
{
    for (auto it = fraction.rbegin(); it != fraction.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    for (auto it = integer.rbegin(); it != integer.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    integer.insert(integer.begin(), '1');
}

Digits roundHalfEven(double magnitude, int decimals)
{
    const std::string text = shortestDecimal(magnitude);
    const auto point = text.find('.');
    Digits d;
    d.integer = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (static_cast<int>(fraction.size()) <= decimals) {
        fraction.append(static_cast<size_t>(decimals) - fraction.size(), '0');
        d.fraction = fraction;
    } else {
        d.fraction = fraction.substr(0, static_cast<size_t>(decimals));
        const char next = fraction[static_cast<size_t>(decimals)];
        const bool restNonZero = fraction.find_first_not_of('0', static_cast<size_t>(decimals) + 1) != std::string::npos;
        bool up = next > '5' || (next == '5' && restNonZero);
        if (next == '5' && !restNonZero) {
            const char kept = !d.fraction.empty() ? d.fraction.back() : (!d.integer.empty() ? d.integer.back() : '0');
            up = ((kept - '0') % 2) == 1;
        }
        if (up)
            incrementLastDigit(d.integer, d.fraction);
    }
    const auto firstNonZero = d.integer.find_first_not_of('0');
    d.integer = firstNonZero == std::string::npos ? std::string() : d.integer.substr(firstNonZero);
    return d;
}

QString render(const Picture &p, const Digits &d, bool negative, QChar decimalSeparator, QChar groupSeparator)
{
    if (!p.hasPlaces)
        return p.prefix;
    QString integer = QString::fromStdString(d.integer);
    if (integer.size() < p.integerMinimum)
        integer = QString(p.integerMinimum - integer.size(), u'0') + integer;
    if (p.grouping && integer.size() > 3) {
        QString grouped;
        const qsizetype n = integer.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += groupSeparator;
            grouped += integer[i];
        }
        integer = grouped;
    }
    QString fraction = QString::fromStdString(d.fraction);
    while (fraction.size() > p.decimalsMinimum && fraction.endsWith(u'0'))
        fraction.chop(1);

    QString out;
    if (negative)
        out += u'-';
    out += p.prefix;
    out += integer;
    if (!fraction.isEmpty()) {
        out += decimalSeparator;
        out += fraction;
    }
    out += p.suffix;
    return out;
}

} // namespace

QString ValueFormat::Format(const QString &pattern, double value)
{
    const QLocale locale;
    return Format(pattern, value, locale.decimalPoint().at(0), locale.groupSeparator().at(0));
}

QString ValueFormat::Format(const QString &pattern, double value, QChar decimalSeparator, QChar groupSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const QStringList sections = pattern.split(u';');
    const bool negative = std::signbit(value) && value != 0.0;
    const double magnitude = std::fabs(value);

    const Picture positive = parse(sections.value(0));
    const Digits rounded = roundHalfEven(magnitude, positive.decimals);

    if (rounded.isZero()) {
        if (sections.size() >= 3 && !sections[2].isEmpty()) {
            const Picture zero = parse(sections[2]);
            return render(zero, roundHalfEven(0.0, zero.decimals), false, decimalSeparator, groupSeparator);
        }
        return render(positive, rounded, false, decimalSeparator, groupSeparator);
    }
    if (negative && sections.size() >= 2 && !sections[1].isEmpty()) {
        const Picture minus = parse(sections[1]);
        return render(minus, roundHalfEven(magnitude, minus.decimals), false, decimalSeparator, groupSeparator);
    }
    return render(positive, rounded, negative, decimalSeparator, groupSeparator);
}
