#include "inspectors/text/FontMenuBox.h"

#include "imaging/model/FontFamilies.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QWheelEvent>

namespace plenoria {

namespace {

QFont face(const QString& family, const QFont& base)
{
    QFont font = base;
    font.setFamilies({family});
    font.setPixelSize(FontMenuBox::faceSize);
    return font;
}

// A symbol face cannot spell its own name: its row is written in the box's own font.
QFont rowFace(const QString& family, const QFont& base)
{
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol)) {
        QFont font = base;
        font.setPixelSize(FontMenuBox::faceSize);
        return font;
    }
    return face(family, base);
}

} // namespace

FontMenuBox::FontMenuBox(FontUsage usage, QWidget* parent)
    : QComboBox(parent)
    , m_usage(std::move(usage))
{
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::TabFocus);
    setMaxVisibleItems(20);
    const QSignalBlocker blocker(this);
    insertSeparator(0);
    for (const QString& family : m_usage.installed())
        addFamilyRow(count(), family);
    rebuildRecent();
    connect(this, &QComboBox::activated, this, [this](int row) {
        const QString family = itemData(row).toString();
        if (family.isEmpty())
            return;
        m_shown = family;
        emit familyPicked(family);
    });
}

void FontMenuBox::addFamilyRow(int position, const QString& family)
{
    insertItem(position, family, family);
    setItemData(position, rowFace(family, font()), Qt::FontRole);
}

void FontMenuBox::rebuildRecent()
{
    const QSignalBlocker blocker(this);
    for (; m_recentRows > 0; --m_recentRows)
        removeItem(0);
    const QStringList recent = m_usage.recentFamilies();
    for (const QString& family : recent)
        addFamilyRow(m_recentRows++, family);
    selectShownRow();
}

void FontMenuBox::setShownFamily(const QString& family)
{
    m_shown = family;
    const QSignalBlocker blocker(this);
    selectShownRow();
    update();
}

void FontMenuBox::selectShownRow()
{
    // The recent row when there is one, so the open menu starts at the top.
    setCurrentIndex(m_shown.isEmpty() ? -1 : findData(m_shown));
}

void FontMenuBox::showPopup()
{
    rebuildRecent();
    QComboBox::showPopup();
}

void FontMenuBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The bound family, installed or not, in the face its text is drawn in.
    option.currentText = m_shown;
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.setFont(rowFace(FontFamilies::drawable(m_shown), font()));
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void FontMenuBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void FontMenuBox::keyPressEvent(QKeyEvent* event)
{
    // Arrows open the menu instead of stepping through (and counting) one font after another.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        showPopup();
        event->accept();
        return;
    default:
        break;
    }
    // Typing searches the open list the same way: the closed box would pick (and count) the match.
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint() && !text.front().isSpace()) {
        // As in the window's key map, Alt with a printable key types nothing, nor do Ctrl and Meta:
        // such a press is a shortcut, never a search.
        if (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) {
            event->ignore();
            return;
        }
        showPopup();
        view()->keyboardSearch(text);
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace plenoria
