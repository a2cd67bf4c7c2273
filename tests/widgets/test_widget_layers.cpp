// Display widgets draw what does not follow the value from cached layers. A layer that is not rebuilt
// after a change shows the old scale, names or colours: each case renders a widget after a change and
// compares it with a fresh widget put straight into the same state, and with the same widget drawn
// without layers.
#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/TFlashTimer.h"
#include "widgets/THMeter.h"
#include "widgets/TRMeter.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TValueInd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct CLocale : ::testing::Environment {
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};
const auto *const cLocale = ::testing::AddGlobalTestEnvironment(new CLocale);

const QDateTime kMoment(QDate(2024, 3, 9), QTime(14, 30, 5));

struct Kind {
    const char *name;
    std::function<std::unique_ptr<TAnalogGControl>()> make;
    QSize size;
};

template <typename T>
std::unique_ptr<TAnalogGControl> make()
{
    return std::make_unique<T>();
}

const Kind kKinds[] = {
    {"TRMeter", make<TRMeter>, QSize(173, 169)},
    {"T270Meter", make<T270Meter>, QSize(150, 150)},
    {"THMeter", make<THMeter>, QSize(241, 78)},
    {"TThermometer", make<TThermometer>, QSize(62, 183)},
    {"TBar", make<TBar>, QSize(157, 24)},
    {"TBar vertical multi-colour both ways",
     [] {
         auto bar = std::make_unique<TBar>();
         bar->SetOrientation(Qt::Vertical);
         bar->SetBarStyle(TBar::bsMultiColor);
         bar->SetOptions(bar->Options() | opBidir);
         return std::unique_ptr<TAnalogGControl>(std::move(bar));
     },
     QSize(27, 161)},
    {"TVBar", make<TVBar>, QSize(46, 171)},
    {"TValueInd", make<TValueInd>, QSize(131, 46)},
};

// The flash timer is shared by a changed widget and its fresh twin, so both see the same phase.
struct Bench {
    TFlashTimer timer;
    Bench() { timer.SetAutoTick(false); }

    // A widget that has seen a few values, so extremes, sectors and limits all show.
    std::unique_ptr<TAnalogGControl> build(const Kind &kind)
    {
        auto w = kind.make();
        w->SetFlashTimer(&timer);
        w->SetClock([] { return kMoment; });
        w->resize(kind.size);
        w->SignalSettings().SetName1("MAP");
        w->SignalSettings().SetValueUnit("kPa");
        for (float v : {20.0f, 70.0f, 43.3f})
            w->SetValue(v);
        return w;
    }
};

struct Change {
    const char *name;
    std::function<void(TAnalogGControl &, TFlashTimer &)> apply;
};

void setPaletteColours(TAnalogGControl &w)
{
    QPalette p = w.palette();
    p.setColor(QPalette::Light, QColor(0x20, 0xe0, 0x40));
    p.setColor(QPalette::Dark, QColor(0x90, 0x10, 0x70));
    p.setColor(QPalette::Shadow, QColor(0x10, 0x30, 0xd0));
    p.setColor(QPalette::Midlight, QColor(0xf0, 0xa0, 0x10));
    p.setColor(QPalette::Button, QColor(0x40, 0x40, 0xf0));
    w.setPalette(p);
}

