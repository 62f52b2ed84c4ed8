#include "app/DesktopColorScheme.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace plenoria {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

// The portal wraps the value in one or two variants, depending on its version and the method.
std::optional<quint32> unwrap(QVariant value)
{
    for (int depth = 0;
         depth < 3 && value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const quint32 number = value.toUInt(&ok);
    return ok ? std::optional<quint32>(number) : std::nullopt;
}

} // namespace

DesktopColorScheme::DesktopColorScheme(QObject* parent)
    : DesktopSchemeSource(parent)
{ }

std::optional<Appearance> DesktopColorScheme::fromPortalValue(quint32 value)
{
    if (value == 1)
        return Appearance::dark;
    if (value == 2)
        return Appearance::light;
    return std::nullopt;
}

void DesktopColorScheme::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
        SLOT(onSettingChanged(QString, QString, QDBusVariant)));

    QDBusMessage read = QDBusMessage::createMethodCall(
        portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QVariant> reply = *call;
        // No portal, no such setting or too slow: the palette decides.
        if (reply.isError())
            return;
        if (const std::optional<quint32> value = unwrap(reply.value()))
            setPreference(fromPortalValue(*value));
    });
}

void DesktopColorScheme::onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value)
{
    if (group != appearanceGroup || key != colorSchemeKey)
        return;
    if (const std::optional<quint32> number = unwrap(value.variant()))
        setPreference(fromPortalValue(*number));
}

void DesktopColorScheme::setPreference(std::optional<Appearance> preference)
{
    if (m_preference == preference)
        return;
    m_preference = preference;
    emit preferenceChanged();
}

} // namespace plenoria
