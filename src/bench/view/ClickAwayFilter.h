#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace plenoria {

// Ends text editing on a left press anywhere in a window outside the widget that has the keyboard
// focus, as clicking away from a field does on other desktops: that widget loses the focus (so a
// field shows its stored value) and the press still goes on to what it landed on. Popups and menus
// are left alone. Watches the whole application while installed; main thread only.
class ClickAwayFilter : public QObject {
    Q_OBJECT
public:
    // Acts on presses in `scope`'s window; the filter is a child of `scope`.
    explicit ClickAwayFilter(QWidget* scope);
    ~ClickAwayFilter() override;

    void install();
    void remove();
    bool isInstalled() const { return m_installed; }
    // How many presses it has looked at (each once, however far it travelled up the widgets).
    qint64 pressesSeen() const { return m_pressesSeen; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handlePress(QWidget* target, const QPointF& globalPosition);

    QPointer<QWidget> m_scope;
    bool m_installed = false;
    qint64 m_pressesSeen = 0;
    // A press the target ignores is delivered again to each parent; this one was handled already.
    std::optional<std::pair<quint64, QPointF>> m_lastPress;
};

} // namespace plenoria
