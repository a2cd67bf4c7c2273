#include "app/window/InfoTabs.h"

#include "app/common/FlagIcon.h"
#include "app/window/InfoLinks.h"
#include "app/common/Picture.h"
#include "app/common/PlainControls.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel *linkLabel(const char *name, const QString &text, QWidget *parent)
{
    QLabel *l = PlainControls::label(QString::fromLatin1(name), text, parent);
    QFont f = l->font();
    f.setUnderline(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    l->setFont(f);
    l->setCursor(Qt::PointingHandCursor);
    l->setMouseTracking(true); // colour follows the pointer without a button held
    return l;
}

} // namespace

QWidget *InfoTabs::obd(QWidget *parent)
{
    QWidget *tab = page("TabSheet10", parent);
    auto *row = new QHBoxLayout(tab);
    auto *params = PlainControls::group(QStringLiteral("ParametryOBD2"), QStringLiteral("Parametry OBDII"), tab);
    auto *grid = new QGridLayout(params);
    grid->addWidget(PlainControls::label(QStringLiteral("Label25"), QStringLiteral("Interface ZENU używa port"), params), 0, 0);
    grid->addWidget(PlainControls::label(QStringLiteral("Label26"), QStringLiteral("Port COM"), params), 1, 0);
    auto *status = PlainControls::group(QStringLiteral("GroupBox20"), QStringLiteral("Status"), params);
    status->setMinimumSize(200, 80);
    grid->addWidget(status, 2, 0);
    auto *type = PlainControls::group(QStringLiteral("GroupBox21"), QStringLiteral("Typ OBD"), params);
    type->setMinimumSize(200, 80);
    grid->addWidget(type, 3, 0);
    grid->setRowStretch(4, 1);
    row->addWidget(params);
    row->addStretch(1);
    tab->setEnabled(false);
    return tab;
}

QWidget *InfoTabs::help(QWidget *parent)
{
    QWidget *tab = page("TabSheet11", parent);
    auto *column = new QVBoxLayout(tab);
    QPlainTextEdit *memo = PlainControls::memo(QStringLiteral("Help_Memo"), tab);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(memo);
    return tab;
}

QWidget *InfoTabs::info(QWidget *parent)
{
    QWidget *tab = page("TabSheet12", parent);
    auto *outer = new QVBoxLayout(tab);
    outer->setContentsMargins(0, 0, 0, 0);

    auto *panel = new QFrame(tab);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setMouseTracking(true);
    outer->addWidget(panel);

    auto *column = new QVBoxLayout(panel);
    column->addStretch(1);
    column->addWidget(Picture::create(QStringLiteral("Image2"), panel), 0, Qt::AlignHCenter);
    column->addSpacing(16);
    column->addWidget(linkLabel("ZENU_Linl_label", InfoLinks::defaultWebAddress(), panel), 0, Qt::AlignHCenter);
    column->addWidget(linkLabel("Label23", InfoLinks::defaultMailAddress(), panel), 0, Qt::AlignHCenter);
    column->addSpacing(16);

    auto *flags = new QHBoxLayout;
    flags->addStretch(1);
    for (const char *key : {"NiemieckiDE", "AngielskiGB", "PolskiPL", "Russian", "Ceski"}) {
        auto *button = new QToolButton(panel);
        button->setObjectName(QStringLiteral("G") + QString::fromLatin1(key));
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setIcon(FlagIcon::forLanguage(QString::fromLatin1(key)));
        button->setIconSize(QSize(36, 24));
        flags->addWidget(button);
    }
    flags->addStretch(1);
    column->addLayout(flags);
    column->addStretch(1);
    panel->findChild<QToolButton *>(QStringLiteral("GRussian"))->setEnabled(false);
    return tab;
}
