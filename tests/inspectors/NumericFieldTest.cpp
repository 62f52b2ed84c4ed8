#include "inspectors/controls/NumericField.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;

namespace {

// A field on screen bound to a plain integer, with a second field to take the focus away, under a
// fixed locale (the process default is put back afterwards).
struct FieldRig {
    explicit FieldRig(qint64 start, QLocale::Language language = QLocale::English,
        QLocale::Territory territory = QLocale::UnitedStates)
        : stored(start)
    {
        QLocale::setDefault(QLocale(language, territory));
        field = new NumericField(Binding<qint64>([this] { return stored; },
                                     [this](const qint64& value) {
                                         stored = value;
                                         ++writes;
                                     }),
            80, &window);
        other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~FieldRig() { QLocale::setDefault(previous); }

    void retype(const QString& characters) const
    {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, characters);
    }

    QLocale previous = QLocale();
    qint64 stored;
    int writes = 0;
    QWidget window;
    NumericField* field;
    QLineEdit* other;
};

} // namespace

TEST(NumericField, ShowsAndReadsTheLocalesGroupedIntegers)
{
    FieldRig rig(1234567);
    EXPECT_EQ(rig.field->text(), QStringLiteral("1,234,567"));
    EXPECT_EQ(rig.field->width(), 80);

    rig.retype(QStringLiteral("1,000"));
    EXPECT_EQ(rig.writes, 0); // nothing is written while typing
    QTest::keyClick(rig.field, Qt::Key_Return);
    EXPECT_EQ(rig.stored, 1000);
    EXPECT_EQ(rig.field->text(), QStringLiteral("1,000"));

    // The owner may store something else than was typed; the field shows what was stored.
    rig.field->setBinding(Binding<qint64>([&rig] { return rig.stored; },
        [&rig](const qint64& value) { rig.stored = std::min<qint64>(value, 50); }));
    rig.retype(QStringLiteral("9223372036854775807"));
    QTest::keyClick(rig.field, Qt::Key_Return);
    EXPECT_EQ(rig.stored, 50);
    EXPECT_EQ(rig.field->text(), QStringLiteral("50"));
}

TEST(NumericField, UnreadableTextLeavesTheValueAndShowsItAgain)
{
    FieldRig rig(80);
    for (const QString& typed :
        {QStringLiteral("abc"), QString(), QStringLiteral("12x"), QStringLiteral("99999999999999999999")}) {
        rig.retype(typed);
        QTest::keyClick(rig.field, Qt::Key_Return);
        EXPECT_EQ(rig.stored, 80) << typed.toStdString();
        EXPECT_EQ(rig.field->text(), QStringLiteral("80")) << typed.toStdString();
    }
    EXPECT_EQ(rig.writes, 0);
}

TEST(NumericField, LeavingTheFieldCommitsAndOutsideChangesWaitForTheUser)
{
    FieldRig rig(10);
    rig.retype(QStringLiteral("-20"));
    rig.stored = 30; // changed elsewhere while the user types
    rig.field->refresh();
    EXPECT_EQ(rig.field->text(), QStringLiteral("-20"));
    rig.other->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(rig.stored, -20);
    EXPECT_EQ(rig.field->text(), QStringLiteral("-20"));

    rig.stored = 4000;
    rig.field->refresh();
    EXPECT_EQ(rig.field->text(), QStringLiteral("4,000"));
}

TEST(NumericField, FollowsAChangeOfLocale)
{
    FieldRig rig(1234, QLocale::German, QLocale::Germany);
    EXPECT_EQ(rig.field->text(), QStringLiteral("1.234"));
    rig.retype(QStringLiteral("2.500"));
    QTest::keyClick(rig.field, Qt::Key_Return);
    EXPECT_EQ(rig.stored, 2500);

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(rig.field, &change);
    EXPECT_EQ(rig.field->text(), QStringLiteral("2,500"));
}
