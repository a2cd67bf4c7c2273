#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;
class SettingTexts;

// "Plik" > "Porównaj z plikiem…": two settings blocks side by side. One row
// per setting that differs, named and valued as the window shows it; the
// correction map as one row and a small chart of both maps. "Wczytaj plik do
// sterownika" is offered only while a controller is connected and hands the
// choice back; "Zamknij" (or Esc) closes.
class SettingsCompareDialog : public QDialog
{
public:
    struct Side
    {
        QString title; // "Sterownik", or the file's name
        QByteArray block;
    };

    // `canLoad`: a controller is connected, so the file (side b) may be
    // written into it. `texts` is read only while the dialog is built.
    SettingsCompareDialog(const Side &a, const Side &b, const SettingTexts &texts, bool canLoad,
                          QWidget *parent = nullptr);

    // Called when the user asks to load the file; the dialog closes after it.
    void setOnLoad(std::function<void()> onLoad) { m_onLoad = std::move(onLoad); }

    QTableWidget *differences() const { return m_table; }
    QLabel *identicalNote() const { return m_identical; }
    QWidget *mapChart() const { return m_chart; }
    QPushButton *loadButton() const { return m_load; }
    QPushButton *closeButton() const { return m_close; }

private:
    QTableWidget *m_table = nullptr;
    QLabel *m_identical = nullptr;
    QWidget *m_chart = nullptr;
    QPushButton *m_load = nullptr;
    QPushButton *m_close = nullptr;
    std::function<void()> m_onLoad;
};
