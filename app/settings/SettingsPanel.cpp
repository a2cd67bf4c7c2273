#include "app/settings/SettingsPanel.h"

#include "app/common/HandlerGuard.h"
#include "app/calibration/MapChart.h"

#include "i18n/LanguageTable.h"
#include "settings/FaultLogText.h"
#include "settings/SettingsDecoder.h"

#include "widgets/TDial.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TToggleSwitch.h"
#include "widgets/TVSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

using SettingsTable::ControlKind;
using FuelSender = SettingsEdits::FuelSender;

const QColor Gray(0x80, 0x80, 0x80); // clGray
const QColor Red(0xFF, 0x00, 0x00);  // clRed
// While a check box shows this caption the program is setting it, and its
// click handler must not send the change back.
const QString ProgramSetCaption = QStringLiteral("-");

QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

SettingsPanel::SettingsPanel(const SettingsView &view, const LanguageTable *texts, Link link, QObject *parent)
    : QObject(parent), m_view(view), m_texts(texts), m_link(std::move(link))
{
    for (const SettingsTable::Row &row : SettingsTable::rows())
        m_initial[size_t(row.id)] = controlValue(row.id);
    connectHandlers();
    refreshAccessibleNames();
}

QWidget *SettingsPanel::control(Id id) const
{
    switch (id) {
    case Id::CylinderCount: return m_view.petrol.cylinders;
    case Id::IgnitionPulse: return m_view.petrol.pulses;
    case Id::RpmSignal: return m_view.petrol.rpmSignal;
    case Id::EngineType: return m_view.petrol.engineType;
    case Id::InjectorsPositive: return m_view.petrol.injectorsPositive;
    case Id::InjectorType: return m_view.gas.injectorType;
    case Id::WorkingPressure: return m_view.gas.workingPressure;
    case Id::MinimumPressure: return m_view.gas.minimumPressure;
    case Id::SwitchAtFirstDrop: return m_view.switching.switchAtFirstDrop;
    case Id::MaxRpmToPetrol: return m_view.switching.maxRpmToPetrol;
    case Id::PressureFaultTime: return m_view.switching.pressureFaultTime;
    case Id::GasSwitchRpm: return m_view.switching.gasSwitchRpm;
    case Id::GasSwitchTemperature: return m_view.switching.gasSwitchTemperature;
    case Id::SwitchOverTime: return m_view.switching.switchOverTime;
    case Id::CylinderSequenceTime: return m_view.switching.cylinderSequenceTime;
    case Id::PressureSensor: return m_view.gas.pressureSensor;
    case Id::ReducerSensor: return m_view.gas.reducerSensor;
    case Id::GasSensor: return m_view.gas.gasSensor;
    case Id::LevelSensor: return m_view.switching.levelSensor;
    case Id::FuelKind: return m_view.gas.cng;
    }
    return nullptr;
}

void SettingsPanel::guarded(const std::function<void()> &handler)
{
    HandlerGuard::run(m_view.petrol.page ? m_view.petrol.page->window() : nullptr, handler);
}

