#pragma once

#include <QList>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <optional>

class QSettings;
class QWidget;

namespace plenoria {

// Keeps a main window's frame across launches under "PlenoriaWindowFrame": puts the stored frame
// back when the window is placed (only where the window's title bar can be reached), then stores
// the frame 0.25 s after the last move or resize, and at once when the window closes.
class FrameKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr const char* key = "PlenoriaWindowFrame";
    static constexpr int saveDelayMs = 250;
    // How much of a restored window must lie on one screen, its top edge included.
    static constexpr int reachableWidth = 100;
    static constexpr int reachableHeight = 40;

    // Restores the stored frame onto the window before it is shown, and keeps it from then on.
    // Uses the application's own settings when `settings` is null; a given one must outlive this.
    FrameKeeper(QWidget* window, QSettings* settings = nullptr);
    ~FrameKeeper() override;

    bool savePending() const { return m_pendingSave.isActive(); }

    // The stored text form "{{x, y}, {width, height}}"; reading wants four numbers and a size.
    static QString frameText(const QRect& frame);
    static std::optional<QRect> frameFromText(const QString& text);
    // Whether a frame's top edge and at least 100 × 40 of it lie on one of the screens.
    static bool isReachable(const QRect& frame, const QList<QRect>& screens);

signals:
    void frameSaved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restore();
    void saveFrame();
    void saveFrameNow();

    QWidget* m_window;
    QSettings* m_settings;
    bool m_ownsSettings;
    QTimer m_pendingSave;
};

} // namespace plenoria
