#pragma once

#include "imaging/model/ZoomLevel.h"
#include "store/AppTheme.h"
#include "store/ListSide.h"

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <memory>

namespace plenoria {

// Every user setting. Read once, completely, at creation; each assignment is written to the
// settings at once (also when the value is unchanged). Missing or ill-typed stored values read as
// the defaults. Main thread only.
class Preferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(
        QStringList subfolderNames READ subfolderNames WRITE setSubfolderNames NOTIFY subfolderNamesChanged)
    Q_PROPERTY(plenoria::ZoomLevel zoom READ zoom WRITE setZoom NOTIFY zoomChanged)
    Q_PROPERTY(plenoria::ListSide listSide READ listSide WRITE setListSide NOTIFY listSideChanged)
    Q_PROPERTY(bool animateGIFs READ animateGIFs WRITE setAnimateGIFs NOTIFY animateGIFsChanged)
    Q_PROPERTY(double splitFraction READ splitFraction WRITE setSplitFraction NOTIFY splitFractionChanged)
    Q_PROPERTY(
        plenoria::ZoomLevel defaultZoom READ defaultZoom WRITE setDefaultZoom NOTIFY defaultZoomChanged)
    Q_PROPERTY(
        QString previewDarkHex READ previewDarkHex WRITE setPreviewDarkHex NOTIFY previewDarkHexChanged)
    Q_PROPERTY(
        QString previewLightHex READ previewLightHex WRITE setPreviewLightHex NOTIFY previewLightHexChanged)
    Q_PROPERTY(plenoria::AppTheme theme READ theme WRITE setTheme NOTIFY themeChanged)
    Q_PROPERTY(
        bool previewDarkFirst READ previewDarkFirst WRITE setPreviewDarkFirst NOTIFY previewDarkFirstChanged)
    Q_PROPERTY(bool backupOnSave READ backupOnSave WRITE setBackupOnSave NOTIFY backupOnSaveChanged)
    Q_PROPERTY(
        bool showEditedBadge READ showEditedBadge WRITE setShowEditedBadge NOTIFY showEditedBadgeChanged)

public:
    // The number of filing destinations: entry i is digit key i + 1.
    static constexpr qint64 destinationCount = 9;

    // Over the application's own settings (organisation and application "Plenoria").
    explicit Preferences(QObject* parent = nullptr);
    // Over settings the caller keeps alive for this object's lifetime.
    explicit Preferences(QSettings* settings, QObject* parent = nullptr);

    // Always nine entries; an empty or blank entry means the key has no destination.
    QStringList subfolderNames() const { return m_subfolderNames; }
    // A shorter list is padded with empty names and a longer one cut to nine.
    void setSubfolderNames(const QStringList& names);
    // Changes one entry (0 to 8) and writes the whole list; other indices are ignored.
    void setSubfolderName(qint64 index, const QString& name);

    ZoomLevel zoom() const { return m_zoom; }
    void setZoom(ZoomLevel zoom);
    ListSide listSide() const { return m_listSide; }
    void setListSide(ListSide side);
    bool animateGIFs() const { return m_animateGIFs; }
    void setAnimateGIFs(bool animate);
    // The file list's share of the split width, whichever side it is on; not clamped here.
    double splitFraction() const { return m_splitFraction; }
    void setSplitFraction(double fraction);
    ZoomLevel defaultZoom() const { return m_defaultZoom; }
    void setDefaultZoom(ZoomLevel zoom);
    // Stored as typed, colour or not.
    QString previewDarkHex() const { return m_previewDarkHex; }
    void setPreviewDarkHex(const QString& hex);
    QString previewLightHex() const { return m_previewLightHex; }
    void setPreviewLightHex(const QString& hex);
    AppTheme theme() const { return m_theme; }
    void setTheme(AppTheme theme);
    bool previewDarkFirst() const { return m_previewDarkFirst; }
    void setPreviewDarkFirst(bool darkFirst);
    bool backupOnSave() const { return m_backupOnSave; }
    void setBackupOnSave(bool backup);
    bool showEditedBadge() const { return m_showEditedBadge; }
    void setShowEditedBadge(bool show);

signals:
    void subfolderNamesChanged();
    void zoomChanged();
    void listSideChanged();
    void animateGIFsChanged();
    void splitFractionChanged();
    void defaultZoomChanged();
    void previewDarkHexChanged();
    void previewLightHexChanged();
    void themeChanged();
    void previewDarkFirstChanged();
    void backupOnSaveChanged();
    void showEditedBadgeChanged();

private:
    void readAll();
    void write(const char* key, const QVariant& value);

    std::unique_ptr<QSettings> m_ownedSettings;
    QSettings* m_settings;

    QStringList m_subfolderNames;
    ZoomLevel m_zoom = ZoomLevel::px128;
    ListSide m_listSide = ListSide::left;
    bool m_animateGIFs = true;
    double m_splitFraction = 0.5;
    ZoomLevel m_defaultZoom = ZoomLevel::px128;
    QString m_previewDarkHex;
    QString m_previewLightHex;
    AppTheme m_theme = AppTheme::system;
    bool m_previewDarkFirst = true;
    bool m_backupOnSave = true;
    bool m_showEditedBadge = true;
};

} // namespace plenoria
