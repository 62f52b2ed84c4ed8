#include "inspectors/controls/SymbolLabel.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>

namespace plenoria {

SymbolLabel::SymbolLabel(const QString& symbolName, int symbolSide, const QFont& font,
    ThemedLabel::ColorRole color, QWidget* parent)
    : QWidget(parent)
    , m_symbolName(symbolName)
    , m_symbolSide(symbolSide)
    , m_color(color)
    , m_symbol(new QLabel)
    , m_text(new ElidedLabel(QString(), font, color, Qt::ElideMiddle))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_symbol);
    layout->addWidget(m_text, 1);
    applySymbol();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &SymbolLabel::applySymbol);
}

QString SymbolLabel::text() const
{
    return m_text->text();
}

void SymbolLabel::setText(const QString& text)
{
    m_text->setText(text);
}

void SymbolLabel::applySymbol()
{
    m_symbol->setPixmap(SymbolIcon::pixmap(m_symbolName, m_symbolSide, m_color(), devicePixelRatioF()));
}

} // namespace plenoria
