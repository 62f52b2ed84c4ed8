#include "inspectors/controls/FieldMarksSliderAccessible.h"

#include "inspectors/controls/FieldMarksSlider.h"

namespace plenoria {

namespace {

QAccessibleInterface* sliderFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(FieldMarksSlider::staticMetaObject.className()))
        return new FieldMarksSliderAccessible(static_cast<FieldMarksSlider*>(object));
    return nullptr;
}

} // namespace

FieldMarksSliderAccessible::FieldMarksSliderAccessible(FieldMarksSlider* slider)
    : QAccessibleWidget(slider, QAccessible::Slider)
{ }

void FieldMarksSliderAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(sliderFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

FieldMarksSlider* FieldMarksSliderAccessible::slider() const
{
    return static_cast<FieldMarksSlider*>(widget());
}

QString FieldMarksSliderAccessible::text(QAccessible::Text text) const
{
    switch (text) {
    case QAccessible::Name:
        return slider()->label();
    case QAccessible::Value:
        return slider()->valueText();
    default:
        return QAccessibleWidget::text(text);
    }
}

QStringList FieldMarksSliderAccessible::actionNames() const
{
    return {increaseAction(), decreaseAction(), setFocusAction()};
}

void FieldMarksSliderAccessible::doAction(const QString& actionName)
{
    if (actionName == increaseAction())
        slider()->step(+1);
    else if (actionName == decreaseAction())
        slider()->step(-1);
    else
        QAccessibleWidget::doAction(actionName);
}

} // namespace plenoria
