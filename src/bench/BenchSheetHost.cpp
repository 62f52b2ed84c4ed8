#include "BenchSheetHost.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace plenoria {

BenchSheetHost::BenchSheetHost(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    setFocusPolicy(Qt::StrongFocus);
    hide();
    connect(&model, &BenchModel::changed, this, &BenchSheetHost::modelChanged);
}

void BenchSheetHost::setSheet(Sheet sheet, QWidget* content)
{
    content->setParent(this);
    content->hide();
    (sheet == Sheet::saveGate ? m_saveGate : m_exportSheet) = content;
    modelChanged(BenchModel::Change::sheets);
}

std::optional<BenchSheetHost::Sheet> BenchSheetHost::shownSheet() const
{
    return m_shown;
}

QWidget* BenchSheetHost::contentFor(Sheet sheet) const
{
    return sheet == Sheet::saveGate ? m_saveGate.data() : m_exportSheet.data();
}

void BenchSheetHost::modelChanged(BenchModel::Changes changes)
{
    if (!(changes & BenchModel::Change::sheets))
        return;
    std::optional<Sheet> wanted;
    if (m_model.showingSaveGate())
        wanted = Sheet::saveGate;
    else if (m_model.showingExport())
        wanted = Sheet::exportSheet;
    if (wanted && !contentFor(*wanted))
        wanted.reset();
    if (wanted == m_shown)
        return;
    for (const Sheet sheet : {Sheet::saveGate, Sheet::exportSheet}) {
        if (QWidget* content = contentFor(sheet))
            content->setVisible(sheet == wanted);
    }
    m_shown = wanted;
    setVisible(wanted.has_value());
    if (wanted) {
        raise();
        place();
        contentFor(*wanted)->setFocus(Qt::OtherFocusReason);
    }
}

void BenchSheetHost::dismiss()
{
    m_model.transact([this] {
        m_model.setShowingSaveGate(false);
        m_model.setShowingExport(false);
    });
}

void BenchSheetHost::place()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    if (QWidget* content = m_shown ? contentFor(*m_shown) : nullptr) {
        const QSize size = content->sizeHint().boundedTo(this->size());
        content->setGeometry(
            QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 3), size));
    }
}

void BenchSheetHost::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void BenchSheetHost::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 90));
}

void BenchSheetHost::mousePressEvent(QMouseEvent* event)
{
    // A sheet is modal: the bench beneath takes no clicks while it shows.
    event->accept();
}

void BenchSheetHost::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        dismiss();
    else
        QWidget::keyPressEvent(event);
}

} // namespace plenoria
