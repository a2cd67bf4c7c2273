#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QLabel;

// The maker's web and mail links on the Info tab: what a click opens and how
// the two labels react to the mouse. Opening goes to the system's shell; a
// shell that cannot open the address is not reported.
class InfoLinks
{
public:
    using Opener = std::function<bool(const QUrl &)>;

    static QString defaultWebAddress();  // "http://www.example.com/zenu"
    static QString defaultMailAddress(); // "zenu@example.com"

    InfoLinks(QLabel *webLabel, QLabel *mailLabel, Opener opener = {});

    QString webTarget() const { return m_webTarget; }
    QString mailTarget() const { return m_mailTarget; }
    // The language switch supplies its own targets; the mail one is a
    // complete "mailto:" address.
    void setTargets(const QString &webTarget, const QString &mailTarget);

    // Click on either label; other widgets are ignored.
    void open(const QLabel *label) const;
    // Mouse over a label: that label turns blue.
    void highlight(QLabel *label) const;
    // Mouse over the background: both labels back to the window text colour.
    void resetColours() const;

private:
    QLabel *m_web;
    QLabel *m_mail;
    Opener m_opener;
    QString m_webTarget;
    QString m_mailTarget;
};
