#pragma once

#include "app/settings/SettingsView.h"

#include "settings/FuelRequestWatch.h"
#include "settings/SettingsEdits.h"
#include "settings/SettingsRecord.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <optional>

class LanguageTable;

// The settings controls of the window: `ApplySettingsFrame`, which spreads
// the kept settings block over them, and the handlers that send each change
// the user makes as one command.
//
// What a change needs from the link is handed in, so the window decides how
// commands reach the controller and tests can stand in for it.
class SettingsPanel : public QObject
{
public:
    struct Link
    {
        // The retry budget, then up to three bodies.
        std::function<void(int retries, const CommandBodies::Group &bodies)> queue;
        // A controller is connected: the queue takes commands.
        std::function<bool()> connected;
        // `ComPort1` is open.
        std::function<bool()> portOpen;
        // `StoredSettings`, and the only edit made to it outside the link.
        std::function<const QByteArray &()> storedSettings;
        std::function<QByteArray &()> editStoredSettings;
        // `CalibrationStep`.
        std::function<int()> calibrationStep;
        // Tells the user a change was not sent (no controller connected).
        std::function<void()> notSent;
        // Tells the user a click on the fuel switch or an injector LED was
        // not taken: a calibration runs and its own requests wait in the queue.
        std::function<void()> notDuringCalibration;
    };
    // Fills `CorrectionMap` from the block and redraws the map chart.
    using CorrectionMapHook = std::function<void(const QByteArray &settingsBlock)>;

    SettingsPanel(const SettingsView &view, const LanguageTable *texts, Link link, QObject *parent = nullptr);

    // `ApplySettingsFrame`: `StoredSettings` onto the controls. Sends nothing.
    void ApplySettingsFrame();
    // The same for a block that is not the controller's (a settings file
    // shown with no controller connected); the controls cannot tell.
    void applyBlock(const QByteArray &block);
    void setCorrectionMapHook(CorrectionMapHook hook) { m_correctionMap = std::move(hook); }
    // `block` (the controller's last block) with every setting and level
    // threshold the controls show differently written back as its command
    // sends it: what the controller holds now, since each change goes out at
    // once and no read-all follows it. The map is not the panel's.
    QByteArray shownBlock(QByteArray block) const;
    // The last block applied, as the controls were given it.
    const std::optional<SettingsRecord> &lastRecord() const { return m_last; }

    // --- handlers
    void Sel_cylChange();
    void Sel_ImpulsChange();
    void Sel_RPM_signalChange();
    void Sel_Typ_silnikaChange();
    void Check_Injector_plusClick();
    void Sel_Typ_wtryskuChange();
    void P_pracy_changerValueChanged();
    void P_min_changerValueChanged();
    void Check_by_firstClick();
    void RPM_Max_To_PetrolValueChanged();
    void T_zwloki_changerValueChanged();
    void RPM_Prog_przelValueChanged();
    void Temp_LPG_changerValueChanged();
    void T_przel_to_LPGValueChanged();
    void T_CYL_seqenceValueChanged();
    void paliwo_SwitchClick(SettingsEdits::FuelSender sender);
    // The calibration's fuel request (`paliwo_SwitchClick` from `Button_start`).
    void requestFuelForCalibration(int calibrationStep);
    void Cyl_x_ledClick(int cylinder);
    // Whether the engine runs on gas or a request for gas waits.
    bool gasInUse() const;
    // The link ended: no request waits any more.
    void linkEnded();
    // The waiting request's note in the current language.
    void retranslatePending();
    void LPG_CNG_RadioButtonClick() {}

    // The names screen readers announce for controls whose label is not a
    // buddy they read by themselves; again after every language change.
    void refreshAccessibleNames();

private:
    using Id = SettingsTable::Id;

    void connectHandlers();
    void applyRecord(const SettingsRecord &r, const QByteArray &block);
    // One control from a record, as ApplySettingsFrame sets it.
    void showValue(Id id, double value);
    // A setting's control value as the user left it.
    double controlValue(Id id) const;
    // The common handler: one setting, one command; nothing without a
    // controller, and the control goes back to what the controller holds.
    void sendSetting(Id id);
    bool refuseOffline(Id id);
    // A click of the fuel switch or an LED while a calibration runs.
    bool refuseDuringCalibration();
    void restore(Id id);
    void setCheckedQuietly(Id id, bool checked);
    void guarded(const std::function<void()> &handler);
    uint8_t injectorMask() const;
    QWidget *control(Id id) const;

    void showPending();

    SettingsView m_view;
    FuelRequestWatch m_fuelRequest;
    const LanguageTable *m_texts;
    Link m_link;
    CorrectionMapHook m_correctionMap;
    std::optional<SettingsRecord> m_last;
    // The values the window started with, for a control that must go back
    // before any block has arrived.
    std::array<double, SettingsTable::Count> m_initial{};
};
