// Gallery page: LEDs in every colour state, shape, caption side and blink
// rate; toggle switches as the window uses them; the spin button.
#include "GalleryPage.h"

#include "widgets/TLedIndicator.h"
#include "widgets/TSpinButton.h"
#include "widgets/TToggleSwitch.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

namespace {

const QColor clRed(0xFF, 0x00, 0x00);
const QColor clLime(0x00, 0xFF, 0x00);
const QColor clGray(0x80, 0x80, 0x80);
const QColor clYellow(0xFF, 0xFF, 0x00);

TLedIndicator *led(const QString &caption, bool on, QColor colorOff = QColor(), TLedShape shape = sRound)
{
    auto *l = new TLedIndicator(caption);
    if (colorOff.isValid())
        l->SetColorOff(colorOff);
    l->SetShape(shape);
    l->SetChecked(on);
    return l;
}

QWidget *ledsGroup()
{
    auto *box = new QGroupBox(QStringLiteral("LEDs"));
    auto *g = new QGridLayout(box);
    g->setHorizontalSpacing(18);
    int col = 0;
    auto add = [&](int row, QWidget *w) { g->addWidget(w, row, col); };

    // Steady states.
    add(0, led(QStringLiteral("on (lime)"), true));
    add(1, led(QStringLiteral("off (face)"), false));
    add(2, led(QStringLiteral("off red"), false, clRed));
    auto *dis = led(QStringLiteral("absent, grey"), false, clGray);
    dis->setEnabled(false);
    add(3, dis);
    ++col;
    add(0, led(QStringLiteral("rect on"), true, QColor(), sRectangle));
    add(1, led(QStringLiteral("rect off"), false, QColor(), sRectangle));
    add(2, led(QStringLiteral("rect off red"), false, clRed, sRectangle));
    auto *big = led(QStringLiteral("20 x 12"), true, QColor(), sRectangle);
    big->LED().SetWidth(20);
    big->LED().SetHeight(12);
    add(3, big);
    ++col;

    // Flashing at every rate: lit ones alternate, a dark one stays dark.
    const std::pair<TFrequency, const char *> rates[] = {
        {ff8Hz, "8 Hz"}, {ff4Hz, "4 Hz"}, {ff2Hz, "2 Hz"}, {ff1Hz, "1 Hz"}, {ff05Hz, "0.5 Hz"}};
    int row = 0;
    for (const auto &[f, name] : rates) {
        auto *l = led(QStringLiteral("flash %1").arg(QLatin1String(name)), true, clGray);
        l->SetFrequency(f);
        l->SetFlashing(true);
        g->addWidget(l, row % 4, col + row / 4);
        ++row;
    }
    col += 2;
    auto *reserve = led(QStringLiteral("Rezerwa (4 Hz, red)"), true, QColor(), sRectangle);
    reserve->SetColorOn(clRed);
    reserve->SetFrequency(ff4Hz);
    reserve->SetFlashing(true);
    add(0, reserve);
    auto *darkFlash = led(QStringLiteral("flashing but dark"), false);
    darkFlash->SetFlashing(true);
    add(1, darkFlash);
    ++col;

    // Caption on each side.
    const std::pair<TLedPosition, const char *> sides[] = {
        {lpLeft, "lpLeft"}, {lpRight, "lpRight"}, {lpTop, "lpTop"}, {lpBottom, "lpBottom"}};
    row = 0;
    for (const auto &[pos, name] : sides) {
        auto *l = led(QLatin1String(name), row % 2 == 0);
        l->SetLED_Position(pos);
        add(row++, l);
    }
    return box;
}

QWidget *cylindersGroup()
{
    // As in "Aktywne inj. Gaz": 4-cylinder engine, cylinders 1, 2, 4 on gas.
    auto *box = new QGroupBox(QStringLiteral("Aktywne inj. Gaz"));
    auto *h = new QHBoxLayout(box);
    for (int k = 0; k < 8; ++k) {
        auto *l = new TLedIndicator(QString::number(k + 1));
        l->setObjectName(QStringLiteral("Cyl_%1_led").arg(k));
        l->SetLED_Position(lpTop);
        l->SetShape(sRectangle);
        l->SetColorOff(k < 4 ? clRed : clGray);
        l->SetChecked(k == 0 || k == 1 || k == 3);
        l->setEnabled(k < 4);
        h->addWidget(l);
    }
    return box;
}

QWidget *levelGroup()
{
    // Tank level 2 of 4, and the reserve LED of an empty tank.
    auto *box = new QGroupBox(QStringLiteral("Przełącznik"));
    auto *h = new QHBoxLayout(box);
    auto *fuel = new TToggleSwitch;
    fuel->setObjectName(QStringLiteral("paliwo_Switch"));
    fuel->SetMode(mIndicator);
    fuel->SetTextOn(QStringLiteral("LPG"));
    fuel->SetTextOff(QStringLiteral("PB"));
    fuel->SetChecked(true);
    h->addWidget(fuel);
    auto *reserve = new TLedIndicator;
    reserve->SetShape(sRectangle);
    reserve->SetColorOn(clRed);
    h->addWidget(reserve);
    for (int i = 1; i <= 4; ++i) {
        auto *l = new TLedIndicator;
        l->SetShape(sRectangle);
        l->SetChecked(i <= 2);
        h->addWidget(l);
    }
    h->addStretch();
    return box;
}

TToggleSwitch *toggle(const QString &on, const QString &off, bool checked)
{
    auto *s = new TToggleSwitch;
    s->SetTextOn(on);
    s->SetTextOff(off);
    s->SetChecked(checked);
    return s;
}

QWidget *switchesGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Toggle switches (click the free half)"));
    auto *g = new QGridLayout(box);
    g->setHorizontalSpacing(16);
    auto label = [](const char *t) { return new QLabel(QLatin1String(t)); };

