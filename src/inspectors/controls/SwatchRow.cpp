#include "inspectors/controls/SwatchRow.h"

#include "imaging/model/HexColor.h"
#include "imaging/model/Theme.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QPainter>

namespace plenoria {

namespace {

// One swatch: the parsed colour in a rounded square, outlined by whether its row marks it.
class Swatch : public QAbstractButton {
public:
    Swatch(const QString& hex, qint64 index, const SwatchRow& row)
        : m_index(index)
        , m_color(parseHexColor(hex))
        , m_row(row)
    {
        setFixedSize(SwatchRow::side, SwatchRow::side);
        setToolTip(hex);
        setAccessibleName(hex);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool marked = m_row.isMarked(m_index);
        const double stroke = marked ? 2 : 1;
        const QRectF box = QRectF(rect()).adjusted(stroke / 2, stroke / 2, -stroke / 2, -stroke / 2);
        painter.setPen(QPen(marked ? Theme::moss() : Theme::rule(), stroke));
        painter.setBrush(m_color);
        painter.drawRoundedRect(box, 4, 4);
    }

private:
    qint64 m_index;
    QColor m_color;
    const SwatchRow& m_row;
};

} // namespace

SwatchRow::SwatchRow(const QString& selected, const QStringList& swatches, QWidget* parent)
    : QWidget(parent)
    , m_selected(selected)
    , m_swatches(swatches)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (const QString& hex : swatches) {
        auto* button = new Swatch(hex, qint64(m_buttons.size()), *this);
        connect(button, &QAbstractButton::clicked, this, [this, hex] { emit picked(hex); });
        layout->addWidget(button, 0, Qt::AlignVCenter);
        m_buttons.push_back(button);
    }
    layout->addStretch(1);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void SwatchRow::setSelected(const QString& selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    for (QAbstractButton* button : m_buttons)
        button->update();
}

QAbstractButton* SwatchRow::swatch(qint64 index) const
{
    return m_buttons.at(size_t(index));
}

bool SwatchRow::isMarked(qint64 index) const
{
    return m_selected.compare(m_swatches.at(index), Qt::CaseInsensitive) == 0;
}

} // namespace plenoria
