#include "app/live/LiveDisplay.h"

#include "app/common/HandlerGuard.h"

#include "live/LiveFrameDecoder.h"
#include "live/PetrolBarLabel.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TRMeter.h"
#include "widgets/TToggleSwitch.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>

namespace {

using Kind = LiveDisplayAction::Kind;

QColor colourOf(LiveColour colour)
{
    if (const std::optional<uint32_t> rgb = liveColourRgb(colour))
        return QColor::fromRgb(*rgb);
    return QApplication::palette().color(QPalette::Button); // clBtnFace
}

QString showButton(int k)
{
    return QStringLiteral("Cyl_%1_show").arg(k);
}

} // namespace

LiveDisplay::LiveDisplay(QWidget *root, const LanguageTable *texts, FaultsTab::QueueCommand queue,
                         CalibrationStepSource calibrationStep, QObject *parent)
    : QObject(parent),
      m_components(root),
      m_scope(m_components, this),
      m_faults(m_components, texts, std::move(queue), this),
      m_calibrationStep(std::move(calibrationStep))
{
    for (int k = 0; k < Cylinders; ++k) {
        if (auto *b = m_components.find<QRadioButton>(showButton(k))) {
            connect(b, &QRadioButton::clicked, this, [this, k] {
                HandlerGuard::run(m_components.root(), [this, k] { RadioButtonxClick(k); });
            });
        }
    }
}

int LiveDisplay::shownCylinder()
{
    for (int k = 0; k < Cylinders; ++k) {
        const auto *b = m_components.find<QRadioButton>(showButton(k));
        if (b && b->isChecked())
            return k;
    }
    return -1;
}

void LiveDisplay::applyLiveFrame(const QByteArray &answer)
{
    const LiveValues values = LiveFrameDecoder::decode(answer);
    LiveFrameApplier::Inputs in;
    in.shownCylinder = shownCylinder();
    in.calibrationRunning = m_calibrationStep && m_calibrationStep() != -1;
    for (const LiveDisplayAction &action : m_applier.apply(values, in))
        apply(action, values, answer);
}

void LiveDisplay::apply(const LiveDisplayAction &a, const LiveValues &values, const QByteArray &answer)
{
    switch (a.kind) {
    case Kind::Value:
        if (auto *g = m_components.find<TAnalogGControl>(a.target))
            g->SetValue(a.number);
        break;
    case Kind::ScaleTo:
        if (auto *g = m_components.find<TAnalogGControl>(a.target))
            g->SignalSettings().SetValueTo(a.number);
        break;
    case Kind::Enabled:
        if (QWidget *w = m_components.find(a.target))
            w->setEnabled(a.flag);
        break;
    case Kind::SwitchColours:
        if (auto *sw = m_components.find<TToggleSwitch>(a.target)) {
            sw->SetColorOff(colourOf(a.colourOff));
            sw->SetColorOn(colourOf(a.colourOn));
        }
        break;
    case Kind::Checked:
        // The program's own setting: no click, so nothing is sent.
        if (auto *sw = m_components.find<TBinGControl>(a.target))
            sw->SetChecked(a.flag);
        break;
    case Kind::SectorOffset:
        if (auto *m = m_components.find<TRMeter>(a.target))
            m->SectorSettings().SetOffset(a.integer);
        break;
    case Kind::PointerShape:
        if (auto *m = m_components.find<TRMeter>(a.target))
            m->ArrowSettings().SetShape(a.integer);
        break;
    case Kind::LedLit:
        if (auto *led = m_components.find<TBinGControl>(a.target))
            led->SetChecked(a.flag);
        break;
    case Kind::Text:
        // An unchanged text is left alone: setting it again would cost a
        // relayout per frame and drop what the reader has selected there.
        if (auto *edit = m_components.find<QLineEdit>(a.target); edit && edit->text() != a.text)
            edit->setText(a.text);
        break;
    case Kind::FeedOscilloscope:
        m_scope.feed();
        break;
    case Kind::ShowCurrentFaults:
        m_faults.showCurrentFaults(values);
        break;
    case Kind::UpdateTimeCurves:
        if (m_timeCurves)
            m_timeCurves(a.integer);
        break;
    case Kind::StoreCalibrationSample:
        if (m_calibrationSample)
            m_calibrationSample(a.integer, answer);
        break;
    }
}

void LiveDisplay::RadioButtonxClick(int cylinder)
{
    const auto *led = m_components.find<TBinGControl>(QStringLiteral("Cyl_%1_led").arg(cylinder));
    const std::optional<QString> label = PetrolBarLabel::afterChoice(cylinder, led && led->Checked());
    if (!label)
        return;
    if (auto *bar = m_components.find<TAnalogGControl>(QStringLiteral("Skala_PB_time")))
        bar->SignalSettings().SetName2(*label);
}
