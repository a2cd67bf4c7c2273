// Gallery page: the two-channel trend as the scope tab configures it, and one
// with every option, both fed with moving test signals.
#include "GalleryPage.h"

#include "widgets/TMiniTrend.h"

#include <QHBoxLayout>
#include <QTimer>

#include <cmath>

namespace {

void scopeLike(TMiniTrend *t)
{
    struct Ch {
        TSignalSettings *s;
        const char *name;
        const char *unit;
        float to;
    };
    const Ch chs[] = {{&t->SignalSettingsCh1(), "MAP", "[kPa] ", 250}, {&t->SignalSettingsCh2(), "P1", " [bar]", 4}};
    for (const Ch &c : chs) {
        c.s->SetValueFrom(0);
        c.s->SetValueTo(50);
        c.s->SetDigitalTo(50);
        c.s->SetName2(QStringLiteral(" "));
        c.s->SetName1(QLatin1String(c.name));
        c.s->SetValueUnit(QLatin1String(c.unit));
        c.s->SetValueTo(c.to);
    }
    t->SetTimeScale(1);
    t->SetOptions(TMiniTrend::opBevelOuter | TMiniTrend::opScaleCh1 | TMiniTrend::opScaleCh2
                  | TMiniTrend::opSignDescCh1 | TMiniTrend::opSignDescCh2 | TMiniTrend::opGrid);
}

QWidget *makePage()
{
    auto *page = new QWidget;
    auto *h = new QHBoxLayout(page);
    auto *scope = new TMiniTrend;
    scope->setObjectName(QStringLiteral("Oscyloskop"));
    scopeLike(scope);
    scope->setMinimumSize(520, 340);
    auto *full = new TMiniTrend;
    full->SetCaption(QStringLiteral("Temp Gaz / Red"));
    full->SignalSettingsCh1().SetName1(QStringLiteral("Gaz"));
    full->SignalSettingsCh1().SetValueUnit(QStringLiteral("[°C] "));
    full->SignalSettingsCh1().SetValueTo(120);
    full->SignalSettingsCh2().SetName1(QStringLiteral("Red"));
    full->SignalSettingsCh2().SetValueUnit(QStringLiteral(" [°C]"));
    full->SignalSettingsCh2().SetValueTo(120);
    full->SetTimeScale(1);
    full->setMinimumSize(520, 340);
    h->addWidget(scope);
    h->addWidget(full);

    // Fed every 240 ms like the live frame; MAP overshoots its scale to show clipping.
    auto *feed = new QTimer(page);
    auto phase = std::make_shared<double>(0.0);
    QObject::connect(feed, &QTimer::timeout, page, [=] {
        *phase += 0.24;
        const double p = *phase;
        scope->SetValueCh1(float(130 + 135 * std::sin(p * 1.3)));
        scope->SetValueCh2(float(2.0 + 1.2 * std::sin(p * 0.7) + (std::fmod(p, 6.0) < 3 ? 0.4 : 0)));
        full->SetValueCh1(float(60 + 40 * std::sin(p * 0.5)));
        full->SetValueCh2(float(80 + 25 * std::cos(p * 0.9)));
    });
    feed->start(240);
    return page;
}

const GalleryPageRegistrar registrar(QStringLiteral("Trend"), 30, makePage);

} // namespace
