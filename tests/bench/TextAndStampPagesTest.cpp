#include "BenchTestSupport.h"
#include "bench/inspect/InspectorPage.h"
#include "bench/inspect/InspectorPane.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/FieldMarksSlider.h"
#include "inspectors/controls/InspectorSlider.h"
#include "inspectors/stamp/StampInspector.h"
#include "inspectors/stamp/StampThumbnail.h"
#include "inspectors/text/FontUsage.h"
#include "inspectors/text/TextContentEditor.h"
#include "inspectors/text/TextInspector.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

template <typename Inspector> Inspector* inspectorOf(const InspectorPane& pane)
{
    return pane.page() ? pane.page()->findChild<Inspector*>() : nullptr;
}

TextSpec textIn(const QString& family)
{
    TextSpec spec = TextSpec::defaultFor({64, 64});
    spec.fontName = family;
    return spec;
}

} // namespace

TEST(TextAndStampPagesTest, TheTextInspectorEditsTheSelectedRowAndCountsAnotherRowsFont)
{
    // The application's own settings, here in a folder of the test's.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    auto model = benchOver(gradientPng(64, 48));
    model->appendEntry(textIn(QStringLiteral("Georgia")));
    model->appendEntry(textIn(QStringLiteral("Menlo")));
    model->setSelection(row(*model, 0).id);
    InspectorPane pane(*model);
    TextInspector* inspector = inspectorOf<TextInspector>(pane);
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->title(), "Text");
    EXPECT_FALSE(QSettings().contains(FontUsage::countsKey)) << "the row's own font is no choice";

    QPlainTextEdit* editor = inspector->contentEditor()->editor();
    editor->moveCursor(QTextCursor::End);
    const qint64 rendersBefore = model->renderCount();
    QTest::keyClicks(editor, QStringLiteral("!!"));
    EXPECT_EQ(row(*model, 0).treatment.textSpec()->content, "OMG!!");
    EXPECT_EQ(model->renderCount(), rendersBefore + 2);
    EXPECT_EQ(editor->textCursor().position(), 5);
    inspector->placeTop();
    EXPECT_EQ(row(*model, 1).treatment.textSpec(), textIn(QStringLiteral("Menlo")))
        << "only the selected row";

    model->setSelection(row(*model, 1).id);
    EXPECT_EQ(inspectorOf<TextInspector>(pane), inspector) << "kept while text rows stay selected";
    EXPECT_EQ(editor->toPlainText(), "OMG");
    EXPECT_EQ(QSettings().value(FontUsage::countsKey).toMap().value("Menlo").toLongLong(), 2);
}

TEST(TextAndStampPagesTest, ReplacingTheStampImageKeepsItsPlacement)
{
    QTemporaryDir dir;
    const auto chooserOf = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        return [path = file.fileName()](const QString&) { return std::optional<QString>(path); };
    };
    auto model = benchOver(gradientPng(128, 64));
    model->setStampChooser(chooserOf(QStringLiteral("dot.png"), gradientPng(10, 10)));
    model->addTreatment(TreatmentKind::stamp);
    InspectorPane pane(*model);
    StampInspector* inspector = inspectorOf<StampInspector>(pane);
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->thumbnail()->image().size(), QSize(10, 10));
    inspector->fitWidth();
    inspector->rotationSlider()->slider()->step(+1);
    inspector->opacitySlider()->slider()->step(-1);
    const StampSpec placed = *row(*model, 0).treatment.stampSpec();
    EXPECT_EQ(placed.width, 128);

    model->setStampChooser(chooserOf(QStringLiteral("wide.png"), gradientPng(30, 10)));
    QTest::mouseClick(inspector->replaceButton(), Qt::LeftButton);
    const StampSpec replaced = *row(*model, 0).treatment.stampSpec();
    EXPECT_EQ(replaced.name, "wide.png");
    EXPECT_NE(replaced.imageData, placed.imageData);
    EXPECT_EQ(replaced.center, placed.center);
    EXPECT_EQ(replaced.width, placed.width);
    EXPECT_EQ(replaced.rotation, placed.rotation);
    EXPECT_EQ(replaced.opacity, placed.opacity);
    EXPECT_EQ(inspector->thumbnail()->image().size(), QSize(30, 10));
    EXPECT_EQ(inspector->nameLabel()->text(), "wide.png");

    model->setStampChooser([](const QString&) { return std::nullopt; });
    QTest::mouseClick(inspector->replaceButton(), Qt::LeftButton);
    EXPECT_EQ(*row(*model, 0).treatment.stampSpec(), replaced) << "a cancelled pick changes nothing";
}
