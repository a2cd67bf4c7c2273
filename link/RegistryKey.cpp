#include "link/RegistryKey.h"

#include "link/ERegistry.h"

#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <memory>

namespace {

// QSettings::Status has no "wrong type" or "bad path" member; these numbers
// sit after its members so every failure still carries a distinct code.
constexpr int kBadPathCode = 10;
constexpr int kWrongTypeCode = 11;

#ifndef Q_OS_WIN
// INI text has no types. Integers are kept in the form a registry export
// uses, "dword:" and eight hex digits, so a 32-bit value never reads back as
// a string or the other way round. A string that would itself look like a
// tagged value gets the "sz:" tag, which keeps every text representable.
const QString kDwordTag = QStringLiteral("dword:");
const QString kStringTag = QStringLiteral("sz:");

QString encodeString(const QString &value)
{
    if (value.startsWith(kDwordTag) || value.startsWith(kStringTag))
        return kStringTag + value;
    return value;
}

QString variantText(const QVariant &v)
{
    // An unquoted comma in a hand-edited file makes QSettings return a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
#endif

QString canonicalRoot(const QString &root)
{
    if (root.compare(QLatin1String("HKEY_LOCAL_MACHINE"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    if (root.compare(QLatin1String("HKEY_CURRENT_USER"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("HKEY_CURRENT_USER");
    return {};
}

} // namespace

struct RegistryKey::Private
{
    std::unique_ptr<QSettings> settings;
    QString path;

    void checkStatus(const char *what) const
    {
        if (settings->status() != QSettings::NoError)
            throw ERegistry(QStringLiteral("%1 %2").arg(QLatin1String(what), path),
                            int(settings->status()));
    }

    [[noreturn]] void wrongType(const QString &name) const
    {
        throw ERegistry(QStringLiteral("Value %1 of %2 has another type").arg(name, path),
                        kWrongTypeCode);
    }
};

RegistryKey::RegistryKey(const QString &path)
    : d(new Private)
{
    d->path = path;
    const int cut = path.indexOf(QLatin1Char('\\'));
    const QString root = canonicalRoot(cut < 0 ? path : path.left(cut));
    if (root.isEmpty()) {
        delete d;
        throw ERegistry(QStringLiteral("Unknown registry root in %1").arg(path), kBadPathCode);
    }
    const QStringList parts = (cut < 0 ? QString() : path.mid(cut + 1))
                                  .split(QLatin1Char('\\'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
    d->settings = std::make_unique<QSettings>(
        root + QLatin1Char('\\') + parts.join(QLatin1Char('\\')), QSettings::NativeFormat);
#else
    // Both roots share one file: there is one user on such a system and no
    // machine-wide store the program could write without privileges.
    d->settings = std::make_unique<QSettings>(storeLocation(), QSettings::IniFormat);
    d->settings->beginGroup(parts.join(QLatin1Char('/')));
#endif
    if (d->settings->status() != QSettings::NoError) {
        const int code = int(d->settings->status());
        const QString where = path;
        delete d;
        throw ERegistry(QStringLiteral("Cannot open %1").arg(where), code);
    }
}

RegistryKey::~RegistryKey()
{
    delete d;
}

bool RegistryKey::contains(const QString &name) const
{
    return d->settings->contains(name);
}

std::optional<QString> RegistryKey::readString(const QString &name) const
{
    if (!d->settings->contains(name))
        return std::nullopt;
    const QVariant v = d->settings->value(name);
#ifdef Q_OS_WIN
    if (v.typeId() != QMetaType::QString)
        d->wrongType(name);
    return v.toString();
#else
    QString text = variantText(v);
    if (text.startsWith(kDwordTag))
        d->wrongType(name);
    if (text.startsWith(kStringTag))
        text.remove(0, kStringTag.size());
    return text;
#endif
}

std::optional<int> RegistryKey::readInt(const QString &name) const
{
    if (!d->settings->contains(name))
        return std::nullopt;
    const QVariant v = d->settings->value(name);
#ifdef Q_OS_WIN
    if (v.typeId() != QMetaType::Int && v.typeId() != QMetaType::UInt)
        d->wrongType(name);
    return int(v.toUInt());
#else
    const QString text = variantText(v);
    if (!text.startsWith(kDwordTag))
        d->wrongType(name);
    bool ok = false;
    const uint value = QStringView(text).mid(kDwordTag.size()).toUInt(&ok, 16);
    if (!ok)
        d->wrongType(name);
    return int(value);
#endif
}

void RegistryKey::writeString(const QString &name, const QString &value)
{
#ifdef Q_OS_WIN
    d->settings->setValue(name, value);
#else
    d->settings->setValue(name, encodeString(value));
#endif
}

void RegistryKey::writeInt(const QString &name, int value)
{
#ifdef Q_OS_WIN
    d->settings->setValue(name, value);
#else
    d->settings->setValue(name, kDwordTag + QStringLiteral("%1").arg(uint(value), 8, 16, QLatin1Char('0')));
#endif
}

void RegistryKey::remove(const QString &name)
{
    d->settings->remove(name);
}

QStringList RegistryKey::valueNames() const
{
    return d->settings->childKeys();
}

void RegistryKey::flush()
{
    d->settings->sync();
    d->checkStatus("Cannot write");
}

QString RegistryKey::storeLocation()
{
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/ZENU/ZENU.ini");
#endif
}
