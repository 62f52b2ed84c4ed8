#include "bench/sheets/ExportPanel.h"
#include "BenchTestSupport.h"
#include "SyntheticImages.h"
#include "bench/sheets/BenchSheets.h"
#include "bench/sheets/FormatCard.h"
#include "imaging/render/Renderer.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <mutex>

using namespace plenoria;
using namespace plenoria::test;

namespace {

Filmstrip stripOf(int frames)
{
    Filmstrip strip;
    for (int i = 0; i < frames; ++i) {
        strip.frames.push_back(solidImage(4, 4, QColor(10 * i, 80, 160)));
        strip.delays.push_back(100);
    }
    return strip;
}

// Sizes known at once, so the labels can be read without encoding anything.
ExportSizes fixedSizes(const Filmstrip&, double, const GIFPalette&, const std::atomic_bool&)
{
    return {{ExportFormat::webp, 2048}, {ExportFormat::gif, 1023}};
}

struct Export {
    QString name;
    ExportFormat format;
    double quality;
    GIFPalette palette;
};

// A shown panel for smile.gif over a strip of `frames` frames, and what it exported.
struct PanelRig {
    explicit PanelRig(int frames = 1)
        : panel(new ExportPanelModel(stripOf(frames), "smile.gif", "smile", fixedSizes))
    {
        QObject::connect(&panel.model(), &ExportPanelModel::exportRequested,
            [this](const QString& name, ExportFormat format, double quality, const GIFPalette& palette) {
                exports.push_back({name, format, quality, palette});
            });
        panel.show();
        QTRY_VERIFY(!panel.model().measuring());
    }

    void type(const QString& name)
    {
        panel.nameField()->selectAll();
        QTest::keyClick(panel.nameField(), Qt::Key_Backspace);
        QTest::keyClicks(panel.nameField(), name);
    }

    ExportPanel panel;
    std::vector<Export> exports;
};

} // namespace

TEST(ExportPanel, OpensForTheFileWithItsBaseNameOnTheWebPCard)
{
    PanelRig rig;
    ExportPanel& panel = rig.panel;
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Export smile.gif"));
    EXPECT_EQ(panel.nameField()->text(), QStringLiteral("smile"));
    EXPECT_EQ(panel.extensionLabel()->text(), QStringLiteral(".webp"));
    EXPECT_TRUE(panel.card(ExportFormat::webp)->isChecked());
    EXPECT_TRUE(panel.qualityGroup()->isVisible());
    EXPECT_FALSE(panel.colorsGroup()->isVisible());
    EXPECT_EQ(panel.qualityValue()->text(), QStringLiteral("82"));
    EXPECT_EQ(panel.exportButton()->text(), QStringLiteral("Export smile.webp"));
    EXPECT_EQ(panel.width(), ExportPanel::sheetWidth);
    EXPECT_EQ(panel.card(ExportFormat::webp)->sizeLabel(), QStringLiteral("\u2248 2 KB"));
    EXPECT_EQ(panel.card(ExportFormat::gif)->sizeLabel(), QStringLiteral("\u2248 1 KB"));
    EXPECT_EQ(panel.card(ExportFormat::png)->sizeLabel(), QStringLiteral("\u2014"))
        << "no size once measured";

    // One frame: PNG loses nothing. Several: it says that only the first is exported.
    EXPECT_EQ(panel.card(ExportFormat::png)->description(),
        QStringLiteral("Universal support, lossless, reasonable size."));
    EXPECT_FALSE(panel.card(ExportFormat::png)->isChipVisible());
    PanelRig animated(2);
    EXPECT_EQ(animated.panel.card(ExportFormat::png)->description(),
        QStringLiteral("Lossless, but only exports the first frame."));
    EXPECT_TRUE(animated.panel.card(ExportFormat::png)->isChipVisible());
    EXPECT_FALSE(animated.panel.card(ExportFormat::gif)->isChipVisible());
}

