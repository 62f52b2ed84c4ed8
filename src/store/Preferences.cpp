#include "store/Preferences.h"

#include <cmath>

namespace plenoria {

namespace {

// Settings files hold text: a value written as a boolean or a number reads back as a string in
// the next run, while this run's settings object still answers with the typed value. Each reader
// accepts both forms and nothing else.

std::optional<bool> readBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        if (text == QLatin1String("true"))
            return true;
        if (text == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

bool isNumberType(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

std::optional<double> readNumber(const QVariant& value)
{
    double number = 0;
    bool ok = false;
    if (isNumberType(value)) {
        number = value.toDouble(&ok);
    } else if (value.typeId() == QMetaType::QString) {
        number = value.toString().trimmed().toDouble(&ok);
    }
    // A non-finite fraction would poison every layout computed from it.
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

// As an integer read of the defaults: 0 when absent or not a number, a fraction truncated.
qint64 readInteger(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 integer = value.toString().trimmed().toLongLong(&ok);
        if (ok)
            return integer;
    }
    const std::optional<double> number = readNumber(value);
    if (!number || std::abs(*number) >= 9.0e18)
        return 0;
    return qint64(*number);
}

std::optional<QString> readString(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return std::nullopt;
}

// A lone string is no string array, however it came to be stored.
std::optional<QStringList> readStringArray(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    QStringList strings;
    for (const QVariant& element : value.toList()) {
        if (element.typeId() != QMetaType::QString)
            return std::nullopt;
        strings.append(element.toString());
    }
    return strings;
}

QStringList normalisedDestinations(QStringList names)
{
    if (names.size() > Preferences::destinationCount)
        names.resize(Preferences::destinationCount);
    while (names.size() < Preferences::destinationCount)
        names.append(QString());
    return names;
}

ZoomLevel readZoom(const QVariant& value)
{
    return zoomLevelFromRawValue(readInteger(value)).value_or(ZoomLevel::px128);
}

} // namespace

Preferences::Preferences(QObject* parent)
    : QObject(parent)
    , m_ownedSettings(std::make_unique<QSettings>(QStringLiteral("Plenoria"), QStringLiteral("Plenoria")))
    , m_settings(m_ownedSettings.get())
{
    readAll();
}

Preferences::Preferences(QSettings* settings, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
{
    readAll();
}

void Preferences::readAll()
{
    const auto stored = [this](const char* key) { return m_settings->value(QLatin1String(key)); };
    m_subfolderNames
        = normalisedDestinations(readStringArray(stored("subfolderNames")).value_or(QStringList()));
    m_zoom = readZoom(stored("zoomLevel"));
    m_listSide = readString(stored("listSide")) == QStringLiteral("right") ? ListSide::right : ListSide::left;
    m_animateGIFs = readBool(stored("animateGIFs")).value_or(true);
    m_splitFraction = readNumber(stored("splitFraction")).value_or(0.5);
    m_defaultZoom = readZoom(stored("defaultZoom"));
    m_previewDarkHex = readString(stored("previewDarkHex")).value_or(QStringLiteral("#211E19"));
    m_previewLightHex = readString(stored("previewLightHex")).value_or(QStringLiteral("#E6E2D2"));
    m_theme
        = appThemeFromRawValue(readString(stored("theme")).value_or(QString())).value_or(AppTheme::system);
    m_previewDarkFirst = readBool(stored("previewDarkFirst")).value_or(true);
    m_backupOnSave = readBool(stored("backupOnSave")).value_or(true);
    m_showEditedBadge = readBool(stored("showEditedBadge")).value_or(true);
}

void Preferences::write(const char* key, const QVariant& value)
{
    m_settings->setValue(QLatin1String(key), value);
    // Written at once, so that a crash or another process never sees an older setting.
    m_settings->sync();
}

void Preferences::setSubfolderNames(const QStringList& names)
{
    const QStringList normalised = normalisedDestinations(names);
    if (normalised != m_subfolderNames) {
        m_subfolderNames = normalised;
        emit subfolderNamesChanged();
    }
    write("subfolderNames", m_subfolderNames);
}

void Preferences::setSubfolderName(qint64 index, const QString& name)
{
    if (index < 0 || index >= destinationCount)
        return;
    QStringList names = m_subfolderNames;
    names[index] = name;
    setSubfolderNames(names);
}

void Preferences::setZoom(ZoomLevel zoom)
{
    if (zoom != m_zoom) {
        m_zoom = zoom;
        emit zoomChanged();
    }
    write("zoomLevel", rawValue(zoom));
}

void Preferences::setListSide(ListSide side)
{
    if (side != m_listSide) {
        m_listSide = side;
        emit listSideChanged();
    }
    write("listSide", rawValue(side));
}

void Preferences::setAnimateGIFs(bool animate)
{
    if (animate != m_animateGIFs) {
        m_animateGIFs = animate;
        emit animateGIFsChanged();
    }
    write("animateGIFs", animate);
}

void Preferences::setSplitFraction(double fraction)
{
    if (fraction != m_splitFraction) {
        m_splitFraction = fraction;
        emit splitFractionChanged();
    }
    write("splitFraction", fraction);
}

void Preferences::setDefaultZoom(ZoomLevel zoom)
{
    if (zoom != m_defaultZoom) {
        m_defaultZoom = zoom;
        emit defaultZoomChanged();
    }
    write("defaultZoom", rawValue(zoom));
}

void Preferences::setPreviewDarkHex(const QString& hex)
{
    if (hex != m_previewDarkHex) {
        m_previewDarkHex = hex;
        emit previewDarkHexChanged();
    }
    write("previewDarkHex", hex);
}

void Preferences::setPreviewLightHex(const QString& hex)
{
    if (hex != m_previewLightHex) {
        m_previewLightHex = hex;
        emit previewLightHexChanged();
    }
    write("previewLightHex", hex);
}

void Preferences::setTheme(AppTheme theme)
{
    if (theme != m_theme) {
        m_theme = theme;
        emit themeChanged();
    }
    write("theme", rawValue(theme));
}

void Preferences::setPreviewDarkFirst(bool darkFirst)
{
    if (darkFirst != m_previewDarkFirst) {
        m_previewDarkFirst = darkFirst;
        emit previewDarkFirstChanged();
    }
    write("previewDarkFirst", darkFirst);
}

void Preferences::setBackupOnSave(bool backup)
{
    if (backup != m_backupOnSave) {
        m_backupOnSave = backup;
        emit backupOnSaveChanged();
    }
    write("backupOnSave", backup);
}

void Preferences::setShowEditedBadge(bool show)
{
    if (show != m_showEditedBadge) {
        m_showEditedBadge = show;
        emit showEditedBadgeChanged();
    }
    write("showEditedBadge", show);
}

} // namespace plenoria