    g->addWidget(label("default off / on"), 0, 0);
    g->addWidget(toggle(QStringLiteral("1"), QStringLiteral("0"), false), 0, 1);
    g->addWidget(toggle(QStringLiteral("1"), QStringLiteral("0"), true), 0, 2);

    g->addWidget(label("fuel PB / LPG"), 1, 0);
    g->addWidget(toggle(QStringLiteral("LPG"), QStringLiteral("PB"), false), 1, 1);
    g->addWidget(toggle(QStringLiteral("LPG"), QStringLiteral("PB"), true), 1, 2);

    g->addWidget(label("ignition off (face colours)"), 2, 0);
    auto *offFace = toggle(QStringLiteral("LPG"), QStringLiteral("PB"), false);
    const QColor face = QApplication::palette().color(QPalette::Button);
    offFace->SetColorOn(face);
    offFace->SetColorOff(face);
    offFace->setEnabled(false);
    g->addWidget(offFace, 2, 1);

    g->addWidget(label("Port COM"), 3, 0);
    auto *port = toggle(QStringLiteral("COM3 - ON"), QStringLiteral("Rozłączony"), false);
    port->setFixedSize(110, 25);
    auto *portOn = toggle(QStringLiteral("COM3 - ON"), QStringLiteral("Rozłączony"), true);
    portOn->setFixedSize(110, 25);
    g->addWidget(port, 3, 1);
    g->addWidget(portOn, 3, 2);

    g->addWidget(label("vertical off / on / swapped"), 4, 0);
    for (int i = 0; i < 3; ++i) {
        auto *v = toggle(QStringLiteral("ON"), QStringLiteral("OFF"), i == 1);
        v->SetOrientation(boVertical);
        v->setFixedSize(v->sizeHint());
        v->SetSwapGraphic(i == 2);
        g->addWidget(v, 4, 1 + i);
    }
    g->addWidget(label("horizontal swapped off / on"), 5, 0);
    for (int i = 0; i < 2; ++i) {
        auto *s = toggle(QStringLiteral("1"), QStringLiteral("0"), i == 1);
        s->SetSwapGraphic(true);
        g->addWidget(s, 5, 1 + i);
    }
    return box;
}

QWidget *spinGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Spin button (hold to repeat)"));
    auto *h = new QHBoxLayout(box);
    auto *spin = new TSpinButton;
    auto *value = new QLabel(QStringLiteral("0"));
    value->setMinimumWidth(60);
    auto count = std::make_shared<int>(0);
    QObject::connect(spin, &TSpinButton::OnUpClick, value, [value, count] { value->setNum(++*count); });
    QObject::connect(spin, &TSpinButton::OnDownClick, value, [value, count] { value->setNum(--*count); });
    auto *big = new TSpinButton;
    big->setFixedSize(22, 40);
    QObject::connect(big, &TSpinButton::OnUpClick, value, [value, count] { value->setNum(++*count); });
    QObject::connect(big, &TSpinButton::OnDownClick, value, [value, count] { value->setNum(--*count); });
    auto *disabled = new TSpinButton;
    disabled->setEnabled(false);
    h->addWidget(spin);
    h->addWidget(big);
    h->addWidget(value);
    h->addWidget(new QLabel(QStringLiteral("disabled:")));
    h->addWidget(disabled);
    h->addStretch();
    return box;
}

QWidget *makePage()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->addWidget(ledsGroup());
    auto *row = new QHBoxLayout;
    row->addWidget(cylindersGroup());
    row->addWidget(levelGroup());
    v->addLayout(row);
    auto *row2 = new QHBoxLayout;
    row2->addWidget(switchesGroup());
    row2->addWidget(spinGroup(), 0, Qt::AlignTop);
    v->addLayout(row2);
    v->addStretch();
    return page;
}

const GalleryPageRegistrar registrar(QStringLiteral("LEDs and switches"), 20, makePage);

} // namespace
