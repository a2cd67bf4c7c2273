#include "app/window/InfoLinks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>

namespace {
void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}
} // namespace

QString InfoLinks::defaultWebAddress()
{
    return QStringLiteral("http://www.example.com/zenu");
}

QString InfoLinks::defaultMailAddress()
{
    return QStringLiteral("zenu@example.com");
}

InfoLinks::InfoLinks(QLabel *webLabel, QLabel *mailLabel, Opener opener)
    : m_web(webLabel), m_mail(mailLabel), m_opener(std::move(opener)),
      m_webTarget(defaultWebAddress()), m_mailTarget(QStringLiteral("mailto:") + defaultMailAddress())
{
    if (!m_opener)
        m_opener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

void InfoLinks::setTargets(const QString &webTarget, const QString &mailTarget)
{
    m_webTarget = webTarget;
    m_mailTarget = mailTarget;
}

void InfoLinks::open(const QLabel *label) const
{
    // The result is deliberately dropped: a missing browser or mail client
    // is the desktop's business, not an error of this program.
    if (label == m_web)
        (void)m_opener(QUrl(m_webTarget));
    else if (label == m_mail)
        (void)m_opener(QUrl(m_mailTarget));
}

void InfoLinks::highlight(QLabel *label) const
{
    if (label == m_web || label == m_mail)
        setTextColour(label, QColor(0x00, 0x00, 0xFF));
}

void InfoLinks::resetColours() const
{
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    setTextColour(m_web, windowText);
    setTextColour(m_mail, windowText);
}
