#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// Ordinary controls of the window, each created under its component name.
// Keeps the tab builders to one line per control.
class PlainControls
{
public:
    static QLabel *label(const QString &name, const QString &text, QWidget *parent);
    static QGroupBox *group(const QString &name, const QString &title, QWidget *parent);
    // Pick-only list; no item selected until the controller's block is applied.
    static QComboBox *combo(const QString &name, const QStringList &items, QWidget *parent);
    static QCheckBox *check(const QString &name, const QString &text, QWidget *parent);
    static QRadioButton *radio(const QString &name, const QString &text, QWidget *parent);
    static QLineEdit *edit(const QString &name, const QString &text, QWidget *parent);
    static QPlainTextEdit *memo(const QString &name, QWidget *parent);
    static QPushButton *button(const QString &name, const QString &text, QWidget *parent);
};