const Change kChanges[] = {
    {"nothing", [](TAnalogGControl &, TFlashTimer &) {}},
    {"value", [](TAnalogGControl &w, TFlashTimer &) { w.SetValue(61.7f); }},
    {"value low", [](TAnalogGControl &w, TFlashTimer &) { w.SetValue(3.2f); }},
    {"value over the scale", [](TAnalogGControl &w, TFlashTimer &) { w.SetValue(140.0f); }},
    {"value under the scale", [](TAnalogGControl &w, TFlashTimer &) { w.SetValue(-20.0f); }},
    {"options", [](TAnalogGControl &w, TFlashTimer &) { w.SetOptions(w.Options() ^ (opName1 | opUnit | opBevelInner | opSector)); }},
    {"names and unit",
     [](TAnalogGControl &w, TFlashTimer &) {
         w.SignalSettings().SetName1("P1 gas");
         w.SignalSettings().SetName2("bank B");
         w.SignalSettings().SetValueUnit("bar");
     }},
    {"range", [](TAnalogGControl &w, TFlashTimer &) { w.SignalSettings().SetValueTo(250); }},
    {"format", [](TAnalogGControl &w, TFlashTimer &) { w.SignalSettings().SetValueFormat("#0.00"); }},
    {"sectors",
     [](TAnalogGControl &w, TFlashTimer &) {
         w.SectorSettings().SetSector(2, QColor(0x30, 0x60, 0xff), 150, 520);
         w.SectorSettings().SetSector(3, QColor(0xff, 0x00, 0xc0), 600, 1000);
     }},
    {"limits", [](TAnalogGControl &w, TFlashTimer &) { w.SetLimitUpper(35); w.SetLimitLower(25); }},
    {"resize", [](TAnalogGControl &w, TFlashTimer &) { w.resize(w.size() + QSize(13, 21)); }},
    {"palette", [](TAnalogGControl &w, TFlashTimer &) { setPaletteColours(w); }},
    {"font",
     [](TAnalogGControl &w, TFlashTimer &) {
         QFont f = w.font();
         f.setPointSize(f.pointSize() + 3);
         w.setFont(f);
     }},
    {"min/max reset", [](TAnalogGControl &w, TFlashTimer &) { w.MinMax().Reset(); }},
    {"extreme colours",
     [](TAnalogGControl &w, TFlashTimer &) {
         w.MinMax().SetUseSectorCol(false);
         w.MinMax().SetMaxColor(QColor(0xff, 0x80, 0x00));
     }},
    {"alarm phase",
     [](TAnalogGControl &w, TFlashTimer &timer) {
         w.SetValue(140.0f);
         for (int i = 0; i < 3; ++i)
             timer.Tick();
     }},
    {"kind colour",
     [](TAnalogGControl &w, TFlashTimer &) {
         if (auto *t = qobject_cast<TThermometer *>(&w))
             t->SetLiquidColor(QColor(0x20, 0x80, 0xff));
         if (auto *b = qobject_cast<TBar *>(&w)) {
             b->SetBarColor(QColor(0x20, 0x80, 0xff));
             b->SetOptions(b->Options() & ~opUseSectorCol);
         }
     }},
};

QImage render(QWidget &w, qreal ratio)
{
    QImage image(w.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(0x55, 0x66, 0x77));
    QPainter painter(&image);
    w.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The widget drawn without layers, every part on this paint.
QImage renderDirect(TAnalogGControl &w, qreal ratio)
{
    w.SetLayered(false);
    const QImage image = render(w, ratio);
    w.SetLayered(true);
    return image;
}

// Empty when equal within antialiasing rounding, else where and by how much they differ.
std::string difference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return "sizes differ";
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int bad = 0;
    int worst = 0;
    QPoint at;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d = std::max({std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                                    std::abs(qBlue(p[col]) - qBlue(q[col])), std::abs(qAlpha(p[col]) - qAlpha(q[col]))});
            if (d > 2) {
                if (++bad == 1)
                    at = QPoint(col, row);
                worst = std::max(worst, d);
            }
        }
    }
    if (!bad)
        return {};
    return std::to_string(bad) + " pixels differ, first at (" + std::to_string(at.x()) + "," + std::to_string(at.y())
         + "), by up to " + std::to_string(worst);
}

TEST(WidgetLayers, EveryChangeShowsAsOnAFreshWidget)
{
    for (const qreal ratio : {1.0, 2.0}) {
        for (const Kind &kind : kKinds) {
            for (const Change &change : kChanges) {
                SCOPED_TRACE(std::string(kind.name) + " / " + change.name + " / ratio " + std::to_string(int(ratio)));
                Bench setup;
                auto changed = setup.build(kind);
                render(*changed, ratio); // the layers now hold the state before the change
                change.apply(*changed, setup.timer);
                const QImage after = render(*changed, ratio);

                auto fresh = setup.build(kind);
                change.apply(*fresh, setup.timer);
                // The twin registered with the timer later; both must show the same phase.
                ASSERT_EQ(fresh->AlarmPhase(), changed->AlarmPhase());
                EXPECT_EQ(difference(after, render(*fresh, ratio)), "");
                EXPECT_EQ(difference(after, renderDirect(*changed, ratio)), "");
            }
        }
    }
}

