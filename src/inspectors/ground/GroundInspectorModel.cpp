#include "inspectors/ground/GroundInspectorModel.h"

#include "imaging/model/HexColor.h"
#include "imaging/render/Renderer.h"

#include <cmath>

namespace plenoria {

namespace {

// Value labels truncate, so a value that keyboard steps reached with binary error (0.21999…) must
// not read one below what the user counted; the nudge is far below any step.
constexpr double truncationNudge = 1e-9;

qint64 truncated(double value)
{
    return qint64(std::trunc(value + truncationNudge));
}

ColorKey freshColorKey(const QString& hex)
{
    return ColorKey{hex, KeyReach::everywhere, 0, 0};
}

} // namespace

const QString GroundInspectorModel::fillOnHex = QStringLiteral("#E6E2D2");
const QStringList GroundInspectorModel::fillSwatches = {QStringLiteral("#E6E2D2"), QStringLiteral("#211E19"),
    QStringLiteral("#FFFFFF"), QStringLiteral("#000000"), QStringLiteral("#47593F"),
    QStringLiteral("#8C4A30"), QStringLiteral("#545C74"), QStringLiteral("#FF69B4")};
const QString GroundInspectorModel::fallbackKeyHex = QStringLiteral("#FFFFFF");

GroundInspectorModel::GroundInspectorModel(QObject* parent)
    : QObject(parent)
{ }

void GroundInspectorModel::setRow(
    const QUuid& row, Binding<GroundSpec> spec, std::optional<QImage> inputImage)
{
    const bool appearing = !m_row;
    const bool sameRow = m_row == row;
    const bool inputChanged = m_inputImage != inputImage;
    m_row = row;
    m_spec = std::move(spec);
    m_inputImage = std::move(inputImage);
    const bool keepsSubjects = keyMode() == KeyMode::subject;

    if (appearing) {
        if (keepsSubjects && m_availableInstances.empty())
            detectSubjects();
    } else if (!sameRow) {
        if (keepsSubjects)
            detectSubjects();
        else
            setAvailableInstances({});
    } else if (inputChanged && keepsSubjects) {
        // The input is stored before writing: the write re-renders, and the bench shows this row
        // again with the same input, which must then change nothing.
        GroundSpec next = m_spec.get();
        next.key = SubjectKey{};
        write(next);
        detectSubjects();
    }
}

GroundInspectorModel::KeyMode GroundInspectorModel::keyMode() const
{
    const GroundSpec current = m_spec.get();
    if (std::holds_alternative<ColorKey>(current.key))
        return KeyMode::color;
    if (std::holds_alternative<SubjectKey>(current.key))
        return KeyMode::subject;
    return KeyMode::off;
}

void GroundInspectorModel::setKeyMode(KeyMode mode)
{
    GroundSpec next = m_spec.get();
    switch (mode) {
    case KeyMode::off:
        next.key = NoKey{};
        write(next);
        return;
    case KeyMode::color: {
        std::optional<QString> guess
            = m_inputImage ? Renderer::guessBorderColor(*m_inputImage) : std::nullopt;
        const QString hex = guess.value_or(fallbackKeyHex);
        next.key = freshColorKey(hex);
        m_lastSampledHex = hex;
        write(next);
        return;
    }
    case KeyMode::subject:
        next.key = SubjectKey{};
        write(next);
        detectSubjects();
        return;
    }
}

const ColorKey* GroundInspectorModel::colorKey(const GroundSpec& spec) const
{
    return std::get_if<ColorKey>(&spec.key);
}

QString GroundInspectorModel::keyHex() const
{
    const GroundSpec current = m_spec.get();
    const ColorKey* key = colorKey(current);
    return key ? key->hex : QString();
}

bool GroundInspectorModel::canResample() const
{
    return !(m_lastSampledHex && *m_lastSampledHex == keyHex());
}

void GroundInspectorModel::resample()
{
    if (!m_inputImage)
        return;
    const std::optional<QString> guess = Renderer::guessBorderColor(*m_inputImage);
    if (!guess)
        return;
    GroundSpec next = m_spec.get();
    if (ColorKey* key = std::get_if<ColorKey>(&next.key))
        key->hex = *guess;
    else
        next.key = freshColorKey(*guess);
    m_lastSampledHex = guess;
    write(next);
}

void GroundInspectorModel::pickColor() const
{
    if (m_onPickColor)
        m_onPickColor();
}

template <typename Edit> void GroundInspectorModel::editColorKey(Edit edit)
{
    GroundSpec next = m_spec.get();
    ColorKey* key = std::get_if<ColorKey>(&next.key);
    if (!key)
        return;
    edit(*key);
    write(next);
}

KeyReach GroundInspectorModel::reach() const
{
    const GroundSpec current = m_spec.get();
    const ColorKey* key = colorKey(current);
    return key ? key->reach : KeyReach::everywhere;
}

void GroundInspectorModel::setReach(KeyReach reach)
{
    editColorKey([reach](ColorKey& key) { key.reach = reach; });
}

double GroundInspectorModel::threshold() const
{
    const GroundSpec current = m_spec.get();
    const ColorKey* key = colorKey(current);
    return key ? key->threshold : 0;
}

void GroundInspectorModel::setThreshold(double threshold)
{
    editColorKey([threshold](ColorKey& key) { key.threshold = threshold; });
}

double GroundInspectorModel::softness() const
{
    const GroundSpec current = m_spec.get();
    const ColorKey* key = colorKey(current);
    return key ? key->softness : 0;
}

void GroundInspectorModel::setSoftness(double softness)
{
    editColorKey([softness](ColorKey& key) { key.softness = softness; });
}

void GroundInspectorModel::detectSubjects()
{
    std::vector<qint64> found;
    if (m_inputImage) {
        if (const std::optional<QImage> normal = Renderer::normalized(*m_inputImage)) {
            if (const std::optional<ForegroundInstances> instances = Renderer::foregroundInstances(*normal))
                found.assign(instances->allInstances.begin(), instances->allInstances.end());
        }
    }
    setAvailableInstances(std::move(found));
}

bool GroundInspectorModel::isInstanceIncluded(qint64 instance) const
{
    const GroundSpec current = m_spec.get();
    const SubjectKey* key = std::get_if<SubjectKey>(&current.key);
    return key && (!key->included || key->included->contains(instance));
}

void GroundInspectorModel::toggleInstance(qint64 instance)
{
    GroundSpec next = m_spec.get();
    SubjectKey* key = std::get_if<SubjectKey>(&next.key);
    if (!key)
        return;
    std::set<qint64> included
        = key->included.value_or(std::set<qint64>(m_availableInstances.begin(), m_availableInstances.end()));
    if (!included.erase(instance))
        included.insert(instance);
    key->included = std::move(included);
    write(next);
}

bool GroundInspectorModel::fillOn() const
{
    return std::holds_alternative<ColorFill>(m_spec.get().fill);
}

void GroundInspectorModel::setFillOn(bool on)
{
    GroundSpec next = m_spec.get();
    next.fill = on ? GroundFill(ColorFill{fillOnHex}) : GroundFill(TransparentFill{});
    write(next);
}

QString GroundInspectorModel::fillHex() const
{
    const GroundSpec current = m_spec.get();
    const ColorFill* fill = std::get_if<ColorFill>(&current.fill);
    return fill ? fill->hex : QString();
}

QColor GroundInspectorModel::fillColor() const
{
    return fillOn() ? parseHexColor(fillHex()) : QColor(Qt::transparent);
}

void GroundInspectorModel::setFillColor(const QColor& color)
{
    GroundSpec next = m_spec.get();
    next.fill = ColorFill{hexString(color)};
    write(next);
}

void GroundInspectorModel::pickFillSwatch(const QString& hex)
{
    setFillColor(parseHexColor(hex));
}

bool GroundInspectorModel::inputHasTransparency() const
{
    if (!m_inputImage)
        return false;
    const qint64 key = m_inputImage->cacheKey();
    if (!m_transparency || m_transparency->first != key)
        m_transparency.emplace(key, Renderer::hasTransparency(*m_inputImage));
    return m_transparency->second;
}

QString GroundInspectorModel::thresholdValueText(double value)
{
    if (value < 0.002)
        return QStringLiteral("exact");
    return QString::number(truncated(value * 2 * 100));
}

QString GroundInspectorModel::softnessValueText(double value)
{
    if (value < 0.005)
        return QStringLiteral("hard cut");
    return QString::number(truncated(value * 100)) + QLatin1Char('%');
}

QString GroundInspectorModel::reachCaption(KeyReach reach)
{
    return reach == KeyReach::everywhere ? QStringLiteral("Selects every pixel within Threshold bounds")
                                         : QStringLiteral("Only selects contiguous pixels from the edge");
}

QString GroundInspectorModel::fillCaption() const
{
    return inputHasTransparency()
        ? QStringLiteral(
            "This specimen already has a clear ground. A color here fills it — no keying needed.")
        : QStringLiteral("Fills whatever is clear, including anything lifted above.");
}

QString GroundInspectorModel::subjectCountCaption(qint64 count)
{
    return QString::number(count) + QStringLiteral(" separate subjects found — toggle which ones stay.");
}

void GroundInspectorModel::write(const GroundSpec& spec)
{
    m_spec.set(spec);
    emit changed();
}

void GroundInspectorModel::setAvailableInstances(std::vector<qint64> instances)
{
    if (instances == m_availableInstances)
        return;
    m_availableInstances = std::move(instances);
    emit changed();
}

} // namespace plenoria
