#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// "Plik" > "Pokaż plik ustawień…" and `zenu FILE.zen`: a settings data file
// shown on the window with no controller connected, through the same
// ApplySettingsFrame as a controller's block. While it is shown the title and
// the status bar name the file and say that no controller is connected; the
// controls refuse edits as they do whenever no controller is connected.
// Connecting ends the view: the controller's block replaces it.
//
// What it needs from the window is handed in, so it can be driven without one.
class SettingsFileView
{
public:
    struct Window
    {
        // A controller is connected (the file is then not shown).
        std::function<bool()> connected;
        // ApplySettingsFrame on the given block.
        std::function<void(const QByteArray &block)> apply;
        std::function<QString()> title;
        std::function<void(const QString &text)> setTitle;
        std::function<QString()> statusText;
        std::function<void(const QString &text)> setStatusText;
        // A modal box with a fixed text ("Data file error", a read failure).
        std::function<void(const QString &text)> message;
        // One of the program's own texts in the current language.
        std::function<QString(const char *key)> text;
    };

    static inline const QString DataFileError = QStringLiteral("Data file error");

    explicit SettingsFileView(Window window);

    // Shows the file; false, with the window as it was, when it cannot be
    // read or is not a settings file (the user is told), or while a
    // controller is connected.
    bool open(const QString &path);
    // Back to the window's own title and status; the controls keep what
    // they show until the next block.
    void end();
    // After a language change: title and status in the new language.
    void retranslate();

    bool viewing() const { return !m_path.isEmpty(); }
    const QString &path() const { return m_path; }
    // The block shown, as the controller's read-all would carry it.
    const QByteArray &block() const { return m_block; }

private:
    void showNames();

    Window m_window;
    QString m_path;
    QByteArray m_block;
    QString m_ownTitle;
    QString m_ownStatus;
};
