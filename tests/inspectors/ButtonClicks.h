#pragma once

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

namespace plenoria::test {

// Clicks, with the mouse at its centre, the one button under `root` that shows `title` or is named
// so for accessibility, as a user finds it; fails the test when there is not exactly one.
inline void clickButton(QWidget* root, const QString& title)
{
    QList<QAbstractButton*> found;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->text() == title || button->accessibleName() == title)
            found.append(button);
    }
    ASSERT_EQ(found.size(), 1) << title.toStdString();
    QTest::mouseClick(found.first(), Qt::LeftButton, {}, found.first()->rect().center());
}

} // namespace plenoria::test
