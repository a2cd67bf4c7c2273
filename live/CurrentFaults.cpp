#include "live/CurrentFaults.h"

namespace {

bool faultBit(uint8_t flags, int bit)
{
    return (flags & (1u << bit)) == 0;
}

} // namespace

QList<CurrentFaults::Line> CurrentFaults::lines(uint8_t flags34, uint8_t injectorFlags35, uint8_t flags48,
                                                const std::function<QString(int)> &messageText)
{
    QList<Line> out;
    auto add = [&](int row, const QString &text) {
        out.append(Line{int(out.size()) + 1, row, QString::number(out.size() + 1) + text});
    };

    // Bits 2..7 of byte 34 are rows 0..5; bits 0 and 1 report nothing.
    for (int bit = 2; bit <= 7; ++bit) {
        if (faultBit(flags34, bit))
            add(bit - 2, messageText(bit - 2));
    }

    // All faulty injectors share one line, named by cylinder number.
    if (injectorFlags35 != 0xFF) {
        QString text = messageText(InjectorRow);
        for (int k = 0; k < 8; ++k) {
            if (faultBit(injectorFlags35, k))
                text += QLatin1Char(' ') + QString::number(k + 1);
        }
        add(InjectorRow, text);
    }

    if (faultBit(flags48, 0))
        add(7, messageText(7));
    if (faultBit(flags48, 1))
        add(8, messageText(8));
    return out;
}

QList<CurrentFaults::Line> CurrentFaults::lines(const LiveValues &values,
                                                const std::function<QString(int)> &messageText)
{
    if (!values.faultFlags || !values.injectorFlags || !values.moreFaultFlags)
        return {};
    return lines(*values.faultFlags, *values.injectorFlags, *values.moreFaultFlags, messageText);
}

QString CurrentFaults::memoText(const QList<Line> &lines)
{
    QString text;
    for (const Line &line : lines)
        text += line.text + LineBreak;
    return text;
}
