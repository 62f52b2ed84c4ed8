#include "app/FormSection.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace plenoria {

namespace {

constexpr int rowHeight = 36;
constexpr int cardPadding = 12;

} // namespace

// The card behind the rows, with a hairline under every row but the last.
class FormSection::Card : public QWidget {
public:
    explicit Card(QWidget* parent)
        : QWidget(parent)
    {
        connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this,
            qOverload<>(&QWidget::update));
    }

    QGridLayout* rows = nullptr;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(Theme::hairline(), 1));
        painter.setBrush(Theme::raised());
        painter.drawRoundedRect(box, 8, 8);
        if (!rows)
            return;
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Theme::hairline(), 1));
        for (int row = 1; row < rows->rowCount(); ++row) {
            const QRect cell = rows->cellRect(row, 0);
            if (!cell.isValid())
                continue;
            const int y = cell.top() - rows->verticalSpacing() / 2 - 1;
            painter.drawLine(cardPadding, y, width() - cardPadding, y);
        }
    }
};

FormSection::FormSection(const QString& header, const QString& footer, QWidget* parent)
    : QWidget(parent)
    , m_header(new ThemedLabel(header, Theme::serifFont(15, QFont::DemiBold), &Theme::inkSecondary))
    , m_card(new Card(this))
    , m_rows(new QGridLayout(m_card))
{
    m_card->rows = m_rows;
    m_rows->setContentsMargins(cardPadding, 2, cardPadding, 2);
    m_rows->setHorizontalSpacing(16);
    m_rows->setVerticalSpacing(2);
    m_rows->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_header->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(m_header);
    layout->addWidget(m_card);
    if (!footer.isEmpty()) {
        m_footer = new ThemedLabel(footer, Theme::serifFont(12), &Theme::inkSecondary);
        m_footer->setWordWrap(true);
        m_footer->setContentsMargins(4, 0, 4, 0);
        layout->addWidget(m_footer);
    }
}

void FormSection::addRow(const QString& label, QWidget* control)
{
    auto* text = new QLabel(label);
    addRow(text, control);
}

int FormSection::nextRow() const
{
    // An empty grid still reports one row.
    return m_rows->rowCount() == 1 && !m_rows->itemAtPosition(0, 0) ? 0 : m_rows->rowCount();
}

void FormSection::addRow(QWidget* label, QWidget* control)
{
    const int row = nextRow();
    label->setMinimumHeight(rowHeight);
    m_rows->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_rows->addWidget(control, row, 1, Qt::AlignRight | Qt::AlignVCenter);
    m_card->update();
}

void FormSection::addWideRow(QWidget* control)
{
    const int row = nextRow();
    m_rows->setRowMinimumHeight(row, rowHeight);
    m_rows->addWidget(control, row, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    m_card->update();
}

void FormSection::addLine(QWidget* line)
{
    layout()->addWidget(line);
}

QString FormSection::headerText() const
{
    return m_header->text();
}

QString FormSection::footerText() const
{
    return m_footer ? m_footer->text() : QString();
}

} // namespace plenoria
