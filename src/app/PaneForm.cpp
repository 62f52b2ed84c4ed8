#include "app/PaneForm.h"

#include "app/FormSection.h"
#include "imaging/model/Theme.h"

#include <QPainter>
#include <QVBoxLayout>

namespace plenoria {

PaneForm::PaneForm(QWidget* parent)
    : QWidget(parent)
    , m_sections(new QVBoxLayout(this))
{
    m_sections->setContentsMargins(20, 18, 20, 20);
    m_sections->setSpacing(18);
    setFixedWidth(width);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

FormSection* PaneForm::addSection(const QString& header, const QString& footer)
{
    auto* section = new FormSection(header, footer, this);
    m_sections->addWidget(section);
    return section;
}

QSize PaneForm::sizeHint() const
{
    // As tall as the sections are at the fixed width (footers wrap).
    return {width,
        m_sections->hasHeightForWidth() ? m_sections->heightForWidth(width)
                                        : m_sections->sizeHint().height()};
}

void PaneForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::background());
}

} // namespace plenoria
