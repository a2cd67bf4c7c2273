#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

// Points the settings store at a fresh folder for the lifetime of a test, so
// no test sees another's values or the user's own file.
class TempStore
{
public:
    TempStore() : m_saved(qgetenv("XDG_CONFIG_HOME")), m_hadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    ~TempStore()
    {
        if (m_hadValue)
            qputenv("XDG_CONFIG_HOME", m_saved);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
    bool m_hadValue;
};
