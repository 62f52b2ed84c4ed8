#include "bench/inspect/CropInspector.h"

#include "bench/inspect/PixelField.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>

namespace plenoria {

namespace {

QHBoxLayout* row(int spacing, std::initializer_list<QWidget*> widgets)
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* widget : widgets)
        layout->addWidget(widget, 0, Qt::AlignVCenter);
    return layout;
}

} // namespace

CropInspector::CropInspector(BenchModel& model, QWidget* parent)
    : InspectorPage(model, parent)
    , m_width(new PixelField(QStringLiteral("W"), {}))
    , m_height(new PixelField(QStringLiteral("H"), {}))
    , m_x(new PixelField(QStringLiteral("X"), {}))
    , m_y(new PixelField(QStringLiteral("Y"), {}))
    , m_full(new BorderedButton(QStringLiteral("Full")))
    , m_square(new BorderedButton(QStringLiteral("Square")))
    , m_trim(new BorderedButton(QStringLiteral("Trim")))
    , m_caption(InspectorText::caption(QString()))
{
    auto* column = new InspectorColumn(QStringLiteral("Crop"));
    column->addWidget(InspectorText::note(QStringLiteral(
        "Drag the handles or type a smaller frame. Origin is top-left. To grow the canvas instead, add "
        "an Extend.")));
    column->addLayout(row(8, {m_width, m_height}));
    column->addLayout(row(8, {m_x, m_y}));
    QHBoxLayout* buttons = row(6, {m_full, m_square});
    buttons->addStretch(1);
    column->addLayout(buttons);
    auto* trim = new InspectorSection(QStringLiteral("Trim transparent border"));
    trim->addWidget(m_trim, Qt::AlignLeft);
    trim->addWidget(InspectorText::note(QStringLiteral(
        "Trim only crops transparent borders. The Ground treatment can create transparent borders on "
        "some images.")));
    column->addWidget(trim);
    column->addWidget(m_caption);
    setContent(column);

    connect(m_full, &QPushButton::clicked, this, [this] { this->model().setFullCrop(m_row); });
    connect(m_square, &QPushButton::clicked, this, [this] { this->model().setSquareCrop(m_row); });
    connect(m_trim, &QPushButton::clicked, this, [this] { this->model().trimTransparentBorder(m_row); });
}

QString CropInspector::captionText() const
{
    return m_caption->text();
}

QString CropInspector::inputCaption(QSizeF input)
{
    return QStringLiteral("Input %1\u00D7%2 \u00B7 applies to the whole frame.")
        .arg(qint64(input.width()))
        .arg(qint64(input.height()));
}

void CropInspector::refresh(qint64 row, BenchModel::Changes changes)
{
    if (!(changes & (BenchModel::Change::record | BenchModel::Change::selection)))
        return;
    m_row = row;
    BenchModel& bench = model();
    // A field the user is typing in keeps its text; the others show the stored numbers.
    m_width->setBinding(bench.cropFieldBinding(row, &CropSpec::width));
    m_height->setBinding(bench.cropFieldBinding(row, &CropSpec::height));
    m_x->setBinding(bench.cropFieldBinding(row, &CropSpec::x));
    m_y->setBinding(bench.cropFieldBinding(row, &CropSpec::y));
    m_caption->setText(inputCaption(bench.inputSizeAt(row)));
}

} // namespace plenoria
