#include "app/window/WindowLinkView.h"

#include "app/window/LinkRideOut.h"

#include "app/common/PanelColour.h"
#include "app/common/UserMessage.h"
#include "app/common/WindowShell.h"

#include "i18n/LanguageTable.h"

#include "link/Session.h"

#include "live/LiveFrameDecoder.h"

#include "widgets/TLedIndicator.h"
#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

const char *const FileMenuItems[] = {"Odczyt1", "Zapis1", "Reset1"};
const char *const ReserveLeds[] = {"rezerwa_led_gora", "Rezerwa_led_panel"};
const char *const ScopeLambdaButtons[] = {"RPM_LAMBDA1", "RPM_LAMBDA2"};
constexpr int InjectorLeds = 8;

} // namespace

void WindowLinkView::showMessage(const QString &text)
{
    // A box whose parent is disabled (long exchange) would be disabled too and
    // could never be closed.
    UserMessage::show(m_window.root()->isEnabled() ? m_window.root() : nullptr,
                      m_rideOut ? m_rideOut->describe(text) : text);
}

void WindowLinkView::dismissMessage()
{
    UserMessage::dismissOpen();
}

bool WindowLinkView::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, m_window.root());
    box.setObjectName(QStringLiteral("ConfirmBox"));
    box.setEnabled(true);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString WindowLinkView::messageText(int row) const
{
    LanguageTable *texts = m_window.languageTable();
    return texts ? texts->message(row) : QString();
}

QString WindowLinkView::currentLanguageKey() const
{
    return m_window.currentLanguageKey();
}

QString WindowLinkView::statusText() const
{
    return m_window.statusPanelText();
}

void WindowLinkView::setStatusText(const QString &text)
{
    m_window.setStatusPanelText(text);
}

void WindowLinkView::setWindowEnabled(bool enabled)
{
    m_window.root()->setEnabled(enabled);
}

void WindowLinkView::setLinkPanelsGrey(bool grey)
{
    const QColor colour = grey ? QColor::fromRgb(GreyRgb) : QApplication::palette().color(QPalette::Button);
    setPanelColour(m_window.topPanel(), colour);
    setPanelColour(m_window.component(QStringLiteral("Zaplon_panel")), colour);
}

void WindowLinkView::setConnectSwitchOn(bool on)
{
    // The switch reports this as a change not made by the user, which the
    // window does not hand on to the session.
    if (auto *sw = m_window.component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        sw->SetChecked(on);
}

void WindowLinkView::setConnectSwitchOnText(const QString &text)
{
    if (auto *sw = m_window.component<TToggleSwitch>(QStringLiteral("Polacz_switch")))
        sw->SetTextOn(text);
}

void WindowLinkView::setFileMenuAvailable(bool available)
{
    for (const char *name : FileMenuItems) {
        if (auto *item = m_window.component<QAction>(QString::fromLatin1(name))) {
            item->setVisible(available);
            item->setEnabled(available);
        }
    }
}

void WindowLinkView::setErrorLedVisible(bool visible)
{
    if (QWidget *banner = m_window.component(QStringLiteral("Error_Led")))
        banner->setVisible(visible);
}

QString WindowLinkView::faultMemoText() const
{
    auto *memo = m_window.component<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"));
    return memo ? memo->toPlainText() : QString();
}

void WindowLinkView::setFaultMemoText(const QString &text)
{
    if (auto *memo = m_window.component<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo")))
        memo->setPlainText(text);
}

void WindowLinkView::setReserveLedsFlashing(bool flashing)
{
    for (const char *name : ReserveLeds) {
        auto *led = m_window.component<TLedIndicator>(QString::fromLatin1(name));
        if (!led)
            continue;
        led->SetFlashing(flashing);
        if (!flashing)
            led->SetChecked(false);
    }
}

void WindowLinkView::resetInjectorLeds()
{
    for (int k = 0; k < InjectorLeds; ++k) {
        if (auto *led = m_window.component<TLedIndicator>(QStringLiteral("Cyl_%1_led").arg(k))) {
            led->SetColorOff(QColor::fromRgb(GreyRgb));
            led->SetChecked(false);
        }
    }
}

void WindowLinkView::uncheckScopeLambdaButtons()
{
    for (const char *name : ScopeLambdaButtons) {
        auto *button = m_window.component<QRadioButton>(QString::fromLatin1(name));
        if (!button)
            continue;
        // An exclusive radio button refuses to be unchecked on its own.
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(exclusive);
    }
}

void WindowLinkView::applySettingsFrame(const QByteArray &settings)
{
    // The session has just kept the block as StoredSettings, which is what
    // the settings controls read.
    if (m_rooms.applySettingsFrame)
        m_rooms.applySettingsFrame();
    for (const AnswerTap &tap : m_answerTaps)
        tap(RecordKind::Settings, settings);
}

void WindowLinkView::applyLiveFrame(const QByteArray &answer)
{
    // Kept whole, short or not: an acknowledgement or the 500 rest bytes of a
    // disconnect are frames too. The decoder leaves out what a short answer
    // does not carry.
    m_lastLive = answer;
    m_lastValues = LiveFrameDecoder::decode(answer);
    ++m_liveFrames;
    if (m_rooms.applyLiveFrame)
        m_rooms.applyLiveFrame(answer);
    for (const AnswerTap &tap : m_answerTaps)
        tap(RecordKind::Answer, answer);
}

void WindowLinkView::writeDataFile()
{
    if (m_rooms.writeDataFile)
        m_rooms.writeDataFile();
}

void WindowLinkView::dataFileNotWritten(SaveDropped why)
{
    if (m_rooms.dataFileNotWritten)
        m_rooms.dataFileNotWritten(why);
}

void WindowLinkView::linkEnded()
{
    if (m_linkEnded)
        m_linkEnded();
}

void WindowLinkView::lineErrorsChanged(int errorsLastMinute)
{
    if (m_rideOut)
        m_rideOut->lineErrorsChanged(errorsLastMinute);
}

void WindowLinkView::reconnecting(int attempt)
{
    // The displays keep their last values over grey panels: old, not rested.
    setLinkPanelsGrey(true);
    if (m_rideOut)
        m_rideOut->reconnecting(attempt);
}

void WindowLinkView::portLost(const QString &message)
{
    if (m_rideOut)
        m_rideOut->portLost(message);
}

void WindowLinkView::reconnected(bool settingsDiffer)
{
    setLinkPanelsGrey(false);
    if (m_rideOut)
        m_rideOut->reconnected(settingsDiffer);
}

void WindowLinkView::commandNotSent(const QByteArray &)
{
    if (m_rideOut)
        m_rideOut->commandNotSent();
}

QString WindowLinkView::controllerChanged(const QByteArray &block)
{
    // A recording keeps the block that answered: the mark of where another
    // controller came in.
    for (const AnswerTap &tap : m_answerTaps)
        tap(RecordKind::Settings, block);
    return m_rideOut ? m_rideOut->controllerChanged(Session::versionText(block)) : QString();
}

void WindowLinkView::linkSettled()
{
    if (m_linkSettled)
        m_linkSettled();
}