// The same widget through many values in a row: each paint copies from the same layers.
TEST(WidgetLayers, AValueSweepMatchesDirectDrawing)
{
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        Bench setup;
        auto w = setup.build(kind);
        for (float v = -7.0f; v <= 107.0f; v += 3.7f) {
            w->SetValue(v);
            ASSERT_EQ(difference(render(*w, 1.0), renderDirect(*w, 1.0)), "") << "value " << v;
        }
    }
}

// ---- the hint, built when read ----

TEST(LazyHint, FollowsValuesAndExtremesAsTheyHappen)
{
    const QLocale locale;
    auto stamp = [&](const QDateTime &t) {
        return locale.toString(t.date(), QLocale::ShortFormat) + " " + locale.toString(t.time(), QLocale::LongFormat);
    };
    THMeter w;
    QDateTime now = kMoment;
    int reads = 0;
    w.SetClock([&] { ++reads; return now; });
    w.SignalSettings().SetValueUnit("kPa");
    w.SetHintOptions(hoAutoHint | hoValue | hoMin | hoMax | hoMinMaxDate | hoMinMaxTime);

    struct Step { float value; int minAt; int maxAt; bool clockRead; };
    const Step steps[] = {
        {30, 0, 0, true},
        {40, 0, 1, true},
        {35, 0, 1, false},
        {10, 3, 1, true},
        {20, 3, 1, false},
    };
    const float mins[] = {30, 30, 30, 10, 10};
    const float maxs[] = {30, 40, 40, 40, 40};
    for (int i = 0; i < int(std::size(steps)); ++i) {
        now = kMoment.addSecs(60 * i);
        const int before = reads;
        w.SetValue(steps[i].value);
        EXPECT_EQ(reads - before, steps[i].clockRead ? 1 : 0) << i;
        const QString expected = QString("Value= %1 kPa\rMIN= %2 kPa %3\rMAX= %4 kPa %5")
                                     .arg(QString::number(steps[i].value, 'f', 1))
                                     .arg(QString::number(mins[i], 'f', 1))
                                     .arg(stamp(kMoment.addSecs(60 * steps[i].minAt)))
                                     .arg(QString::number(maxs[i], 'f', 1))
                                     .arg(stamp(kMoment.addSecs(60 * steps[i].maxAt)));
        EXPECT_EQ(w.Hint(), expected) << i;
        EXPECT_EQ(w.toolTip(), QString(expected).replace('\r', '\n')) << i;
    }
}

TEST(LazyHint, TheShownTooltipIsBroughtUpToDateWhenAsked)
{
    THMeter w;
    w.SetClock([] { return kMoment; });
    w.SetHintOptions(hoAutoHint | hoValue);
    w.SignalSettings().SetValueUnit("V");
    w.SetValue(12.5f);
    QWidget &plain = w;
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&w, &help);
    EXPECT_EQ(plain.toolTip(), "Value= 12.5 V");
    w.SetValue(13.5f);
    QCoreApplication::sendEvent(&w, &help);
    EXPECT_EQ(plain.toolTip(), "Value= 13.5 V");
}

// Changes that leave the hint alone must not leak into a hint that was still to be built.
TEST(LazyHint, ChangesThatDoNotUpdateTheHintStayOutOfIt)
{
    struct Case {
        const char *name;
        std::function<void(THMeter &)> after;
        QString hint;
    };
    const Case cases[] = {
        {"reset, then a new name",
         [](THMeter &w) {
             w.MinMax().Reset();
             w.SignalSettings().SetName1("other");
         },
         "Value= 9.0 %\rMIN= 5.0 %\rMAX= 9.0 %\rMAP"},
        {"automatic hint switched off",
         [](THMeter &w) {
             w.SetHintOptions(hoValue);
             w.SetValue(3);
         },
         "Value= 9.0 %\rMIN= 5.0 %\rMAX= 9.0 %\rMAP"},
        {"fewer lines",
         [](THMeter &w) { w.SetHintOptions(hoAutoHint | hoValue | hoName1); },
         "Value= 9.0 %\rMAP"},
    };
    for (const Case &c : cases) {
        THMeter w;
        w.SetClock([] { return kMoment; });
        w.SignalSettings().SetName1("MAP");
        w.SetHintOptions(hoAutoHint | hoValue | hoMin | hoMax | hoName1);
        w.SetValue(5);
        w.SetValue(9);
        c.after(w);
        EXPECT_EQ(w.Hint(), c.hint) << c.name;
    }
}

} // namespace
