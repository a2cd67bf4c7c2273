#pragma once

#include "live/LiveValues.h"

#include <QByteArray>
#include <QColor>
#include <QObject>

#include <functional>

class LanguageTable;
class NamedComponents;

// The current faults of the live frame in `Actual_errors_Memo` and the
// blinking banner `Error_Led`, the banner's click that brings the "Error"
// tab forward, and the tab's "Reset" button that clears the controller's
// fault log.
class FaultsTab : public QObject
{
public:
    // Hands one command to the link: the retry budget, then the body.
    using QueueCommand = std::function<void(int retries, const QByteArray &body)>;

    static QColor bannerRed() { return QColor(0xFF, 0x00, 0x00); }

    FaultsTab(NamedComponents &components, const LanguageTable *texts, QueueCommand queue,
              QObject *parent = nullptr);

    // `ShowCurrentFaults`.
    void showCurrentFaults(const LiveValues &values);
    // `Error_LedClick`.
    void Error_LedClick();
    // `Button2Click`.
    void Button2Click();

    QColor bannerColour();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString messageText(int row) const;
    void setMemo(const char *name, const QString &text);

    NamedComponents &m_components;
    const LanguageTable *m_texts;
    QueueCommand m_queue;
};
