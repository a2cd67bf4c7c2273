#include "app/settings/LevelSensorGroup.h"

#include "app/common/HandlerGuard.h"

#include "settings/LevelSensor.h"

#include "widgets/TVSlider.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>

#include <algorithm>
#include <stdexcept>

namespace {

// Focus that leaves for a popup or another application comes straight back;
// it is not the fitter entering or leaving the group.
bool passingFocus(const QEvent *event)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

QColor windowColour()
{
    return QPalette().color(QPalette::Base); // clWindow
}

} // namespace

LevelSensorView LevelSensorView::find(QWidget *root)
{
    LevelSensorView v;
    for (int j = 0; j < 4; ++j)
        v.thresholds[j] = root->findChild<QLineEdit *>(QStringLiteral("Ch_U_LPG_%1").arg(j + 1));
    v.sensorType = root->findChild<QComboBox *>(QStringLiteral("Rodz_czuj_LPG"));
    v.changer = root->findChild<TVSlider *>(QStringLiteral("Ch_U_LPG_changer"));
    v.reading = root->findChild<QLineEdit *>(QStringLiteral("U_zbiornika"));
    return v;
}

LevelSensorGroup::LevelSensorGroup(const LevelSensorView &view, CommandSink send, StoredSettings stored,
                                   Texts texts, QWidget *messageParent)
    : m_view(view), m_send(std::move(send)), m_stored(std::move(stored)), m_texts(std::move(texts)),
      m_messageParent(messageParent)
{
    for (QLineEdit *edit : m_view.thresholds) {
        // Thresholds change only through the slider; the edit never keeps
        // the focus, so it takes no typing.
        edit->installEventFilter(this);
        setColour(edit, windowColour());
    }
    m_view.sensorType->installEventFilter(this);
    m_view.changer->installEventFilter(this);

    connect(m_view.changer, &TVSlider::OnValueChange, this, [this] { Ch_U_LPG_changerValueChange(); });
    connect(m_view.changer, &TVSlider::OnValueChanged, this, [this] { Ch_U_LPG_X_Change(m_view.changer); });
    // Only the fitter's pick sends; the program setting the item does not.
    connect(m_view.sensorType, &QComboBox::activated, this, [this] { Ch_U_LPG_X_Change(m_view.sensorType); });
}

bool LevelSensorGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && !passingFocus(event)) {
        const bool threshold =
            std::find(m_view.thresholds.begin(), m_view.thresholds.end(), watched) != m_view.thresholds.end();
        if (watched == m_view.sensorType || threshold)
            Ch_U_LPG_X_Enter(watched);
        // The focus has moved on to the slider already; the edit must not
        // start a text cursor of its own after the fact.
        if (threshold)
            return true;
    } else if (event->type() == QEvent::FocusOut && !passingFocus(event)) {
        if (watched == m_view.sensorType || watched == m_view.changer)
            Ch_U_LPG_X_Exit();
    }
    return QObject::eventFilter(watched, event);
}

void LevelSensorGroup::setColour(QLineEdit *edit, const QColor &colour)
{
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, colour);
    edit->setPalette(pal);
}

bool LevelSensorGroup::isActive(const QLineEdit *edit) const
{
    return edit->palette().color(QPalette::Base) == activeColour();
}

double LevelSensorGroup::voltsOf(const QLineEdit *edit) const
{
    const std::optional<double> volts = LevelSensor::readVolts(edit->text(), QLocale());
    if (!volts)
        throw std::runtime_error(m_texts(QStringLiteral("level.not_a_number")).arg(edit->text()).toStdString());
    return *volts;
}

void LevelSensorGroup::Ch_U_LPG_X_Enter(QObject *sender)
{
    HandlerGuard::run(m_messageParent, [&] {
        const auto edit = std::find(m_view.thresholds.begin(), m_view.thresholds.end(), sender);
        if (edit != m_view.thresholds.end()) {
            setColour(*edit, activeColour());
            const double volts = voltsOf(*edit);
            const int before = m_view.changer->Digit();
            m_view.changer->SetValue(float(volts));
            // Unmoved, the slider raises no change; the edit still takes the
            // slider's way of writing the value.
            if (m_view.changer->Digit() == before)
                Ch_U_LPG_changerValueChange();
        }
        if (sender != m_view.sensorType) {
            m_view.changer->show();
            m_view.changer->setFocus(Qt::OtherFocusReason);
        }
        m_send({CommandBodies::levelEditBegin(), {}, {}});
    });
}

void LevelSensorGroup::Ch_U_LPG_changerValueChange()
{
    const QString text = LevelSensor::sliderText(m_view.changer->Value(), QLocale());
    for (QLineEdit *edit : m_view.thresholds) {
        if (isActive(edit))
            edit->setText(text);
    }
}

void LevelSensorGroup::Ch_U_LPG_X_Change(QObject *sender)
{
    HandlerGuard::run(m_messageParent, [&] {
        if (sender == m_view.sensorType) {
            if (const auto sensor = LevelSensor::sensorForText(m_view.sensorType->currentText())) {
                const auto texts = LevelSensor::defaultTexts(*sensor, QLocale());
                for (int j = 0; j < LevelSensor::Thresholds; ++j)
                    m_view.thresholds[j]->setText(texts[j]);
            }
        }
        std::array<double, LevelSensor::Thresholds> volts{};
        for (int j = 0; j < LevelSensor::Thresholds; ++j)
            volts[j] = voltsOf(m_view.thresholds[j]);
        const std::optional<uint8_t> type =
            LevelSensor::typeByte(m_view.sensorType->currentIndex(), m_stored ? m_stored() : QByteArray());
        if (type)
            m_send(CommandBodies::levelThresholds(volts, CommandBodies::LevelSensor(*type)));
        // Leaving the slider (or the list) ends the editing.
        m_view.reading->setFocus(Qt::OtherFocusReason);
    });
}

void LevelSensorGroup::Ch_U_LPG_X_Exit()
{
    for (QLineEdit *edit : m_view.thresholds)
        setColour(edit, windowColour());
    m_view.changer->hide();
}
