#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

class QGraphicsOpacityEffect;
class QParallelAnimationGroup;

namespace plenoria {

// The message at the bottom centre of the window: serif text on a translucent capsule. A message
// too wide for the window wraps onto up to `maxLines` lines, the capsule growing upward; only
// beyond that is the middle of its longest word (the file name) elided. It rises and fades in when
// a message arrives and sinks and fades out when it goes; a new message replaces the text in
// place. It lets every click through to what lies below.
class ToastView : public QWidget {
    Q_OBJECT
public:
    static constexpr int bottomMargin = 18;
    static constexpr int maxLines = 4;

    explicit ToastView(QWidget* parent);

    // None hides the toast.
    void setMessage(const std::optional<QString>& message);
    QString message() const { return m_message; }
    // The message as drawn, one entry per line.
    QStringList lines() const { return m_lines; }
    // Keeps the toast at the bottom centre of its parent; the owner calls it when the parent resizes.
    void reposition();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitToParent();
    // The message broken into lines of at most `width` pixels, elided where it needs more than
    // `maxLines` of them.
    QStringList layoutLines(int width) const;
    QPoint restingPosition() const;
    void animate(bool entering);

    QString m_message;
    QStringList m_lines;
    bool m_shown = false;
    QGraphicsOpacityEffect* m_opacity;
    QPointer<QParallelAnimationGroup> m_animation;
};

} // namespace plenoria
