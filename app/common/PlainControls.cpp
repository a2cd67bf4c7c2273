#include "app/common/PlainControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
template <class T>
T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}
} // namespace

QLabel *PlainControls::label(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QLabel(text, parent), name);
}

QGroupBox *PlainControls::group(const QString &name, const QString &title, QWidget *parent)
{
    return named(new QGroupBox(title, parent), name);
}

QComboBox *PlainControls::combo(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *c = named(new QComboBox(parent), name);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->setMinimumWidth(150);
    return c;
}

QCheckBox *PlainControls::check(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QCheckBox(text, parent), name);
}

QRadioButton *PlainControls::radio(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QRadioButton(text, parent), name);
}

QLineEdit *PlainControls::edit(const QString &name, const QString &text, QWidget *parent)
{
    auto *e = named(new QLineEdit(text, parent), name);
    e->setMaximumWidth(90);
    return e;
}

QPlainTextEdit *PlainControls::memo(const QString &name, QWidget *parent)
{
    auto *m = named(new QPlainTextEdit(parent), name);
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return m;
}

QPushButton *PlainControls::button(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QPushButton(text, parent), name);
}
