#pragma once

#include "link/LinkInterfaces.h"

// "CurLang" in "HKEY_LOCAL_MACHINE\Software\ZENU\Lang", the key opened
// (created if missing), written and closed at each use.
class SessionLanguageStore : public LanguageKeyStore
{
public:
    static inline const QString KeyPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang");
    static inline const QString ValueName = QStringLiteral("CurLang");

    // Throws ESerialPort("Failed to store settings") when the store refuses.
    void storeLanguageKey(const QString &key) override;
};
