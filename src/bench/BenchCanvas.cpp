#include "BenchCanvas.h"

#include "CanvasGeometry.h"
#include "Checkerboard.h"
#include "HexColor.h"
#include "Preferences.h"
#include "Theme.h"

#include <QPainter>

namespace plenoria {

BenchCanvas::BenchCanvas(BenchModel& model, const Preferences& prefs, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_prefs(prefs)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // Only the canvas column gives way when the window narrows.
    setMinimumSize(1, 1);
    connect(&model, &BenchModel::changed, this, &BenchCanvas::modelChanged);
    // The grounds read the preferences afresh on every paint, so a new colour shows at once.
    connect(&prefs, &Preferences::previewDarkHexChanged, this, qOverload<>(&QWidget::update));
    connect(&prefs, &Preferences::previewLightHexChanged, this, qOverload<>(&QWidget::update));
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
}

void BenchCanvas::modelChanged(BenchModel::Changes changes)
{
    if (changes & (BenchModel::Change::rendered | BenchModel::Change::ground))
        update();
}

QRectF BenchCanvas::imageRect() const
{
    const std::optional<QImage>& image = m_model.rendered();
    if (!image)
        return {};
    return fitRect(QSizeF(image->size()), QSizeF(size()), canvasMargin);
}

QString BenchCanvas::failureText() const
{
    return QStringLiteral("Couldn\u2019t render ") + m_model.fileName() + QStringLiteral(".");
}

void BenchCanvas::paintGround(QPainter& painter)
{
    switch (m_model.ground()) {
    case CanvasGround::dark:
        painter.fillRect(rect(), parseHexColor(m_prefs.previewDarkHex()));
        break;
    case CanvasGround::light:
        painter.fillRect(rect(), parseHexColor(m_prefs.previewLightHex()));
        break;
    case CanvasGround::checker:
        Checkerboard::paint(painter, rect());
        break;
    }
}

void BenchCanvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A clear ground lets the bench's own background show through.
    painter.fillRect(rect(), Theme::background());
    paintGround(painter);
    const std::optional<QImage>& image = m_model.rendered();
    if (!image) {
        painter.setFont(Theme::serifFont(14));
        painter.setPen(Theme::rust());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, failureText());
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(imageRect(), *image);
}

} // namespace plenoria
