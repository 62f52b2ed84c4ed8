#pragma once

#include "bench/sheets/ExportSizeEstimate.h"
#include "imaging/model/GIFPalette.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/write/ExportFormat.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

namespace plenoria {

// The export panel without widgets: the new file's name, the chosen format with its settings, and
// the live size estimate of every format. It writes nothing: `exportNow` hands the choices out
// through `exportRequested`. Main thread only.
class ExportPanelModel : public QObject {
    Q_OBJECT
public:
    // The settings the size estimate depends on; a new run starts whenever they differ from the
    // last run's. The format and the name are not part of it.
    struct Inputs {
        double quality = 82;
        qint64 gifColors = 256;
        bool gifDither = false;
        bool operator==(const Inputs&) const = default;
    };

    // The GIF colour limits offered, in order; 256 stands for the full palette.
    static constexpr std::array<qint64, 3> gifColorChoices = {256, 64, 16};

    // `strip` is what an export writes (none when the record could not be rendered); `filename` the
    // source's name with its extension, `baseName` without. An empty `job` estimates for real.
    ExportPanelModel(std::optional<Filmstrip> strip, QString filename, QString baseName,
        ExportSizeEstimate::Job job = {}, QObject* parent = nullptr);

    // The panel came on screen: the name field gets the base name and the first estimate starts.
    void appear();

    // --- State ---
    const std::optional<Filmstrip>& strip() const { return m_strip; }
    QString filename() const { return m_filename; }
    QString editedName() const { return m_editedName; }
    ExportFormat format() const { return m_format; }
    double quality() const { return m_inputs.quality; }
    qint64 gifColors() const { return m_inputs.gifColors; }
    bool gifDither() const { return m_inputs.gifDither; }
    Inputs inputs() const { return m_inputs; }
    const ExportSizes& sizes() const { return m_estimate->sizes(); }
    bool measuring() const { return m_estimate->measuring(); }
    const ExportSizeEstimate& estimate() const { return *m_estimate; }

    void setEditedName(const QString& name);
    void setFormat(ExportFormat format);
    // Held to whole steps of 1 … 100.
    void setQuality(double quality);
    void setGifColors(qint64 colors);
    void setGifDither(bool dither);

    // --- What the panel shows ---
    // "Export smile.gif".
    QString title() const;
    // The name without whitespace at either end.
    QString trimmedName() const;
    // Why the name cannot be used, or none.
    std::optional<QString> nameProblem() const;
    // `system` for the full palette, else limited to the colours, with the dither choice.
    GIFPalette palette() const;
    // The strip has two or more frames (PNG keeps only the first).
    bool animatedStrip() const;
    // ".webp".
    QString extensionLabel() const;
    // "Export smile.webp".
    QString exportLabel() const;
    bool canExport() const;
    // The whole number shown beside the quality slider.
    QString qualityText() const;
    static QString formatName(ExportFormat format);
    QString formatDescription(ExportFormat format) const;
    // "≈ 12 KB", else "…" while measuring and "—" after.
    QString sizeLabel(ExportFormat format) const;
    static QString sizeText(qint64 bytes);
    // The label of a GIF colour choice: "Full" for 256 and more, else the number.
    static QString colorsLabel(qint64 colors);

    // --- Actions ---
    // Reports the trimmed name, the format, the quality and the palette; nothing while Export is
    // unavailable.
    void exportNow();
    void cancel();
    // The panel went away: whatever estimate still runs stores nothing.
    void stopEstimating() { m_estimate->stop(); }

signals:
    void changed();
    void exportRequested(const QString& name, plenoria::ExportFormat format, double quality,
        const plenoria::GIFPalette& palette);
    void cancelRequested();

private:
    void setInputs(const Inputs& inputs);
    void measureIfInputsChanged();

    std::optional<Filmstrip> m_strip;
    QString m_filename;
    QString m_baseName;
    QString m_editedName;
    ExportFormat m_format = ExportFormat::webp;
    Inputs m_inputs;
    bool m_appeared = false;
    std::optional<Inputs> m_measuredInputs;
    ExportSizeEstimate* m_estimate;
};

} // namespace plenoria