void SettingsPanel::connectHandlers()
{
    const auto onPick = [this](QComboBox *combo, void (SettingsPanel::*handler)()) {
        // Only the user's pick sends: a value set by the program or new item
        // texts from a language change do not raise `activated`.
        connect(combo, &QComboBox::activated, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onPick(m_view.petrol.cylinders, &SettingsPanel::Sel_cylChange);
    onPick(m_view.petrol.pulses, &SettingsPanel::Sel_ImpulsChange);
    onPick(m_view.petrol.rpmSignal, &SettingsPanel::Sel_RPM_signalChange);
    onPick(m_view.petrol.engineType, &SettingsPanel::Sel_Typ_silnikaChange);
    onPick(m_view.gas.injectorType, &SettingsPanel::Sel_Typ_wtryskuChange);

    const auto onClick = [this](QAbstractButton *box, void (SettingsPanel::*handler)()) {
        connect(box, &QAbstractButton::clicked, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onClick(m_view.petrol.injectorsPositive, &SettingsPanel::Check_Injector_plusClick);
    onClick(m_view.switching.switchAtFirstDrop, &SettingsPanel::Check_by_firstClick);
    onClick(m_view.gas.lpg, &SettingsPanel::LPG_CNG_RadioButtonClick);
    onClick(m_view.gas.cng, &SettingsPanel::LPG_CNG_RadioButtonClick);

    const auto onRelease = [this](TAnalogCControl *c, void (SettingsPanel::*handler)()) {
        connect(c, &TAnalogCControl::OnValueChanged, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onRelease(m_view.gas.workingPressure, &SettingsPanel::P_pracy_changerValueChanged);
    onRelease(m_view.gas.minimumPressure, &SettingsPanel::P_min_changerValueChanged);
    onRelease(m_view.switching.maxRpmToPetrol, &SettingsPanel::RPM_Max_To_PetrolValueChanged);
    onRelease(m_view.switching.pressureFaultTime, &SettingsPanel::T_zwloki_changerValueChanged);
    onRelease(m_view.switching.gasSwitchRpm, &SettingsPanel::RPM_Prog_przelValueChanged);
    onRelease(m_view.switching.gasSwitchTemperature, &SettingsPanel::Temp_LPG_changerValueChanged);
    onRelease(m_view.switching.switchOverTime, &SettingsPanel::T_przel_to_LPGValueChanged);
    onRelease(m_view.switching.cylinderSequenceTime, &SettingsPanel::T_CYL_seqenceValueChanged);

    connect(m_view.top.fuelSwitch, &TBinGControl::OnClick, this,
            [this] { guarded([this] { paliwo_SwitchClick(FuelSender::Switch); }); });
    // The live frame moves the switch: a waiting request ends when it shows the fuel asked for.
    connect(m_view.top.fuelSwitch, &TBinGControl::OnStatusChanged, this, [this] {
        if (m_fuelRequest.reported(m_view.top.fuelSwitch->Checked()))
            showPending();
    });
    for (int k = 0; k < SettingsRecord::Cylinders; ++k) {
        connect(m_view.top.injectorLeds[size_t(k)], &TBinGControl::OnClick, this,
                [this, k] { guarded([this, k] { Cyl_x_ledClick(k); }); });
    }
}

// --- ApplySettingsFrame ------------------------------------------------------

void SettingsPanel::ApplySettingsFrame()
{
    applyBlock(m_link.storedSettings());
}

void SettingsPanel::applyBlock(const QByteArray &block)
{
    // The link refuses a short block before keeping it; this only makes sure
    // nothing is ever read past the end.
    const std::optional<SettingsRecord> record = SettingsDecoder::decode(block);
    if (!record)
        return;
    m_last = record;
    applyRecord(*record, block);
}

void SettingsPanel::applyRecord(const SettingsRecord &r, const QByteArray &block)
{
    auto &leds = m_view.top.injectorLeds;
    auto &shows = m_view.top.injectorShows;

    // 1. Cylinders 4 to 8 present until the count says otherwise.
    for (size_t k = 3; k < leds.size(); ++k) {
        shows[k]->setEnabled(true);
        leds[k]->setEnabled(true);
        leds[k]->SetColorOff(Gray);
    }
    // 2.
    showValue(Id::CylinderCount, r.value(Id::CylinderCount));
    // 3. Present cylinders red when off; absent ones out of reach.
    if (const int n = SettingsDecoder::cylinderCountOfItem(m_view.petrol.cylinders->currentIndex()); n > 0) {
        for (size_t k = 0; k < leds.size(); ++k) {
            if (int(k) < n) {
                leds[k]->SetColorOff(Red);
            } else {
                shows[k]->setEnabled(false);
                leds[k]->setEnabled(false);
            }
        }
    }
    // 4.
    showValue(Id::IgnitionPulse, r.value(Id::IgnitionPulse));
    // 5.
    showValue(Id::RpmSignal, r.value(Id::RpmSignal));
    showValue(Id::EngineType, r.value(Id::EngineType));
    MapChart::setRightAxisMaximum(m_view.mapChart, SettingsEdits::mapAxisMaximum(m_view.petrol.engineType->currentIndex()));
    // 6.
    m_view.gas.injectorType->setCurrentIndex(-1);
    showValue(Id::InjectorType, r.value(Id::InjectorType));
    // 7.
    showValue(Id::InjectorsPositive, r.value(Id::InjectorsPositive));
    showValue(Id::SwitchAtFirstDrop, r.value(Id::SwitchAtFirstDrop));
    // 8.
    showValue(Id::FuelKind, r.value(Id::FuelKind));
    // 9.
    for (size_t k = 0; k < leds.size(); ++k)
        leds[k]->SetChecked((r.activeInjectors >> k) & 1u);
    // 10.
    showValue(Id::WorkingPressure, r.value(Id::WorkingPressure));
    showValue(Id::MinimumPressure, r.value(Id::MinimumPressure));
    // 11.
    for (Id sensor : {Id::PressureSensor, Id::ReducerSensor, Id::GasSensor}) {
        qobject_cast<QComboBox *>(control(sensor))->setCurrentIndex(-1);
        showValue(sensor, r.value(sensor));
    }
    // 12. The controls clamp what lies outside their range.
    for (Id dial : {Id::MaxRpmToPetrol, Id::PressureFaultTime, Id::GasSwitchTemperature, Id::GasSwitchRpm,
                    Id::SwitchOverTime, Id::CylinderSequenceTime})
        showValue(dial, r.value(dial));
    // 13.
    m_view.switching.levelSensor->setCurrentIndex(-1);
    showValue(Id::LevelSensor, r.value(Id::LevelSensor));
    // 14.
    const QChar separator = QLocale().decimalPoint().at(0);
    for (size_t j = 0; j < r.levelThresholds.size(); ++j)
        m_view.switching.levelThresholds[j]->setText(SettingsDecoder::thresholdText(r.levelThresholds[j], separator));
    // 15.
    const QStringList faults = FaultLogText::lines(r.faultLog, r.activeInjectors, [this](int row) {
        return m_texts ? m_texts->message(row) : QString();
    });
    m_view.registeredFaults->setPlainText(faults.join(QLatin1Char('\n')));
    // 16.
    if (m_correctionMap)
        m_correctionMap(block);
}

QByteArray SettingsPanel::shownBlock(QByteArray block) const
{
    const std::optional<SettingsRecord> given = SettingsDecoder::decode(block);
    if (!given)
        return block;
    for (const SettingsTable::Row &row : SettingsTable::rows()) {
        const double shown = controlValue(row.id);
        // A value the control holds to its range or step stays as the block has it.
        if (float(SettingsTable::shownValue(row, given->value(row.id))) == float(shown))
            continue;
        SettingsTable::encodeRow(row, shown, block);
    }
    const QLocale locale;
    const QChar separator = locale.decimalPoint().at(0);
    for (size_t j = 0; j < given->levelThresholds.size(); ++j) {
        const QString text = m_view.switching.levelThresholds[j]->text();
        if (text == SettingsDecoder::thresholdText(given->levelThresholds[j], separator))
            continue;
        bool ok = false;
        const double volts = locale.toDouble(text, &ok);
        if (ok)
            block[SettingsDecoder::LevelThresholdOffset + int(j)] =
                char(CommandBodies::valueByte(volts * SettingsDecoder::LevelStepsPerVolt));
    }
    return block;
}

void SettingsPanel::showValue(Id id, double value)
{
    QWidget *w = control(id);
    switch (SettingsTable::row(id).kind) {
    case ControlKind::Combo:
        static_cast<QComboBox *>(w)->setCurrentIndex(int(value));
        break;
    case ControlKind::Check:
        setCheckedQuietly(id, value != 0.0);
        break;
    case ControlKind::Radio:
        // The pair is exclusive: checking one clears the other.
        (value != 0.0 ? m_view.gas.cng : m_view.gas.lpg)->setChecked(true);
        break;
    case ControlKind::Slider:
    case ControlKind::Dial:
        static_cast<TAnalogCControl *>(w)->SetValue(float(value));
        break;
    }
}

void SettingsPanel::setCheckedQuietly(Id id, bool checked)
{
    auto *box = static_cast<QCheckBox *>(control(id));
    box->setText(ProgramSetCaption);
    box->setChecked(checked);
    box->setText(QString());
}

double SettingsPanel::controlValue(Id id) const
{
    QWidget *w = control(id);
    switch (SettingsTable::row(id).kind) {
    case ControlKind::Combo:
        return static_cast<QComboBox *>(w)->currentIndex();
    case ControlKind::Check:
    case ControlKind::Radio:
        return static_cast<QAbstractButton *>(w)->isChecked() ? 1.0 : 0.0;
    case ControlKind::Slider:
    case ControlKind::Dial:
        return static_cast<TAnalogCControl *>(w)->Value();
    }
    return 0.0;
}

// --- changes --------------------------------------------------------------------

bool SettingsPanel::refuseOffline(Id id)
{
    if (m_link.connected && m_link.connected())
        return false;
    restore(id);
    if (m_link.notSent)
        m_link.notSent();
    return true;
}

void SettingsPanel::restore(Id id)
{
    showValue(id, m_last ? m_last->value(id) : m_initial[size_t(id)]);
    if (id == Id::EngineType)
        MapChart::setRightAxisMaximum(m_view.mapChart,
                                      SettingsEdits::mapAxisMaximum(m_view.petrol.engineType->currentIndex()));
}

void SettingsPanel::sendSetting(Id id)
{
    if (refuseOffline(id))
        return;
    const CommandBodies::Group bodies = SettingsTable::commandFor(id, controlValue(id));
    if (!bodies.isEmpty())
        m_link.queue(SettingsEdits::CommandRetries, bodies);
}

void SettingsPanel::Sel_cylChange()
{
    if (refuseOffline(Id::CylinderCount))
        return;
    if (!m_link.portOpen() || m_link.storedSettings().size() <= SettingsEdits::MinimumStoredForCylinderEdit)
        return;
    const int item = m_view.petrol.cylinders->currentIndex();
    if (item < 0)
        return;
    m_link.queue(SettingsEdits::CommandRetries, SettingsEdits::changeCylinderCount(item, m_link.editStoredSettings()));
    // Redraws the cylinder LEDs for the new count, and puts every other
    // control back to the last block received.
    ApplySettingsFrame();
}

void SettingsPanel::Sel_ImpulsChange() { sendSetting(Id::IgnitionPulse); }
void SettingsPanel::Sel_RPM_signalChange() { sendSetting(Id::RpmSignal); }

void SettingsPanel::Sel_Typ_silnikaChange()
{
    MapChart::setRightAxisMaximum(m_view.mapChart,
                                  SettingsEdits::mapAxisMaximum(m_view.petrol.engineType->currentIndex()));
    sendSetting(Id::EngineType);
}

void SettingsPanel::Check_Injector_plusClick()
{
    if (m_view.petrol.injectorsPositive->text() == ProgramSetCaption)
        return;
    sendSetting(Id::InjectorsPositive);
}

void SettingsPanel::Sel_Typ_wtryskuChange() { sendSetting(Id::InjectorType); }
void SettingsPanel::P_pracy_changerValueChanged() { sendSetting(Id::WorkingPressure); }
void SettingsPanel::P_min_changerValueChanged() { sendSetting(Id::MinimumPressure); }

void SettingsPanel::Check_by_firstClick()
{
    if (m_view.switching.switchAtFirstDrop->text() == ProgramSetCaption)
        return;
    sendSetting(Id::SwitchAtFirstDrop);
}

void SettingsPanel::RPM_Max_To_PetrolValueChanged() { sendSetting(Id::MaxRpmToPetrol); }
void SettingsPanel::T_zwloki_changerValueChanged() { sendSetting(Id::PressureFaultTime); }
void SettingsPanel::RPM_Prog_przelValueChanged() { sendSetting(Id::GasSwitchRpm); }
void SettingsPanel::Temp_LPG_changerValueChanged() { sendSetting(Id::GasSwitchTemperature); }
void SettingsPanel::T_przel_to_LPGValueChanged() { sendSetting(Id::SwitchOverTime); }
void SettingsPanel::T_CYL_seqenceValueChanged() { sendSetting(Id::CylinderSequenceTime); }

uint8_t SettingsPanel::injectorMask() const
{
    std::array<bool, SettingsRecord::Cylinders> lit{};
    for (size_t k = 0; k < lit.size(); ++k)
        lit[k] = m_view.top.injectorLeds[k]->Checked();
    return SettingsEdits::injectorMask(lit);
}

bool SettingsPanel::refuseDuringCalibration()
{
    if (!m_link.calibrationStep || m_link.calibrationStep() == -1)
        return false;
    if (m_link.notDuringCalibration)
        m_link.notDuringCalibration();
    return true;
}

void SettingsPanel::paliwo_SwitchClick(FuelSender sender)
{
    // The user's click; the calibration asks through its own entry.
    if (sender == FuelSender::Switch && refuseDuringCalibration())
        return;
    const int step = m_link.calibrationStep ? m_link.calibrationStep() : -1;
    if (!m_link.connected || !m_link.connected()) {
        if (m_link.notSent)
            m_link.notSent();
        return;
    }
    const bool onGas = m_view.top.fuelSwitch->Checked();
    m_link.queue(SettingsEdits::CommandRetries, SettingsEdits::fuelRequest(sender, onGas, step, injectorMask()));
    // The switch moves only when a frame reports the other fuel; until then the
    // window says the request waits.
    if (sender == FuelSender::Switch) {
        m_fuelRequest.requested(!onGas);
        showPending();
    }
}

bool SettingsPanel::gasInUse() const
{
    return m_fuelRequest.gasInUse(m_view.top.fuelSwitch->Checked());
}

void SettingsPanel::linkEnded()
{
    m_fuelRequest.linkEnded();
    showPending();
}

void SettingsPanel::retranslatePending()
{
    showPending();
}

void SettingsPanel::showPending()
{
    QLabel *label = m_view.top.fuelPending;
    if (!label)
        return;
    const std::optional<bool> pending = m_fuelRequest.pending();
    if (!pending) {
        label->hide();
        label->clear();
        return;
    }
    const QString key = *pending ? QStringLiteral("fuel.pending_gas") : QStringLiteral("fuel.pending_petrol");
    label->setText(m_texts ? m_texts->programText(key) : key);
    label->show();
}

void SettingsPanel::requestFuelForCalibration(int calibrationStep)
{
    if (!m_link.connected || !m_link.connected()) {
        if (m_link.notSent)
            m_link.notSent();
        return;
    }
    m_link.queue(SettingsEdits::CommandRetries,
                 SettingsEdits::fuelRequest(FuelSender::Calibration, m_view.top.fuelSwitch->Checked(), calibrationStep,
                                            injectorMask()));
}

void SettingsPanel::Cyl_x_ledClick(int cylinder)
{
    if (refuseDuringCalibration())
        return;
    if (!m_link.portOpen()) {
        if (m_link.notSent)
            m_link.notSent();
        return;
    }
    TLedIndicator *led = m_view.top.injectorLeds[size_t(cylinder)];
    led->SetChecked(!led->Checked());
    // On gas the new set goes out at once; on petrol with the next fuel request.
    if (m_view.top.fuelSwitch->Checked())
        paliwo_SwitchClick(FuelSender::None);
}

// --- accessibility --------------------------------------------------------------

void SettingsPanel::refreshAccessibleNames()
{
    // Combo boxes read their buddy label themselves; check boxes without a
    // caption, the injector list and the instruments need their name set.
    m_view.petrol.injectorsPositive->setAccessibleName(withoutMnemonic(m_view.petrol.injectorsPositiveLabel->text()));
    m_view.switching.switchAtFirstDrop->setAccessibleName(
        withoutMnemonic(m_view.switching.switchAtFirstDropLabel->text()));
    m_view.gas.injectorType->setAccessibleName(m_view.gas.injectorGroup->title());

    const auto name = [](QGroupBox *group, const QString &part) {
        return part.trimmed().isEmpty() ? group->title() : group->title() + QStringLiteral(": ") + part.trimmed();
    };
    const auto program = [this](const char *key) {
        return m_texts ? m_texts->programText(QString::fromLatin1(key)) : QString();
    };
    auto &s = m_view.switching;
    s.gasSwitchRpm->setAccessibleName(name(s.toGasGroup, program("settings.a11y.gas_switch_rpm")));
    for (TDial *d : {s.gasSwitchTemperature, s.switchOverTime, s.cylinderSequenceTime})
        d->setAccessibleName(name(s.toGasGroup, d->SignalSettings().Name2()));
    s.maxRpmToPetrol->setAccessibleName(name(s.toPetrolGroup, program("settings.a11y.max_rpm_to_petrol")));
    s.pressureFaultTime->setAccessibleName(name(s.toPetrolGroup, s.pressureFaultTime->SignalSettings().Name2()));
    auto &g = m_view.gas;
    g.workingPressure->setAccessibleName(name(g.pressureGroup, g.workingPressure->SignalSettings().Name1()));
    g.minimumPressure->setAccessibleName(name(g.pressureGroup, program("settings.a11y.minimum_pressure")));
}
