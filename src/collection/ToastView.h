#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class QGraphicsOpacityEffect;
class QParallelAnimationGroup;

namespace plenoria {

// The one-line message at the bottom centre of the window: serif text on a translucent capsule.
// It rises and fades in when a message arrives and sinks and fades out when it goes; a new
// message replaces the text in place. It lets every click through to what lies below.
class ToastView : public QWidget {
    Q_OBJECT
public:
    static constexpr int bottomMargin = 18;

    explicit ToastView(QWidget* parent);

    // None hides the toast.
    void setMessage(const std::optional<QString>& message);
    QString message() const { return m_message; }
    // Keeps the toast at the bottom centre of its parent; the owner calls it when the parent resizes.
    void reposition();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToParent();
    QPoint restingPosition() const;
    void animate(bool entering);

    QString m_message;
    bool m_shown = false;
    QGraphicsOpacityEffect* m_opacity;
    QPointer<QParallelAnimationGroup> m_animation;
};

} // namespace plenoria