TEST(ExportPanel, TheNameIsTrimmedAndMayHoldAnythingButASlashOrAColon)
{
    PanelRig rig;
    ExportPanel& panel = rig.panel;
    const QString needsName = QStringLiteral("A file needs a name.");
    const QString badCharacter = QStringLiteral("A name can\u2019t contain \u201C/\u201D or \u201C:\u201D.");
    const struct {
        QString typed;
        std::optional<QString> problem;
        QString label;
    } cases[] = {
        {"", needsName, "Export .webp"},
        {"   ", needsName, "Export .webp"},
        {"a/b", badCharacter, "Export a/b.webp"},
        {"a:b", badCharacter, "Export a:b.webp"},
        {"a.b\\c d", std::nullopt, "Export a.b\\c d.webp"},
        {"  party  ", std::nullopt, "Export party.webp"},
    };
    for (const auto& c : cases) {
        rig.type(c.typed);
        EXPECT_EQ(panel.model().nameProblem(), c.problem) << c.typed.toStdString();
        EXPECT_EQ(panel.nameProblemLabel()->isVisible(), c.problem.has_value());
        EXPECT_EQ(panel.exportButton()->text(), c.label);
        EXPECT_EQ(panel.exportButton()->isEnabled(), !c.problem);
    }
    // Return in the field is no shortcut for anything.
    QTest::keyClick(panel.nameField(), Qt::Key_Return);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(rig.exports.empty());
    panel.exportButton()->click();
    ASSERT_EQ(rig.exports.size(), 1u);
    EXPECT_EQ(rig.exports.front().name, QStringLiteral("party"));

    // A long name is shortened on the button; the sheet keeps its width.
    rig.type(QString(120, QLatin1Char('w')));
    EXPECT_TRUE(panel.exportButton()->text().contains(QChar(0x2026)));
    EXPECT_EQ(panel.exportButton()->accessibleName(), panel.model().exportLabel());
    EXPECT_EQ(panel.width(), ExportPanel::sheetWidth);
    EXPECT_LE(panel.exportButton()->geometry().right(), panel.width());
}

TEST(ExportPanel, TheGifColoursChooseThePaletteAndThePngCardKeepsTheQuality)
{
    PanelRig rig;
    ExportPanel& panel = rig.panel;
    QTest::mouseClick(
        panel.qualitySlider(), Qt::LeftButton, {}, QPoint(2, panel.qualitySlider()->height() / 2));
    const double quality = panel.model().quality();
    EXPECT_LT(quality, 82);

    // The whole card is the button, its padding included.
    QTest::mouseClick(panel.card(ExportFormat::gif), Qt::LeftButton, {}, QPoint(panel.width() / 2, 4));
    EXPECT_FALSE(panel.qualityGroup()->isVisible());
    EXPECT_TRUE(panel.colorsGroup()->isVisible());
    EXPECT_TRUE(panel.colorsButton(256)->isChecked());
    EXPECT_EQ(panel.colorsButton(256)->text(), QStringLiteral("Full"));
    EXPECT_EQ(panel.colorsButton(16)->text(), QStringLiteral("16"));
    EXPECT_TRUE(panel.colorsHint()->isVisible());
    EXPECT_EQ(panel.colorsHint()->text(),
        QStringLiteral("Allows up to 256 colors. Fewer reduces size and quality."));
    EXPECT_FALSE(panel.ditherBox()->isVisible());
    EXPECT_EQ(panel.extensionLabel()->text(), QStringLiteral(".gif"));

    panel.colorsButton(64)->click();
    EXPECT_TRUE(panel.ditherBox()->isVisible());
    EXPECT_FALSE(panel.ditherBox()->isChecked());
    EXPECT_FALSE(panel.colorsHint()->isVisible());
    panel.ditherBox()->click();
    panel.colorsButton(256)->click();
    EXPECT_FALSE(panel.ditherBox()->isVisible());
    panel.exportButton()->click();
    panel.colorsButton(16)->click();
    EXPECT_TRUE(panel.ditherBox()->isChecked()) << "the dither choice is kept while the colours are Full";
    panel.exportButton()->click();

    QTest::mouseClick(panel.card(ExportFormat::png), Qt::LeftButton, {}, QPoint(panel.width() - 60, 20));
    EXPECT_FALSE(panel.qualityGroup()->isVisible());
    EXPECT_FALSE(panel.colorsGroup()->isVisible());
    panel.exportButton()->click();

    ASSERT_EQ(rig.exports.size(), 3u);
    EXPECT_EQ(rig.exports[0].palette, GIFPalette::system());
    EXPECT_EQ(rig.exports[1].palette, GIFPalette::limited(16, true));
    EXPECT_EQ(rig.exports[2].format, ExportFormat::png);
    EXPECT_EQ(rig.exports[2].quality, quality);
}

