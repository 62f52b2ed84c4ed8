#pragma once

#include "imaging/model/GroundSpec.h"
#include "inspectors/controls/Binding.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <optional>
#include <vector>

namespace plenoria {

// The ground inspector without widgets: one ground row's spec seen as the inspector's choices (how
// the background is keyed out, what fills the clear area), the actions that rewrite it, and the
// inspector's own view state. Every write goes through the row's binding at once; a choice that
// changes several fields writes the whole spec in one assignment. Main thread only: border guesses,
// subject detection and the transparency test run synchronously.
//
// View state. `lastSampledHex` (the colour the inspector itself last guessed for the key) lasts while
// the inspector lives, across rows of the kind. `availableInstances` (the subjects detection found in
// the shown row's input, ascending) belongs to the row shown: moving to another row detects afresh on
// that row's input when its key keeps subjects, and never writes that row's spec.
class GroundInspectorModel : public QObject {
    Q_OBJECT
public:
    enum class KeyMode { off, color, subject };

    // What switching the fill on writes, and the fill swatches in the order shown.
    static const QString fillOnHex;
    static const QStringList fillSwatches;
    // What switching to a colour key writes when there is no input or its border gives no guess.
    static const QString fallbackKeyHex;

    explicit GroundInspectorModel(QObject* parent = nullptr);

    // Shows row `row`, whose spec `spec` reads and writes, with the image entering it (none when
    // nothing was rendered for it). The first row shown detects subjects when its key keeps subjects
    // and none are known. The same row with another input keeps every subject again and detects
    // afresh (a subject choice made for the old pixels may not fit the new ones); another row only
    // detects (see the class comment).
    void setRow(const QUuid& row, Binding<GroundSpec> spec, std::optional<QImage> inputImage);
    // The bench's colour sampling on the canvas; none does nothing.
    void setOnPickColor(std::function<void()> onPickColor) { m_onPickColor = std::move(onPickColor); }

    std::optional<QUuid> row() const { return m_row; }
    GroundSpec spec() const { return m_spec.get(); }
    const std::optional<QImage>& inputImage() const { return m_inputImage; }
    const std::optional<QString>& lastSampledHex() const { return m_lastSampledHex; }
    const std::vector<qint64>& availableInstances() const { return m_availableInstances; }

    // --- Remove ---
    KeyMode keyMode() const;
    // Every call writes, also for the mode already chosen: colour starts a fresh key from the border
    // guess, subject keeps every subject again and detects afresh; the fill is never touched.
    void setKeyMode(KeyMode mode);
    // The colour key's hex as stored (empty for other keys).
    QString keyHex() const;
    // False while the key's hex is, character for character, the one the inspector last guessed.
    bool canResample() const;
    // Guesses the key colour from the input's border again; nothing without an input or a guess.
    void resample();
    void pickColor() const;
    // The colour key's fields; others read `everywhere` and 0 and ignore writes.
    KeyReach reach() const;
    void setReach(KeyReach reach);
    double threshold() const;
    void setThreshold(double threshold);
    double softness() const;
    void setSoftness(double softness);
    // The subjects found in the input; none when there is no input or detection finds nothing.
    void detectSubjects();
    // Whether subject `instance` is kept: absent `included` keeps every one.
    bool isInstanceIncluded(qint64 instance) const;
    // Flips one subject in or out of the kept set, starting from every found one when the set is
    // absent; the set is stored as it results, also when empty or full. Only with a subject key.
    void toggleInstance(qint64 instance);

    // --- Fill ---
    bool fillOn() const;
    void setFillOn(bool on);
    // The fill's hex as stored (empty for a transparent fill).
    QString fillHex() const;
    // The parsed fill colour; clear for a transparent fill or a hex that does not parse.
    QColor fillColor() const;
    void setFillColor(const QColor& color);
    // A swatch's text, parsed and written again in the stored form.
    void pickFillSwatch(const QString& hex);
    // Whether some pixel of the input is not fully opaque; computed once per input image.
    bool inputHasTransparency() const;

    // --- Texts ---
    static QString thresholdValueText(double value);
    static QString softnessValueText(double value);
    static QString reachCaption(KeyReach reach);
    QString fillCaption() const;
    // "3 separate subjects found — toggle which ones stay."
    static QString subjectCountCaption(qint64 count);

signals:
    // After every write of the row and every change of the view state.
    void changed();

private:
    void write(const GroundSpec& spec);
    void setAvailableInstances(std::vector<qint64> instances);
    const ColorKey* colorKey(const GroundSpec& spec) const;
    // Rewrites the colour key's fields with `edit`; nothing with another key.
    template <typename Edit> void editColorKey(Edit edit);

    std::optional<QUuid> m_row;
    Binding<GroundSpec> m_spec;
    std::optional<QImage> m_inputImage;
    std::function<void()> m_onPickColor;
    std::optional<QString> m_lastSampledHex;
    std::vector<qint64> m_availableInstances;
    // The input's cache key and whether it has transparency.
    mutable std::optional<std::pair<qint64, bool>> m_transparency;
};

} // namespace plenoria
