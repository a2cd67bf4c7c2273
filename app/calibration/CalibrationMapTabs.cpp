#include "app/calibration/CalibrationMapTabs.h"

#include "app/common/InstrumentFactory.h"
#include "app/calibration/MapChart.h"
#include "app/calibration/MapFitPanel.h"
#include "app/common/PlainControls.h"

#include "widgets/TSpinButton.h"
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QIcon abortGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xD0, 0x00, 0x00), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(3, 3, 13, 13);
    p.drawLine(13, 3, 3, 13);
    return QIcon(pixmap);
}

QPushButton *fuelButton(const char *name, const QString &text, const QColor &colour, QWidget *parent)
{
    QPushButton *b = PlainControls::button(QString::fromLatin1(name), text, parent);
    b->setIcon(abortGlyph());
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, colour);
    b->setPalette(pal);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    b->setMinimumWidth(100);
    return b;
}

} // namespace

QWidget *CalibrationMapTabs::calibration(QWidget *parent)
{
    QWidget *tab = page("TabSheet3", parent);
    auto *column = new QVBoxLayout(tab);

    auto *box = new QGroupBox(tab);
    box->setObjectName(QStringLiteral("GroupBox9"));
    auto *grid = new QGridLayout(box);
    grid->addWidget(PlainControls::label(QStringLiteral("Label28"), QStringLiteral("START - Początek adaptacji"), box), 0, 0, 1, 2);
    QPushButton *start = PlainControls::button(QStringLiteral("Button_start"), QStringLiteral("START"), box);
    QPushButton *stop = PlainControls::button(QStringLiteral("Button_stop"), QStringLiteral("STOP"), box);
    for (QPushButton *b : {start, stop}) {
        b->setMinimumSize(120, 40);
        QFont f = b->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() + 2);
        b->setFont(f);
    }
    grid->addWidget(start, 1, 0);
    grid->addWidget(stop, 1, 1);

    auto *progress = new QProgressBar(box);
    progress->setObjectName(QStringLiteral("Adaptacja_progres"));
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setEnabled(false); // enabled only while a calibration runs
    grid->addWidget(progress, 2, 0, 1, 2);

    QLabel *info = PlainControls::label(QStringLiteral("Adaptacja_info"), QString(), box);
    info->setFrameShape(QFrame::StyledPanel);
    info->setMinimumHeight(90);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info->setWordWrap(true);
    grid->addWidget(info, 3, 0, 1, 2);
    box->setMaximumWidth(560);

    column->addWidget(box, 0, Qt::AlignLeft);
    column->addStretch(1);
    return tab;
}

QWidget *CalibrationMapTabs::map(QWidget *parent)
{
    QWidget *tab = page("TabSheet4", parent);
    auto *grid = new QGridLayout(tab);

    grid->addWidget(MapChart::create(tab), 0, 0);

    // Up/down arrows; the clear button sits below the panel's resting height
    // and only shows while an area is being marked.
    auto *arrows = new QFrame(tab);
    arrows->setObjectName(QStringLiteral("Panel4"));
    arrows->setFrameShape(QFrame::StyledPanel);
    arrows->setAutoFillBackground(true);
    arrows->setFixedSize(44, 97);
    TSpinButton *spin = InstrumentFactory::spinButton(QStringLiteral("SpinButton1"), arrows);
    // Held down, the correction moves every 100 ms after half a second.
    spin->SetStartDelay(500);
    spin->SetInterval(100);
    spin->setGeometry(7, 8, 30, 80);
    QPushButton *clear = PlainControls::button(QStringLiteral("Button3"), QStringLiteral("X"), arrows);
    clear->setGeometry(7, 100, 30, 26);
    // Beside the arrows, "Fit to curves" and what follows it.
    auto *side = new QVBoxLayout;
    side->addWidget(arrows, 0, Qt::AlignLeft);
    side->addWidget(MapFitPanel::buttons(tab), 1);
    grid->addLayout(side, 0, 1);

    auto *below = new QHBoxLayout;
    auto *zoom = PlainControls::label(QStringLiteral("zoom"), QStringLiteral("<< [ms] >>"), tab);
    zoom->setFrameShape(QFrame::StyledPanel);
    zoom->setAlignment(Qt::AlignCenter);
    zoom->setMinimumWidth(120);
    zoom->setCursor(Qt::PointingHandCursor);
    zoom->setMouseTracking(true);
    below->addWidget(zoom);
    below->addStretch(1);
    below->addWidget(fuelButton("BitBtn1", QStringLiteral("Gaz"), QColor(0x00, 0x80, 0x00), tab));
    below->addWidget(fuelButton("BitBtn2", QStringLiteral("Petrol"), QColor(0xFF, 0x00, 0x00), tab));
    grid->addLayout(below, 1, 0);
    grid->addWidget(MapFitPanel::summaryLabel(tab), 2, 0, 1, 2);
    // The chart takes the room the window gives the page.
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(0, 1);
    return tab;
}
