#include "bench/sheets/ExportPanelModel.h"

#include <cmath>

namespace plenoria {

ExportPanelModel::ExportPanelModel(std::optional<Filmstrip> strip, QString filename, QString baseName,
    ExportSizeEstimate::Job job, QObject* parent)
    : QObject(parent)
    , m_strip(std::move(strip))
    , m_filename(std::move(filename))
    , m_baseName(std::move(baseName))
    , m_estimate(new ExportSizeEstimate(m_strip, std::move(job), this))
{
    connect(m_estimate, &ExportSizeEstimate::changed, this, &ExportPanelModel::changed);
}

void ExportPanelModel::appear()
{
    m_editedName = m_baseName;
    m_appeared = true;
    m_measuredInputs.reset();
    measureIfInputsChanged();
    emit changed();
}

void ExportPanelModel::setEditedName(const QString& name)
{
    if (name == m_editedName)
        return;
    m_editedName = name;
    emit changed();
}

void ExportPanelModel::setFormat(ExportFormat format)
{
    if (format == m_format)
        return;
    m_format = format;
    emit changed();
}

void ExportPanelModel::setQuality(double quality)
{
    Inputs inputs = m_inputs;
    inputs.quality = std::clamp(std::round(quality), 1.0, 100.0);
    setInputs(inputs);
}

void ExportPanelModel::setGifColors(qint64 colors)
{
    Inputs inputs = m_inputs;
    inputs.gifColors = std::clamp<qint64>(colors, 1, 256);
    setInputs(inputs);
}

void ExportPanelModel::setGifDither(bool dither)
{
    Inputs inputs = m_inputs;
    inputs.gifDither = dither;
    setInputs(inputs);
}

void ExportPanelModel::setInputs(const Inputs& inputs)
{
    if (inputs == m_inputs)
        return;
    m_inputs = inputs;
    measureIfInputsChanged();
    emit changed();
}

void ExportPanelModel::measureIfInputsChanged()
{
    // Nothing is measured before the panel is on screen.
    if (!m_appeared || m_measuredInputs == m_inputs)
        return;
    m_measuredInputs = m_inputs;
    m_estimate->start(m_inputs.quality, palette());
}

QString ExportPanelModel::title() const
{
    return QStringLiteral("Export ") + m_filename;
}

QString ExportPanelModel::trimmedName() const
{
    return m_editedName.trimmed();
}

std::optional<QString> ExportPanelModel::nameProblem() const
{
    const QString name = trimmedName();
    if (name.isEmpty())
        return QStringLiteral("A file needs a name.");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char(':')))
        return QStringLiteral("A name can\u2019t contain \u201C/\u201D or \u201C:\u201D.");
    return std::nullopt;
}

GIFPalette ExportPanelModel::palette() const
{
    if (m_inputs.gifColors > 255)
        return GIFPalette::system();
    return GIFPalette::limited(m_inputs.gifColors, m_inputs.gifDither);
}

bool ExportPanelModel::animatedStrip() const
{
    return m_strip && m_strip->frames.size() > 1;
}

QString ExportPanelModel::extensionLabel() const
{
    return QLatin1Char('.') + m_format.rawValue();
}

QString ExportPanelModel::exportLabel() const
{
    return QStringLiteral("Export ") + trimmedName() + extensionLabel();
}

bool ExportPanelModel::canExport() const
{
    return m_strip && !nameProblem();
}

QString ExportPanelModel::qualityText() const
{
    return QString::number(qint64(m_inputs.quality));
}

QString ExportPanelModel::formatName(ExportFormat format)
{
    switch (format) {
    case ExportFormat::webp:
        return QStringLiteral("WebP");
    case ExportFormat::gif:
        return QStringLiteral("GIF");
    case ExportFormat::png:
        break;
    }
    return QStringLiteral("PNG");
}

QString ExportPanelModel::formatDescription(ExportFormat format) const
{
    switch (format) {
    case ExportFormat::webp:
        return QStringLiteral("Usually the best balance of quality and size.");
    case ExportFormat::gif:
        return QStringLiteral("Universal support, but poorer quality for size.");
    case ExportFormat::png:
        break;
    }
    return animatedStrip() ? QStringLiteral("Lossless, but only exports the first frame.")
                           : QStringLiteral("Universal support, lossless, reasonable size.");
}

QString ExportPanelModel::sizeText(qint64 bytes)
{
    const qint64 kilobytes = bytes < 1024 ? 1 : bytes / 1024;
    return QStringLiteral("\u2248 ") + QString::number(kilobytes) + QStringLiteral(" KB");
}

QString ExportPanelModel::sizeLabel(ExportFormat format) const
{
    const auto found = sizes().find(format);
    if (found != sizes().end())
        return sizeText(found->second);
    return measuring() ? QStringLiteral("\u2026") : QStringLiteral("\u2014");
}

QString ExportPanelModel::colorsLabel(qint64 colors)
{
    return colors >= 256 ? QStringLiteral("Full") : QString::number(colors);
}

void ExportPanelModel::exportNow()
{
    if (!canExport())
        return;
    emit exportRequested(trimmedName(), m_format, m_inputs.quality, palette());
}

void ExportPanelModel::cancel()
{
    emit cancelRequested();
}

} // namespace plenoria
