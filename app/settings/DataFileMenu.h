#pragma once

#include "link/LinkInterfaces.h"
#include "settings/DataFileStore.h"

#include <QString>

#include <functional>

class QFileDialog;
class QObject;
class QWidget;
class Session;

// "Plik" > "Zapis" and "Odczyt": a controller's settings block saved to a
// data file (read afresh from the controller first) and a data file written
// into a controller (then read back so every control shows what it kept).
class DataFileMenu
{
public:
    enum class Dialog { Save, Open };
    // The file the user chose in a dialog; empty when cancelled. Tests answer
    // instead of the dialog.
    using FileChooser = std::function<QString(Dialog)>;
    // Seconds of the local time of saving.
    using Seconds = std::function<int()>;
    // A program text by key, in the current language.
    using Texts = std::function<QString(const QString &key)>;

    static inline const QString DataFileError = QStringLiteral("Data file error");
    static constexpr int Retries = 5;

    DataFileMenu(QWidget *window, Session &session, Texts texts);

    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }
    void setSeconds(Seconds seconds) { m_seconds = std::move(seconds); }
    void setWriteStep(DataFileStore::WriteStep write) { m_write = std::move(write); }
    // Whether the engine runs on gas or was last asked for it: a file with
    // another cylinder count sends its gas injectors with a request for the
    // fuel in use.
    void setGasInUse(std::function<bool()> gasInUse) { m_gasInUse = std::move(gasInUse); }

    // With the menu item as sender: ask for a file and read the block for it.
    // Without a sender (the session, once that block is applied): write it.
    void Zapis1Click(QObject *sender);
    void Odczyt1Click(QObject *sender);

    // The session will not ask for the write of a save begun from the menu:
    // the file is not written, and the user is told why once the tick that
    // found out is over.
    void saveDropped(LinkView::SaveDropped why);
    // Loads the named file into the controller, as "Odczyt" does after its
    // dialog (the comparison's "Wczytaj plik do sterownika").
    void loadFile(const QString &name);

    // The file a save in progress will be written to.
    const QString &boundFile() const { return m_bound; }
    // The file a load in progress came from.
    const QString &loadingFile() const { return m_loading; }
    // A settings block has been applied: a load in progress has its answer.
    void settingsApplied();
    // The link ends: a save or load in progress will not finish.
    void linkEnded();

    // SaveDialog1 / OpenDialog1 as the user sees them.
    static QFileDialog *makeDialog(Dialog which, QWidget *parent);
    // Where the next dialog opens: the folder of the last file chosen, at
    // first the "ZENU" folder of the user's documents (made when missing).
    QString dialogFolder() const;
    static QString defaultFolder();

private:
    void startSave();
    void writeFile();
    void load();
    // A message box once the running tick is over.
    void tellLater(const QString &message);
    QString chooseFile(Dialog which);
    bool connectedOrSay(const char *offlineKey);
    QString text(const char *key) const;

    QWidget *m_window;
    Session &m_session;
    Texts m_texts;
    FileChooser m_choose;
    Seconds m_seconds;
    DataFileStore::WriteStep m_write;
    QString m_bound;
    QString m_loading;
    QString m_lastFolder;
    std::function<bool()> m_gasInUse;
};