TEST(ExportPanel, SizesReadInWholeKilobytesWithoutALargerUnit)
{
    EXPECT_EQ(ExportPanelModel::sizeText(0), QStringLiteral("\u2248 1 KB"));
    EXPECT_EQ(ExportPanelModel::sizeText(1023), QStringLiteral("\u2248 1 KB"));
    EXPECT_EQ(ExportPanelModel::sizeText(2047), QStringLiteral("\u2248 1 KB"));
    EXPECT_EQ(ExportPanelModel::sizeText(2048), QStringLiteral("\u2248 2 KB"));
    EXPECT_EQ(ExportPanelModel::sizeText(1048576), QStringLiteral("\u2248 1024 KB"));

    // Without a strip nothing is measured: every card reads "—" at once and Export stays off.
    ExportPanel panel(new ExportPanelModel(std::nullopt, "x.png", "x", fixedSizes));
    EXPECT_EQ(panel.card(ExportFormat::webp)->sizeLabel(), QStringLiteral("\u2026"));
    panel.show();
    EXPECT_EQ(panel.model().estimate().runsStarted(), 0);
    for (const ExportFormat::Value format : ExportFormat::allCases())
        EXPECT_EQ(panel.card(format)->sizeLabel(), QStringLiteral("\u2014"));
    EXPECT_FALSE(panel.exportButton()->isEnabled());
}

TEST(ExportPanel, ExportClosesTheSheetBeforeTheBenchHandsTheSessionOut)
{
    QWidget host;
    host.show();
    auto model = benchOver(gradientPng(16, 16), QStringLiteral("smile.png"));
    BenchSheets sheets(*model, &host);
    sheets.setSizeJob(fixedSizes);
    model->appendEntry(brighter());
    model->openExport();
    QPointer<ExportPanel> panel = sheets.exportPanel();
    ASSERT_TRUE(panel && panel->isVisible());

    int exports = 0;
    QObject::connect(model.get(), &BenchModel::exportRequested,
        [&](const RestorationSession& session, const QString& name, ExportFormat format, double quality,
            const GIFPalette& palette) {
            ++exports;
            EXPECT_FALSE(panel && panel->isVisible());
            EXPECT_FALSE(model->showingExport());
            EXPECT_EQ(session, model->session());
            EXPECT_EQ(name, QStringLiteral("smile"));
            EXPECT_EQ(format, ExportFormat::webp);
            EXPECT_EQ(quality, 82);
            EXPECT_EQ(palette, GIFPalette::system());
        });
    panel->exportButton()->click();
    EXPECT_EQ(exports, 1);
    EXPECT_FALSE(sheets.exportPanel());

    // Cancelling closes it and leaves the session alone; a new opening starts afresh.
    const RestorationSession session = model->session();
    model->openExport();
    sheets.exportPanel()->nameField()->setText(QStringLiteral("other"));
    sheets.exportPanel()->cancelButton()->click();
    EXPECT_FALSE(model->showingExport());
    EXPECT_EQ(model->session(), session);
    model->openExport();
    EXPECT_EQ(sheets.exportPanel()->nameField()->text(), QStringLiteral("smile"));
    EXPECT_EQ(exports, 1);
}

TEST(ExportPanel, ItsFramesAndItsSizeEstimateAreOfTheEditedImageNotTheSource)
{
    QWidget host;
    host.show();
    const QByteArray gif = colourFramesGif(3);
    auto model = benchOver(gif, QStringLiteral("blink.gif"));
    FramesSpec thinned = framesShowing({0, 1, 2});
    thinned.edits[1].isSkipped = true;
    model->setRecord(
        {TreatmentEntry(CropSpec{1, 2, 6, 3}), TreatmentEntry(brighter()), TreatmentEntry(thinned)});
    model->selectOriginal(); // the canvas shows the source; what is exported does not
    const Filmstrip edited = *Renderer::renderFilmstrip(gif, model->record());
    ASSERT_EQ(edited.frames.size(), 2u);
    ASSERT_EQ(edited.frames[0].size(), QSize(6, 3));

    std::mutex lock;
    std::vector<Filmstrip> measured;
    BenchSheets sheets(*model, &host);
    sheets.setSizeJob([&](const Filmstrip& strip, double, const GIFPalette&, const std::atomic_bool&) {
        const std::lock_guard guard(lock);
        measured.push_back(strip);
        return ExportSizes{{ExportFormat::png, 1}};
    });
    model->openExport();
    ExportPanel* panel = sheets.exportPanel();
    ASSERT_TRUE(panel && panel->model().strip());
    QTRY_VERIFY(!panel->model().measuring());
    const std::lock_guard guard(lock);
    ASSERT_EQ(measured.size(), 1u);
    for (const Filmstrip& strip : {*panel->model().strip(), measured.front()}) {
        EXPECT_TRUE(strip.frames == edited.frames);
        EXPECT_EQ(strip.delays, (std::vector<qint64>{200, 100}));
    }
}
