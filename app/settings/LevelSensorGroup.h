#pragma once

#include "link/CommandBodies.h"

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;
class TVSlider;

// The controls of "Wskaźnik poziomu" that the fitter works with.
struct LevelSensorView
{
    std::array<QLineEdit *, 4> thresholds{}; // Ch_U_LPG_1 .. Ch_U_LPG_4
    QComboBox *sensorType = nullptr;         // Rodz_czuj_LPG
    TVSlider *changer = nullptr;             // Ch_U_LPG_changer
    QLineEdit *reading = nullptr;            // U_zbiornika

    // The group's controls under `root` (the window or the "Przełącznik" page).
    static LevelSensorView find(QWidget *root);
};

// Tank-level sensor calibration: one threshold at a time is changed with the
// hidden slider while the live sensor voltage shows beside it; picking a
// sensor type writes that type's default thresholds. The edit being changed
// is the green one, and the slider finds it by that colour.
class LevelSensorGroup : public QObject
{
public:
    // Hands command bodies to the link (retry budget 5).
    using CommandSink = std::function<void(const CommandBodies::Group &)>;
    // The controller's last settings block (for the type it holds).
    using StoredSettings = std::function<QByteArray()>;
    // A program text by key, in the current language.
    using Texts = std::function<QString(const QString &key)>;

    static QColor activeColour() { return QColor(0x00, 0x80, 0x00); } // clGreen

    LevelSensorGroup(const LevelSensorView &view, CommandSink send, StoredSettings stored, Texts texts,
                     QWidget *messageParent);

    // Focus entering a threshold edit or the type combo box.
    void Ch_U_LPG_X_Enter(QObject *sender);
    // Every change of the slider's value, also one made by the program.
    void Ch_U_LPG_changerValueChange();
    // The fitter picked a type, or let go of the slider after changing it.
    void Ch_U_LPG_X_Change(QObject *sender);
    // Focus leaving the type combo box or the slider.
    void Ch_U_LPG_X_Exit();

    const LevelSensorView &view() const { return m_view; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setColour(QLineEdit *edit, const QColor &colour);
    bool isActive(const QLineEdit *edit) const;
    double voltsOf(const QLineEdit *edit) const;

    LevelSensorView m_view;
    CommandSink m_send;
    StoredSettings m_stored;
    Texts m_texts;
    QWidget *m_messageParent;
};
