#include "collection/chrome/ToastView.h"

#include "imaging/model/Theme.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QRegularExpression>
#include <QTextLayout>

namespace plenoria {

namespace {

constexpr int horizontalPadding = 14;
constexpr int verticalPadding = 10;
constexpr int travel = 24;
constexpr int animationMs = 250;
// Padding on both sides and the outline's pixel.
constexpr int horizontalChrome = 2 * horizontalPadding + 2;

// Breaks at word boundaries, and inside a word only where the word alone is wider than a line.
QStringList wrapped(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

// `text` with the middle of its word at [start, start + length) cut down to `keep` characters.
QString middleElided(const QString& text, qsizetype start, qsizetype length, qsizetype keep)
{
    const QString word = text.mid(start, length);
    return text.left(start) + word.left((keep + 1) / 2) + QChar(0x2026) + word.right(keep / 2)
        + text.mid(start + length);
}

} // namespace

ToastView::ToastView(QWidget* parent)
    : QWidget(parent)
    , m_opacity(new QGraphicsOpacityEffect(this))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(Theme::serifFont(14));
    setGraphicsEffect(m_opacity);
    hide();
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

QSize ToastView::sizeHint() const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (const QString& line : m_lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const qsizetype extraLines = std::max<qsizetype>(0, m_lines.size() - 1);
    return {widest + horizontalChrome,
        metrics.height() + int(extraLines) * metrics.lineSpacing() + 2 * verticalPadding};
}

QStringList ToastView::layoutLines(int width) const
{
    const QFontMetrics metrics(font());
    if (metrics.horizontalAdvance(m_message) <= width)
        return {m_message};
    const QStringList lines = wrapped(m_message, font(), width);
    if (lines.size() <= maxLines)
        return lines;

    // Still too long: the longest word, which is the file name in every message that gets here,
    // loses its middle, as little of it as lets the whole fit.
    qsizetype start = 0;
    qsizetype length = 0;
    static const QRegularExpression word(QStringLiteral("\\S+"));
    for (QRegularExpressionMatchIterator it = word.globalMatch(m_message); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength() > length) {
            start = match.capturedStart();
            length = match.capturedLength();
        }
    }
    qsizetype low = 0;
    qsizetype high = length - 1;
    std::optional<QStringList> best;
    while (low <= high) {
        const qsizetype keep = (low + high) / 2;
        const QStringList attempt = wrapped(middleElided(m_message, start, length, keep), font(), width);
        if (attempt.size() <= maxLines) {
            best = attempt;
            low = keep + 1;
        } else {
            high = keep - 1;
        }
    }
    if (best)
        return *best;
    // Not even a bare ellipsis for the name is enough: the last line ends the text early.
    QStringList shortest = wrapped(middleElided(m_message, start, length, 0), font(), width);
    const QString rest = shortest.mid(maxLines - 1).join(QLatin1Char(' '));
    shortest = shortest.mid(0, maxLines);
    shortest.last() = metrics.elidedText(rest, Qt::ElideRight, width);
    return shortest;
}

void ToastView::setMessage(const std::optional<QString>& message)
{
    if (message) {
        m_message = *message;
        fitToParent();
        update();
        if (!m_shown) {
            m_shown = true;
            animate(true);
        } else if (!m_animation) {
            move(restingPosition());
        }
    } else if (m_shown) {
        m_shown = false;
        animate(false);
    }
}

QPoint ToastView::restingPosition() const
{
    if (!parentWidget())
        return {};
    const QSize area = parentWidget()->size();
    const int width = std::min(this->width(), area.width());
    return {(area.width() - width) / 2, area.height() - height() - bottomMargin};
}

void ToastView::fitToParent()
{
    // Within the window less a margin on either side; its bottom stays where it is, so extra lines
    // grow it upward.
    if (!parentWidget()) {
        m_lines = {m_message};
        resize(sizeHint());
        return;
    }
    const int room = parentWidget()->width() - 2 * bottomMargin;
    m_lines = layoutLines(std::max(1, room - horizontalChrome));
    const QSize wanted = sizeHint();
    resize(std::max(0, std::min(wanted.width(), room)), wanted.height());
}

void ToastView::reposition()
{
    fitToParent();
    if (!m_animation)
        move(restingPosition());
    raise();
}

void ToastView::animate(bool entering)
{
    if (m_animation)
        m_animation->stop();
    reposition();
    const QPoint rest = restingPosition();
    const QPoint below = rest + QPoint(0, travel);
    if (entering) {
        move(below);
        show();
        raise();
    }

    auto* group = new QParallelAnimationGroup(this);
    auto* slide = new QPropertyAnimation(this, "pos", group);
    slide->setDuration(animationMs);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    slide->setStartValue(pos());
    slide->setEndValue(entering ? rest : below);
    auto* fade = new QPropertyAnimation(m_opacity, "opacity", group);
    fade->setDuration(animationMs);
    fade->setStartValue(entering ? 0.0 : m_opacity->opacity());
    fade->setEndValue(entering ? 1.0 : 0.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    connect(group, &QParallelAnimationGroup::finished, this, [this, entering] {
        if (!entering && !m_shown)
            hide();
        else
            move(restingPosition());
    });
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void ToastView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // Several lines keep the one-line capsule's round ends as corners.
    const double radius = std::min<double>(capsule.height(), metrics.height() + 2 * verticalPadding) / 2;

    // A thin material: the raised surface, mostly opaque, so the list shows faintly through.
    QColor fill = Theme::raised();
    fill.setAlphaF(0.92f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(capsule, radius, radius);
    painter.setPen(QPen(Theme::hairline(), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(capsule, radius, radius);

    painter.setPen(Theme::ink());
    painter.setFont(font());
    QRect lineRect(horizontalPadding, verticalPadding, width() - 2 * horizontalPadding, metrics.height());
    for (const QString& line : m_lines) {
        // Eliding only matters in a window narrower than the toast's padding.
        painter.drawText(
            lineRect, Qt::AlignCenter, metrics.elidedText(line, Qt::ElideRight, lineRect.width()));
        lineRect.translate(0, metrics.lineSpacing());
    }
}

} // namespace plenoria
