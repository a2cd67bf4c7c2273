#include "app/window/LanguageView.h"

#include "i18n/LanguageTable.h"
#include "i18n/TextRow.h"

#include "widgets/TAnalogCControl.h"
#include "widgets/TAnalogGControl.h"
#include "widgets/TToggleSwitch.h"

#include <QAbstractButton>
#include <QAbstractSeries>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QValueAxis>

namespace {

// The tab widget showing `page` and the page's index there; a page may sit
// in a scroll area that is itself the tab's widget.
std::pair<QTabWidget *, int> tabOf(QWidget *page)
{
    for (QWidget *w = page; w; w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (tabs)
            return {tabs, tabs->indexOf(w)};
        // Only the page itself or a scroll area's content counts, not a
        // control somewhere on a page.
        if (w != page && !qobject_cast<QScrollArea *>(w))
            break;
    }
    return {nullptr, -1};
}

QAbstractAxis *leftAxis(QChartView *view)
{
    QChart *chart = view->chart();
    if (!chart)
        return nullptr;
    for (QAbstractAxis *axis : chart->axes(Qt::Vertical)) {
        if (axis->alignment() == Qt::AlignLeft)
            return axis;
    }
    return nullptr;
}

// Sets (or, with `text` null, only checks) the caption of whatever control
// carries it: labels, group boxes, buttons of every kind, menus, menu items,
// chart series and the pages of a tab control.
bool setCaption(QObject *control, const QString *text)
{
    if (auto *l = qobject_cast<QLabel *>(control)) {
        if (text)
            l->setText(*text);
        return true;
    }
    if (auto *g = qobject_cast<QGroupBox *>(control)) {
        if (text)
            g->setTitle(*text);
        return true;
    }
    if (auto *b = qobject_cast<QAbstractButton *>(control)) {
        if (text)
            b->setText(*text);
        return true;
    }
    if (auto *m = qobject_cast<QMenu *>(control)) {
        if (text)
            m->setTitle(*text);
        return true;
    }
    if (auto *a = qobject_cast<QAction *>(control)) {
        if (text)
            a->setText(*text);
        return true;
    }
    if (auto *s = qobject_cast<QAbstractSeries *>(control)) {
        if (text)
            s->setName(*text);
        return true;
    }
    if (auto *w = qobject_cast<QWidget *>(control)) {
        const auto [tabs, index] = tabOf(w);
        if (!tabs || index < 0)
            return false;
        if (text)
            tabs->setTabText(index, *text);
        return true;
    }
    return false;
}

TSignalSettings *signalOf(QObject *control)
{
    if (auto *g = qobject_cast<TAnalogGControl *>(control))
        return &g->SignalSettings();
    if (auto *c = qobject_cast<TAnalogCControl *>(control))
        return &c->SignalSettings();
    return nullptr;
}

} // namespace

LanguageView::Controls LanguageView::controls() const
{
    QSet<QString> wanted;
    for (const TextTarget &t : textTargets())
        wanted.insert(QString::fromLatin1(t.objectName));

    Controls found;
    const auto note = [&](QObject *o) {
        const QString name = o->objectName();
        if (!name.isEmpty() && wanted.contains(name) && !found.contains(name))
            found.insert(name, o);
    };
    // One walk over the window instead of a search per row: the switch is
    // meant to feel instant with a hundred targets.
    for (QObject *o : m_window->findChildren<QObject *>()) {
        note(o);
        if (auto *view = qobject_cast<QChartView *>(o); view && view->chart()) {
            for (QAbstractSeries *s : view->chart()->series())
                note(s);
        }
    }
    return found;
}

bool LanguageView::set(QObject *control, const TextTarget &target, const QString *text)
{
    switch (target.kind) {
    case TextTargetKind::Caption:
        return setCaption(control, text);
    case TextTargetKind::Name1:
    case TextTargetKind::Name2: {
        TSignalSettings *signal = signalOf(control);
        if (!signal)
            return false;
        if (text) {
            if (target.kind == TextTargetKind::Name1)
                signal->SetName1(*text);
            else
                signal->SetName2(*text);
        }
        return true;
    }
    case TextTargetKind::Item: {
        // Renaming in place keeps the index and the selection and raises no
        // activated signal, which is the only one the settings send on.
        auto *combo = qobject_cast<QComboBox *>(control);
        if (!combo || target.item < 0 || target.item >= combo->count())
            return false;
        if (text)
            combo->setItemText(target.item, *text);
        return true;
    }
    case TextTargetKind::OffText: {
        auto *toggle = qobject_cast<TToggleSwitch *>(control);
        if (!toggle)
            return false;
        if (text)
            toggle->SetTextOff(*text);
        return true;
    }
    case TextTargetKind::Hint: {
        auto *w = qobject_cast<QWidget *>(control);
        if (!w)
            return false;
        if (text)
            w->setToolTip(*text);
        return true;
    }
    case TextTargetKind::LeftAxisTitle: {
        auto *view = qobject_cast<QChartView *>(control);
        QAbstractAxis *axis = view ? leftAxis(view) : nullptr;
        if (!axis)
            return false;
        if (text)
            axis->setTitleText(*text);
        return true;
    }
    }
    return false;
}

std::vector<TextTarget> LanguageView::apply(const LanguageTable &table, int column) const
{
    std::vector<TextTarget> missed;
    const Controls all = controls();
    for (const TextTarget &target : textTargets()) {
        const QString text = table.text(target.row, column);
        QObject *control = all.value(QString::fromLatin1(target.objectName));
        if (!control || !set(control, target, &text))
            missed.push_back(target);
    }
    setHelpAndLinks(table, column);
    return missed;
}

void LanguageView::setHelpAndLinks(const LanguageTable &table, int column) const
{
    if (auto *help = m_window->findChild<QPlainTextEdit *>(QStringLiteral("Help_Memo"))) {
        // The table keeps the help's lines apart by CR LF; the memo takes plain new lines.
        QString text = table.text(TextRow::HelpText, column);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (help->toPlainText() != text)
            help->setPlainText(text);
    }
    if (auto *web = m_window->findChild<QLabel *>(QStringLiteral("ZENU_Linl_label")))
        web->setText(table.text(TextRow::WebAddress, column));
    if (auto *mail = m_window->findChild<QLabel *>(QStringLiteral("Label23")))
        mail->setText(table.text(TextRow::MailLink, column));
}

bool LanguageView::reaches(const TextTarget &target) const
{
    QObject *control = controls().value(QString::fromLatin1(target.objectName));
    return control && set(control, target, nullptr);
}
