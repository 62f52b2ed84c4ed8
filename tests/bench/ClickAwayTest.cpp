#include "bench/inspect/PixelField.h"
#include "bench/view/ClickAwayFilter.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// Takes no focus, counts the presses it gets and lets them travel on to its parent, as a canvas does.
class PressTarget : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->ignore();
    }
};

} // namespace

TEST(ClickAway, APressOutsideTheFocusedFieldEndsItsEditingAndStillReachesItsTarget)
{
    QWidget window;
    window.resize(300, 200);
    qint64 stored = 5;
    auto* field = new PixelField(QStringLiteral("X"),
        Binding<qint64>([&] { return stored; }, [&](const qint64& value) { stored = value; }), false,
        &window);
    field->setGeometry(0, 0, 120, 30);
    auto* target = new PressTarget(&window);
    target->setGeometry(0, 100, 300, 100);
    ClickAwayFilter filter(&window);
    filter.install();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    field->lineEdit()->setFocus(Qt::MouseFocusReason);
    field->lineEdit()->selectAll();
    QTest::keyClicks(field->lineEdit(), QStringLiteral("007"));
    ASSERT_EQ(stored, 7);

    // A press inside the field leaves it editing.
    QTest::mouseClick(field->lineEdit(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(field->lineEdit()->hasFocus());
    EXPECT_EQ(field->lineEdit()->text(), QStringLiteral("007"));
    const qint64 seen = filter.pressesSeen();

    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_FALSE(field->lineEdit()->hasFocus());
    EXPECT_EQ(field->lineEdit()->text(), QStringLiteral("7"));
    EXPECT_EQ(target->presses, 1);
    // The press travelled on to the window, yet was handled once.
    EXPECT_EQ(filter.pressesSeen(), seen + 1);

    filter.remove();
    field->lineEdit()->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(field->lineEdit()->hasFocus());
}
