#include "bench/sheets/FormatCard.h"

#include "bench/sheets/Chip.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace plenoria {

namespace {

constexpr double cornerRadius = 8;

// Children only show: every click lands on the card itself.
template <typename W> W* passive(W* widget)
{
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    return widget;
}

} // namespace

FormatCard::FormatCard(ExportFormat format, const QString& name, QWidget* parent)
    : QAbstractButton(parent)
    , m_format(format)
    , m_mark(passive(new QWidget))
    , m_description(passive(new ThemedLabel(QString(), Theme::serifFont(12), &Theme::inkSecondary)))
    , m_size(passive(new ThemedLabel(QString(), Theme::monospacedFont(12), &Theme::inkFaint)))
    , m_chip(passive(new Chip(QStringLiteral("still \u00B7 first frame"), &Theme::slate)))
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_mark->setFixedSize(markSide, markSide);
    m_description->setWordWrap(true);
    m_chip->setPassive(true);
    m_chip->hide();

    auto* nameLine = new QHBoxLayout;
    nameLine->setSpacing(6);
    nameLine->addWidget(passive(new ThemedLabel(name, Theme::serifFont(14), &Theme::ink)));
    nameLine->addWidget(m_chip);
    nameLine->addStretch(1);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addLayout(nameLine);
    text->addWidget(m_description);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(10);
    row->addWidget(m_mark, 0, Qt::AlignTop);
    row->addLayout(text, 1);
    row->addSpacing(8);
    row->addWidget(m_size, 0, Qt::AlignTop);

    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void FormatCard::setDescription(const QString& description)
{
    m_description->setText(description);
}

QString FormatCard::description() const
{
    return m_description->text();
}

void FormatCard::setSizeLabel(const QString& text, bool estimated)
{
    m_size->setText(text);
    m_size->setColorRole(estimated ? &Theme::inkSecondary : &Theme::inkFaint);
}

QString FormatCard::sizeLabel() const
{
    return m_size->text();
}

void FormatCard::setChipVisible(bool visible)
{
    m_chip->setVisible(visible);
}

bool FormatCard::isChipVisible() const
{
    return !m_chip->isHidden();
}

void FormatCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath card;
    card.addRoundedRect(box, cornerRadius, cornerRadius);
    painter.fillPath(card, Theme::raised());
    if (isChecked()) {
        QColor outline = Theme::moss();
        outline.setAlphaF(0.6f);
        painter.strokePath(card, QPen(outline, 1));
    }
    if (hasFocus() && m_keyboardFocus) {
        QColor ring = Theme::moss();
        ring.setAlphaF(0.5f);
        painter.strokePath(card, QPen(ring, 2.5));
    }

    // The radio mark: a ring, with a dot in the middle on the chosen card.
    const QRectF mark = QRectF(m_mark->geometry()).adjusted(1.5, 1.5, -1.5, -1.5);
    const QColor color = isChecked() ? Theme::moss() : Theme::inkFaint();
    painter.setPen(QPen(color, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(mark);
    if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        const double inset = mark.width() * 0.25;
        painter.drawEllipse(mark.adjusted(inset, inset, -inset, -inset));
    }
}

void FormatCard::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void FormatCard::focusOutEvent(QFocusEvent* event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace plenoria
