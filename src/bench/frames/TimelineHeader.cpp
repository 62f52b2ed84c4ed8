#include "bench/frames/TimelineHeader.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"

#include <QResizeEvent>
#include <algorithm>

namespace plenoria {

namespace {

// Parts in the order they give up room; the summary goes last.
constexpr std::array shrinkOrder{TimelineHeader::hint, TimelineHeader::warning, TimelineHeader::selection,
    TimelineHeader::skipped, TimelineHeader::summary};

} // namespace

TimelineHeader::TimelineHeader(QWidget* parent)
    : QWidget(parent)
    , m_labels{
          new ElidedLabel({}, Theme::monospacedFont(12), &Theme::inkSecondary, Qt::ElideRight, this),
          new ElidedLabel({}, Theme::monospacedFont(12), &Theme::rust, Qt::ElideRight, this),
          new ElidedLabel({}, Theme::monospacedFont(12), &Theme::moss, Qt::ElideRight, this),
          new ElidedLabel({}, Theme::monospacedFont(11), &Theme::slate, Qt::ElideRight, this),
          new ElidedLabel({}, Theme::monospacedFont(11), &Theme::inkFaint, Qt::ElideRight, this),
      }
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (ElidedLabel* label : m_labels)
        label->hide();
}

void TimelineHeader::setTexts(const Texts& texts)
{
    for (int part = 0; part < partCount; ++part)
        m_labels[part]->setText(texts[part]);
    updateGeometry();
    layOut();
}

TimelineHeader::Texts TimelineHeader::texts() const
{
    Texts texts;
    for (int part = 0; part < partCount; ++part)
        texts[part] = m_labels[part]->text();
    return texts;
}

bool TimelineHeader::hintAboveRow() const
{
    return !m_labels[hint]->text().isEmpty() && !m_labels[warning]->text().isEmpty();
}

int TimelineHeader::rowTop() const
{
    if (!hintAboveRow())
        return topMargin;
    return hintTop + m_labels[hint]->sizeHint().height() + hintTop;
}

int TimelineHeader::rowHeight() const
{
    int height = 0;
    for (const Part part : {summary, skipped, selection, warning})
        height = std::max(height, m_labels[part]->sizeHint().height());
    return height;
}

bool TimelineHeader::warningBelowRow(int width) const
{
    // A line of its own is worth its height only while it holds the whole warning.
    const int room = width - 2 * sideMargin;
    return !m_labels[warning]->text().isEmpty() && naturalWidth({summary, skipped, selection, warning}) > room
        && naturalWidth({warning}) <= room;
}

int TimelineHeader::naturalWidth(std::initializer_list<Part> line) const
{
    int row = 0;
    int texts = 0;
    for (const Part part : line) {
        if (!m_labels[part]->text().isEmpty())
            row += m_labels[part]->sizeHint().width() + (texts++ > 0 ? spacing : 0);
    }
    return row;
}

int TimelineHeader::heightForWidth(int width) const
{
    const int row = rowTop() + rowHeight();
    if (!warningBelowRow(width))
        return row;
    return row + lineGap + m_labels[warning]->sizeHint().height();
}

QSize TimelineHeader::sizeHint() const
{
    // As wide as one row holding every text; as tall as the lines the current width needs.
    const int row = hintAboveRow()
        ? std::max(naturalWidth({summary, skipped, selection, warning}), m_labels[hint]->sizeHint().width())
        : naturalWidth({summary, skipped, selection, warning, hint});
    return {2 * sideMargin + row, heightForWidth(width())};
}

QSize TimelineHeader::minimumSizeHint() const
{
    // However little room the column has, the texts elide into it.
    return {0, sizeHint().height()};
}

void TimelineHeader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The timeline above keeps its height at its hint, which the warning's line changes.
    if (heightForWidth(width()) != height())
        updateGeometry();
    layOut();
}

TimelineHeader::Widths TimelineHeader::fit(std::initializer_list<Part> line, Widths widths) const
{
    std::vector<Part> kept;
    for (const Part part : line) {
        if (!m_labels[part]->text().isEmpty()) {
            kept.push_back(part);
            widths[part] = m_labels[part]->sizeHint().width();
        }
    }
    const auto excess = [&] {
        int used = spacing * std::max(0, int(kept.size()) - 1);
        for (const Part part : kept)
            used += widths[part];
        return used - (width() - 2 * sideMargin);
    };
    for (const Part part : shrinkOrder) {
        const auto at = std::find(kept.begin(), kept.end(), part);
        if (at == kept.end())
            continue;
        const int over = excess();
        if (over <= 0)
            break;
        const QFontMetrics metrics(m_labels[part]->font());
        const int least = metrics.horizontalAdvance(m_labels[part]->text().left(1) + QStringLiteral("…")) + 1;
        if (part == summary || widths[part] - over >= least) {
            widths[part] = std::max(0, widths[part] - over);
            break;
        }
        widths[part] = 0;
        kept.erase(at);
    }
    return widths;
}

void TimelineHeader::layOut()
{
    const bool above = hintAboveRow();
    const bool below = warningBelowRow(width());
    Widths widths{};
    if (below)
        widths = fit({warning}, fit({summary, skipped, selection}, widths));
    else if (above)
        widths = fit({summary, skipped, selection, warning}, widths);
    else
        widths = fit({summary, skipped, selection, warning, hint}, widths);
    if (above)
        widths = fit({hint}, widths);

    const int top = rowTop();
    const int height = rowHeight();
    const auto place = [&](Part part, int x, int y) {
        m_labels[part]->setGeometry(x, y, widths[part], m_labels[part]->sizeHint().height());
        m_labels[part]->setVisible(widths[part] > 0);
    };
    const auto rowY = [&](Part part) { return top + (height - m_labels[part]->sizeHint().height()) / 2; };
    int leading = sideMargin;
    for (const Part part : {summary, skipped}) {
        place(part, leading, rowY(part));
        leading += widths[part] > 0 ? widths[part] + spacing : 0;
    }
    int trailing = width() - sideMargin;
    for (const Part part : {hint, warning, selection}) {
        if (part == warning && below) {
            place(part, trailing - widths[part], top + height + lineGap);
            continue;
        }
        place(part, trailing - widths[part], part == hint ? hintTop : rowY(part));
        // Above the row the hint leaves the row's trailing edge to the row.
        if (widths[part] > 0 && (part != hint || !above))
            trailing -= widths[part] + spacing;
    }
}

} // namespace plenoria
