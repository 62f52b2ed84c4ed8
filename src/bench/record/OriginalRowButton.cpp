#include "bench/record/OriginalRowButton.h"

#include "imaging/model/Theme.h"

#include <QPainter>

namespace plenoria {

namespace {

constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 8;

QFont titleFont()
{
    return Theme::serifFont(14);
}

QFont noteFont()
{
    return Theme::monospacedFont(11);
}

} // namespace

OriginalRowButton::OriginalRowButton(BenchModel& bench, QWidget* parent)
    : QAbstractButton(parent)
    , m_bench(bench)
{
    setText(QStringLiteral("Original"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, &bench, &BenchModel::selectOriginal);
    connect(&bench, &BenchModel::changed, this, [this](BenchModel::Changes changes) {
        if (changes & (BenchModel::Change::selection | BenchModel::Change::record))
            update();
    });
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

bool OriginalRowButton::isHighlighted() const
{
    return !m_bench.selectedIndex();
}

QSize OriginalRowButton::sizeHint() const
{
    const QFontMetrics title(titleFont());
    const QFontMetrics note(noteFont());
    const int width = title.horizontalAdvance(text()) + note.horizontalAdvance(QStringLiteral("read-only"));
    return QSize(
        width + 3 * horizontalPadding, std::max(title.height(), note.height()) + 2 * verticalPadding);
}

void OriginalRowButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isHighlighted()) {
        QColor fill = Theme::moss();
        fill.setAlphaF(0.14f);
        QColor outline = Theme::moss();
        outline.setAlphaF(0.5f);
        painter.setPen(QPen(outline, 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
    const QRect inner
        = rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    painter.setFont(titleFont());
    painter.setPen(isDown() ? Theme::inkSecondary() : Theme::ink());
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, text());
    painter.setFont(noteFont());
    painter.setPen(Theme::inkFaint());
    painter.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("read-only"));
}

} // namespace plenoria
