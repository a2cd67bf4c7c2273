#pragma once

// A fresh main window per test, with an empty (or seeded) settings store in a
// temporary configuration folder, message boxes captured instead of shown and
// link opening recorded instead of handed to the desktop.
#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"

#include "link/RegistryKey.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class WindowFixture : public ::testing::Test
{
protected:
    static inline const QString kPortKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");
    static inline const QString kLangKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang");

    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        UserMessage::setInterceptor([this](const QString &text) { messages << text; });
    }

    void TearDown() override
    {
        window.reset();
        UserMessage::setInterceptor({});
    }

    static void seed(const QString &keyPath, const QString &name, const QString &value)
    {
        RegistryKey key(keyPath);
        key.writeString(name, value);
        key.flush();
    }

    static std::optional<QString> stored(const QString &keyPath, const QString &name)
    {
        return RegistryKey(keyPath).readString(name);
    }

    TZENU &start(const QStringList &presentPorts)
    {
        return startWith([presentPorts] { return presentPorts; });
    }

    TZENU &startWith(TZENU::PortLister lister)
    {
        window = std::make_unique<TZENU>(std::move(lister), [this](const QUrl &url) {
            opened << url;
            return openerSucceeds;
        });
        return *window;
    }

    QAction *item(const QString &name) const { return window->findChild<QAction *>(name); }

    // A menu's items; in the Port menu, the ports and the connect items (the
    // window's own options that follow "Rozłącz" are left out).
    static QList<QAction *> items(const QMenu *menu)
    {
        QList<QAction *> out;
        for (QAction *a : menu->actions()) {
            out << a;
            if (a->objectName() == QLatin1String("rozlacz1"))
                break;
        }
        return out;
    }

    static QStringList texts(const QMenu *menu)
    {
        QStringList out;
        for (const QAction *a : items(menu))
            out << a->text();
        return out;
    }

    static QStringList checkedNames(const QMenu *menu)
    {
        QStringList out;
        for (const QAction *a : items(menu))
            if (a->isChecked())
                out << a->objectName();
        return out;
    }

    QTemporaryDir m_config;
    std::unique_ptr<TZENU> window;
    QStringList messages;
    QList<QUrl> opened;
    bool openerSucceeds = true;
};
