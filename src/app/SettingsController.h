#pragma once

#include "imaging/model/ZoomLevel.h"
#include "store/AppTheme.h"
#include "store/ListSide.h"

#include <QColor>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace plenoria {

class FolderStore;
class Preferences;

// What the settings window shows and writes, without widgets: every setter writes the shared
// preferences at once (there is no apply step), and `changed` fires whenever the preferences or
// the store publish a change, so the panes redraw from here. Main thread only.
class SettingsController : public QObject {
    Q_OBJECT
public:
    static inline const QString defaultDarkHex = QStringLiteral("#211E19");
    static inline const QString defaultLightHex = QStringLiteral("#E6E2D2");
    // The backups folder as the restoration pane names it, relative to the working folder.
    static inline const QString originalsFolderLabel = QStringLiteral(".plenoria/originals");

    SettingsController(Preferences& prefs, FolderStore& store, QObject* parent = nullptr);

    Preferences& prefs() const { return m_prefs; }
    // Asks the panes to read everything again, for what changes without a signal (the backups
    // folder on disk).
    void refresh() { emit changed(); }

    // General
    AppTheme theme() const;
    void setTheme(AppTheme theme);
    ListSide listSide() const;
    void setListSide(ListSide side);

    // Preview
    bool previewDarkFirst() const;
    void setPreviewDarkFirst(bool darkFirst);
    ZoomLevel defaultZoom() const;
    void setDefaultZoom(ZoomLevel zoom);
    // The picker's colour: the stored text read as hex, the clear colour when unreadable.
    QColor darkColor() const;
    QColor lightColor() const;
    // Stores the colour's hex text (opacity dropped: the tiles are opaque grounds).
    void setDarkColor(const QColor& color);
    void setLightColor(const QColor& color);
    void restoreDefaultColors();
    // Exact text comparison: "#211e19" is not the default, so Restore stays offered.
    bool usesDefaultColors() const;
    bool animateGIFs() const;
    void setAnimateGIFs(bool animate);

    // Filing: position 0 to 8 is digit key 1 to 9. Names are stored exactly as typed.
    QString destinationName(qint64 position) const;
    void setDestinationName(qint64 position, const QString& name);
    // Outlined in the pane: a name that cannot be a folder, or that repeats another regardless of
    // case and surrounding blanks. Empty and blank names are never flagged.
    bool isFlagged(qint64 position) const;
    static QSet<QString> duplicateNames(const QStringList& names);
    static bool isFlagged(const QStringList& names, qint64 position);

    // Restoration
    bool backupOnSave() const;
    void setBackupOnSave(bool backup);
    bool showEditedBadge() const;
    void setShowEditedBadge(bool show);
    bool canRevealOriginals() const;
    void revealOriginals();
    // The sentence the pane shows when the last reveal reached no file manager; none otherwise.
    std::optional<QString> revealFailure() const { return m_revealFailure; }

signals:
    void changed();

private:
    Preferences& m_prefs;
    FolderStore& m_store;
    std::optional<QString> m_revealFailure;
};

// The label of a zoom level in the default-size menu: "32 px" … "512 px".
QString zoomMenuLabel(ZoomLevel level);
// The theme segment's label: the raw value capitalised ("System", "Light", "Dark").
QString themeSegmentLabel(AppTheme theme);

} // namespace plenoria
