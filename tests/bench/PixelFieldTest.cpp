#include "bench/inspect/PixelField.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// A field on screen, bound to a plain integer, with a second field to take the focus away.
struct FieldRig {
    explicit FieldRig(qint64 start = 0, bool allowsNegative = false)
        : stored(start)
    {
        field = new PixelField(QStringLiteral("W"),
            Binding<qint64>([this] { return stored; },
                [this](const qint64& value) {
                    stored = value;
                    ++writes;
                }),
            allowsNegative, &window);
        other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        focusField();
    }

    QLineEdit* edit() const { return field->lineEdit(); }
    QString text() const { return edit()->text(); }
    void focusField() const
    {
        edit()->setFocus(Qt::MouseFocusReason);
        EXPECT_TRUE(edit()->hasFocus());
    }
    void focusElsewhere() const { other->setFocus(Qt::MouseFocusReason); }
    void type(const QString& characters) const { QTest::keyClicks(edit(), characters); }
    void clear() const
    {
        edit()->selectAll();
        QTest::keyClick(edit(), Qt::Key_Backspace);
    }

    qint64 stored;
    int writes = 0;
    QWidget window;
    PixelField* field;
    QLineEdit* other;
};

} // namespace

TEST(PixelField, TypingKeepsFourAsciiDigitsAndStoresEachChange)
{
    FieldRig rig;
    rig.clear();
    rig.type(QStringLiteral("12a3-4"));
    EXPECT_EQ(rig.text(), QStringLiteral("1234"));
    EXPECT_EQ(rig.stored, 1234);
    rig.type(QStringLiteral("5"));
    EXPECT_EQ(rig.text(), QStringLiteral("1234"));
    EXPECT_EQ(rig.stored, 1234);

    // Emptied while typing: 0 stored, the field left empty until editing ends.
    rig.clear();
    EXPECT_EQ(rig.text(), QString());
    EXPECT_EQ(rig.stored, 0);
    rig.focusElsewhere();
    EXPECT_EQ(rig.text(), QStringLiteral("0"));

    // Leading zeros stay while typing, and an outside change to the same number does not rewrite them.
    rig.focusField();
    rig.clear();
    rig.type(QStringLiteral("007"));
    EXPECT_EQ(rig.stored, 7);
    rig.field->refresh();
    EXPECT_EQ(rig.text(), QStringLiteral("007"));
    QTest::keyClick(rig.edit(), Qt::Key_Return);
    EXPECT_EQ(rig.text(), QStringLiteral("7"));
}

TEST(PixelField, AMinusSignIsKeptOnlyWhereNegativesAreAllowed)
{
    FieldRig positive;
    positive.clear();
    positive.type(QStringLiteral("-5"));
    EXPECT_EQ(positive.text(), QStringLiteral("5"));
    EXPECT_EQ(positive.stored, 5);

    FieldRig negative(0, true);
    negative.clear();
    negative.type(QStringLiteral("-"));
    EXPECT_EQ(negative.text(), QStringLiteral("-"));
    EXPECT_EQ(negative.stored, 0);
    negative.type(QStringLiteral("5-"));
    EXPECT_EQ(negative.text(), QStringLiteral("-5"));
    EXPECT_EQ(negative.stored, -5);
    negative.clear();
    negative.type(QStringLiteral("-"));
    negative.focusElsewhere();
    EXPECT_EQ(negative.text(), QStringLiteral("0"));
}

TEST(PixelField, ValuesSetFromOutsideShowUnlessTheUserIsTyping)
{
    FieldRig rig(64);
    rig.clear();
    rig.type(QStringLiteral("3"));
    rig.stored = 40; // a clamp by the caller while the user types
    rig.field->refresh();
    EXPECT_EQ(rig.text(), QStringLiteral("3"));
    rig.focusElsewhere();
    EXPECT_EQ(rig.text(), QStringLiteral("40"));

    rig.stored = 90;
    rig.field->refresh();
    EXPECT_EQ(rig.text(), QStringLiteral("90"));
}

TEST(PixelField, AValueAboveFourDigitsSetByTheProgramSurvivesFocusGoingInAndOut)
{
    FieldRig rig(128);
    rig.focusElsewhere();
    rig.stored = 12000; // a crop dragged out on a large image
    rig.field->refresh();
    EXPECT_EQ(rig.text(), QStringLiteral("12000"));
    const int writes = rig.writes;
    rig.focusField();
    rig.focusElsewhere();
    EXPECT_EQ(rig.text(), QStringLiteral("12000"));
    EXPECT_EQ(rig.stored, 12000);
    EXPECT_EQ(rig.writes, writes);

    // Typing still keeps four digits.
    rig.focusField();
    rig.edit()->end(false);
    rig.type(QStringLiteral("5"));
    EXPECT_EQ(rig.text(), QStringLiteral("1200"));
    EXPECT_EQ(rig.stored, 1200);
}
