#include "app/live/FaultsTab.h"

#include "app/common/HandlerGuard.h"
#include "app/common/NamedComponents.h"

#include "i18n/LanguageTable.h"
#include "live/CurrentFaults.h"
#include "live/FaultLogReset.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>

namespace {

QColor colourOf(LiveColour colour)
{
    const std::optional<uint32_t> rgb = liveColourRgb(colour);
    return rgb ? QColor::fromRgb(*rgb) : QColor();
}

} // namespace

FaultsTab::FaultsTab(NamedComponents &components, const LanguageTable *texts, QueueCommand queue, QObject *parent)
    : QObject(parent), m_components(components), m_texts(texts), m_queue(std::move(queue))
{
    // The banner is a plain panel without a click of its own.
    if (QWidget *banner = m_components.find(QStringLiteral("Error_Led")))
        banner->installEventFilter(this);
    if (auto *reset = m_components.find<QPushButton>(QStringLiteral("Button2")))
        connect(reset, &QPushButton::clicked, this,
                [this] { HandlerGuard::run(m_components.root(), [this] { Button2Click(); }); });
}

void FaultsTab::showCurrentFaults(const LiveValues &values)
{
    const QList<CurrentFaults::Line> lines =
        CurrentFaults::lines(values, [this](int row) { return messageText(row); });

    // One line per fault; a break after the last one would show as an empty line.
    QStringList text;
    for (const CurrentFaults::Line &line : lines)
        text << line.text;
    setMemo("Actual_errors_Memo", text.join(QLatin1Char('\n')));

    QWidget *banner = m_components.find(QStringLiteral("Error_Led"));
    if (!banner)
        return;
    banner->setVisible(CurrentFaults::bannerVisible(lines));
    const LiveColour current = bannerColour() == bannerRed() ? LiveColour::Red : LiveColour::LightRed;
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setColor(QPalette::Window, colourOf(CurrentFaults::nextBannerColour(current)));
    banner->setPalette(pal);
}

void FaultsTab::Error_LedClick()
{
    auto *tabs = m_components.find<QTabWidget>(QStringLiteral("tab_control"));
    QWidget *page = m_components.find(QStringLiteral("TabSheet5"));
    if (tabs && page)
        tabs->setCurrentWidget(page);
}

void FaultsTab::Button2Click()
{
    if (m_queue)
        m_queue(FaultLogReset::CommandRetries, FaultLogReset::body());
    setMemo("Actual_errors_Memo", QString());
    setMemo("Register_errors_memo", QString());
}

QColor FaultsTab::bannerColour()
{
    QWidget *banner = m_components.find(QStringLiteral("Error_Led"));
    return banner ? banner->palette().color(QPalette::Window) : QColor();
}

bool FaultsTab::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == m_components.find(QStringLiteral("Error_Led"))
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        HandlerGuard::run(m_components.root(), [this] { Error_LedClick(); });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString FaultsTab::messageText(int row) const
{
    return m_texts ? m_texts->message(row) : QString();
}

void FaultsTab::setMemo(const char *name, const QString &text)
{
    // Rebuilt from every frame, but mostly unchanged: keep the reader's
    // scroll position and selection, and the per-frame cost down.
    auto *memo = m_components.find<QPlainTextEdit>(QString::fromLatin1(name));
    if (memo && memo->toPlainText() != text)
        memo->setPlainText(text);
}
