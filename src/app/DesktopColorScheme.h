#pragma once

#include "app/DesktopSchemeSource.h"

#include <QDBusVariant>

namespace plenoria {

// The desktop's colour-scheme preference from the freedesktop settings portal
// (org.freedesktop.appearance color-scheme), read asynchronously so that start-up never waits on
// D-Bus, and followed while the program runs. None while unknown or when the desktop states no
// preference.
class DesktopColorScheme final : public DesktopSchemeSource {
    Q_OBJECT
public:
    static constexpr int timeoutMs = 500;

    explicit DesktopColorScheme(QObject* parent = nullptr);

    // Asks the portal once and subscribes to its changes; does nothing without a session bus.
    void start() override;
    std::optional<Appearance> preference() const override { return m_preference; }

    // The portal's value: 1 prefers dark, 2 prefers light, anything else states no preference.
    static std::optional<Appearance> fromPortalValue(quint32 value);

public slots:
    // The portal's SettingChanged signal: only the appearance group's color-scheme key sets the
    // preference; every other setting leaves it as it was.
    void onSettingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void setPreference(std::optional<Appearance> preference);

    std::optional<Appearance> m_preference;
};

} // namespace plenoria
