#pragma once

#include "bench/model/CanvasGround.h"
#include "imaging/model/FramesSpec.h"
#include "imaging/model/GIFPalette.h"
#include "imaging/model/RestorationSession.h"
#include "imaging/model/TreatmentKind.h"
#include "imaging/read/Filmstrip.h"
#include "imaging/write/ExportFormat.h"
#include "imaging/write/ImageEncoder.h"
#include "inspectors/controls/Binding.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace plenoria {

// The restoration bench without widgets: the working copy of one session and every piece of the
// bench's state, the render loop that turns the active part of the record into the canvas image,
// and the operations the bench's views call. It writes no file; what leaves the bench goes out
// through its four request signals. Main thread only.
//
// Transactions. Every setter compares by value and does nothing for an equal value. Each public
// mutation is one transaction (`transact` groups several): when it ends and the record, the
// selection, the playhead or the sampling flag changed, the canvas is rendered once, synchronously
// (a second time when that render lowered the playhead), and then `changed` is emitted once with
// every flag the transaction raised. Appending a row therefore renders once, with the new record and
// its selection both applied.
//
// Views refresh in place. A view connects to `changed`, looks at the flags it cares about and
// updates its widgets from the getters under a QSignalBlocker; it never rebuilds a widget the user
// may be typing in (a pixel or number field keeps its identity and is told to refresh). Which views
// read which flags:
//   record      record list rows, inspector pane, timeline, header's Save button, status bar
//   selection   record list highlight, inspector pane, canvas overlays, timeline
//   playhead    timeline's playhead dot
//   rendered    canvas image, caption and overlays (also raised by every render)
//   groundInput ground inspector (its input image)
//   ground      canvas ground and ground buttons
//   sheets      save gate and export sheet presenters (`showingSaveGate`, `showingExport`)
//   the rest    `backupOriginal` (save gate), `frameSelection` (timeline, frames inspector),
//               `extendSquareLocked` (extend inspector), `sampling` (canvas colour sampling)
class BenchModel : public QObject {
    Q_OBJECT

public:
    enum class Change : unsigned {
        record = 1u << 0,
        selection = 1u << 1,
        playhead = 1u << 2,
        sampling = 1u << 3,
        rendered = 1u << 4,
        groundInput = 1u << 5,
        ground = 1u << 6,
        sheets = 1u << 7,
        backupOriginal = 1u << 8,
        frameSelection = 1u << 9,
        extendSquareLocked = 1u << 10,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    // Asks the user for an image file to stamp; gets the picker's message ("Pick an image to stamp
    // onto cat.png.") and answers the chosen file's path, or none when the user cancelled.
    using StampChooser = std::function<std::optional<QString>(const QString& message)>;
    struct PickedStamp {
        QByteArray imageData; // PNG of the picked image's first frame, at most 1024 px on its longer side
        QString name; // the picked file's name
        bool operator==(const PickedStamp&) const = default;
    };

    static constexpr qint64 stampLongestEdge = 1024;

    // Decodes the session's source once and renders the untouched original. `backupOriginal` is the
    // starting value of the save gate's backup choice (the preference at the moment the bench opens).
    BenchModel(RestorationSession session, bool backupOriginal, QObject* parent = nullptr);

    // --- State ---
    const RestorationSession& session() const { return m_session; }
    const TreatmentRecord& record() const { return m_session.record; }
    // The file's name, extension included ("cat.png").
    QString fileName() const;
    // The selected row's id; an id that names no row acts as none everywhere.
    std::optional<QUuid> selection() const { return m_selection; }
    // The canvas image; none only when the source cannot be decoded (or the frame under the
    // playhead is not a frame of the source).
    const std::optional<QImage>& rendered() const { return m_rendered; }
    // The image entering the selected ground row, kept while the rows above it stay the same.
    const std::optional<QImage>& groundInputImage() const { return m_groundInputImage; }
    const std::optional<TreatmentRecord>& groundInputRecord() const { return m_groundInputRecord; }
    CanvasGround ground() const { return m_ground; }
    bool showingSaveGate() const { return m_showingSaveGate; }
    bool backupOriginal() const { return m_backupOriginal; }
    bool showingExport() const { return m_showingExport; }
    bool samplingGroundColor() const { return m_samplingGroundColor; }
    // Every frame of the source with its delays; a still is a strip of one frame. None only when the
    // source cannot be decoded.
    const std::optional<Filmstrip>& sourceStrip() const { return m_sourceStrip; }
    // With a frames row selected, a position among that row's edits; otherwise a position in the
    // plan of the frames the canvas plays.
    qint64 playhead() const { return m_playhead; }
    const FrameSelection& frameSelection() const { return m_frameSelection; }
    bool extendSquareLocked() const { return m_extendSquareLocked; }

    void setRecord(TreatmentRecord record);
    // Replaces row `index`'s treatment, keeping its id and place; ignored for an index out of range.
    void setTreatment(qint64 index, const Treatment& treatment);
    void setSelection(const std::optional<QUuid>& selection);
    void setGround(CanvasGround ground);
    void setShowingSaveGate(bool showing);
    void setBackupOriginal(bool backup);
    void setShowingExport(bool showing);
    void setSamplingGroundColor(bool sampling);
    void setPlayhead(qint64 playhead);
    void setFrameSelection(FrameSelection selection);
    void setExtendSquareLocked(bool locked);

    // Runs `work` (any number of setters) as one transaction: one render, one `changed`.
    void transact(const std::function<void()>& work);

    // --- The render loop and what the views ask of it ---

    // Position of the selected row; none when nothing is selected or the id names no row.
    std::optional<qint64> selectedIndex() const;
    // The selected row's position when it is a row of `kind`, else none.
    std::optional<qint64> selectedIndex(TreatmentKind kind) const;
    std::optional<qint64> selectedCropIndex() const { return selectedIndex(TreatmentKind::crop); }
    std::optional<qint64> selectedExtendIndex() const { return selectedIndex(TreatmentKind::extend); }
    std::optional<qint64> selectedFramesIndex() const { return selectedIndex(TreatmentKind::frames); }

    // The part of the record the canvas shows: none of it for the original, the rows before a
    // selected crop or extend row (or a ground row whose colour is being sampled), else the rows up
    // to and including the selected one.
    TreatmentRecord activeRecord() const;
    // Which rows the canvas shows, in words: "the untouched original", "showing treatments 1–3, in
    // order", ...
    QString canvasCaption() const;
    // The source's first image through the first `count` rows; none when it cannot be decoded.
    std::optional<QImage> renderPrefix(qint64 count) const;
    // The pixel size of the source's first image through `record`; 0 × 0 when it cannot be decoded.
    QSizeF inputSize(const TreatmentRecord& record) const;
    // The frames entering the frames row at `index`, in the order the rows before it produce; empty
    // without a source strip.
    std::vector<QImage> timelineFrames(qint64 index) const;
    // How many times the canvas was rendered since the bench opened.
    qint64 renderCount() const { return m_renderCount; }

    // A binding to the settings of row `index` while that row holds a spec of type S. Reading gives the
    // row's spec, or `fallback` when the row is gone or holds another kind; writing makes the row that
    // kind with the new spec (id and place kept), and is ignored when the index is out of range. The
    // index is fixed: views make bindings afresh from the current selection whenever they rebuild.
    template <typename S> Binding<S> specBinding(qint64 index, S fallback);
    // The same, falling back on the settings row `index` holds now (a default S when it holds none), as
    // the inspectors' pages bind the selected row.
    template <typename S> Binding<S> specBinding(qint64 index);

    // --- Adding treatments ---

    // The kinds the "Add treatment" menu offers: all but frames for a source of fewer than two images.
    const std::vector<TreatmentKind>& addableKinds() const { return m_addableKinds; }
    // Appends a row with a fresh id and selects it.
    void appendEntry(const Treatment& treatment);
    // Appends a row of `kind` fitted to the image the whole record produces; a stamp asks the chooser
    // for its image first, and nothing is added when that gives none.
    void addTreatment(TreatmentKind kind);
    // Asks the chooser for a stamp image and prepares it; none when cancelled, unreadable or not
    // decodable. A picked animation posts the notice "Only the first frame is used for a stamp.".
    [[nodiscard]] std::optional<PickedStamp> pickStamp();
    // The delays of the frames the whole record plays, in milliseconds; empty without a source strip.
    std::vector<qint64> framesDefaultDelays() const;
    // Without a chooser a stamp pick yields nothing.
    void setStampChooser(StampChooser chooser) { m_stampChooser = std::move(chooser); }
    // The stamp picker's message: "Pick an image to stamp onto cat.png.".
    QString stampPickerMessage() const;

    // --- The record list and the canvas ---

    // The "Original" row: nothing selected.
    void selectOriginal();
    // Takes every row with that id out of the record, the others keeping their order; clears the
    // selection when it named that row.
    void removeEntry(const QUuid& id);
    // Moves the rows at `sources` (in their order) to stand before the row that was at
    // `destination`, or after the last one when it is the row count. Ids travel with their rows, so
    // the selection stays on its row. Offsets out of range are ignored, the destination clamped.
    void moveEntries(const std::set<qint64>& sources, qint64 destination);
    // The selected row's position when it is a text or a stamp, else none.
    std::optional<qint64> selectedPlacementIndex() const;
    // The scale handle of a text: size and outline width follow the box to `width` pixels (the size
    // never below 4). Nothing for another kind, a size of 0 or a box with no width.
    void resizeText(qint64 index, double width);
    // The scale handle of a stamp: its width becomes `width` pixels. Nothing for another kind.
    void resizeStamp(qint64 index, double width);
    // The ground inspector's "Pick from the image": the canvas shows the ground row's input, and on
    // the next turn of the event loop `samplerRequested` asks the canvas to let the user pick.
    void pickGroundColor();
    // What the picker reports: a colour, or none when the user cancelled. Sampling ends either way; a
    // colour becomes the colour key of the selected ground row (a colour key keeps its reach,
    // threshold and softness, any other key becomes one that reaches everywhere with 0 and 0).
    void applySampledColor(const std::optional<QColor>& color);

    // --- Editing rows in the inspector pane ---
    // Each takes the row's position; writes are ignored unless the row holds the kind named (a
    // resize write makes the row a resize). Input sizes are measured afresh at every write.

    // The pixel size of the image entering row `row`: the source's first image through the rows
    // before it; 0 × 0 when the source cannot be decoded.
    QSizeF inputSizeAt(qint64 row) const;
    // One field of row `row`'s crop (`&CropSpec::width`, say): reads 0 unless the row holds a crop;
    // a write sets the field, then settles the whole crop inside the row's input.
    Binding<qint64> cropFieldBinding(qint64 row, qint64 CropSpec::*field);
    // "Full": the whole input. "Square": the largest square of it, centred (rounded down).
    void setFullCrop(qint64 row);
    void setSquareCrop(qint64 row);
    // "Trim": the crop narrowed to the pixels inside it that are not fully transparent; never grown,
    // and left as it is when nothing visible lies inside it.
    void trimTransparentBorder(qint64 row);

    // One side of row `row`'s extend target (Qt::Horizontal is "W"): reads 0 unless the row holds an
    // extend, and the width for both sides while the square lock is on. A write squares the target
    // while the lock is on, else sets the side and raises the target to the input.
    Binding<qint64> extendSideBinding(qint64 row, Qt::Orientation side);
    // The extend inspector came into view for row `row`: the lock is on exactly for a square target.
    void extendCameIntoView(qint64 row);
    // Flips the square lock; turning it on squares row `row`'s target to its longer side.
    void toggleSquareLock(qint64 row);
    void setExtendAnchor(qint64 row, Anchor anchor);

    static constexpr qint64 maxLongestEdge = 9999;
    // Row `row` becomes a resize to `longestEdge`, clamped to 1 … 9999.
    void setLongestEdge(qint64 row, qint64 longestEdge);

    // The stamp inspector's "Replace…": asks for another image for row `row` (a stamp row) and keeps
    // the stamp's centre, width, rotation and opacity; nothing changes when the pick yields nothing.
    void replaceStampImage(qint64 row);

    // --- The frames timeline and the frames inspector ---

    // Two-way views of the playhead and of the frame selection; writes go through the setters.
    Binding<qint64> playheadBinding();
    Binding<FrameSelection> frameSelectionBinding();

    // --- Leaving the bench ---

    // The header's "Cancel": nothing is written.
    void cancel();
    // The save gate's "Save": the gate closes, then the session goes out with the backup choice.
    void confirmSave();
    // The export sheet's export: the sheet closes, then the session goes out with the panel's choices.
    void finishExport(const QString& name, ExportFormat format, double quality, const GIFPalette& palette);

    // --- The save gate and the export sheet (BenchModelSheets.cpp) ---

    // The header's "Save" and "Export": open that sheet unless one is already showing (never both).
    void openSaveGate();
    void openExport();
    // The gate's "Keep editing" (and its dismissal): the gate closes, nothing else.
    void keepEditing();
    // The refusal's "Export": the gate closes and the export sheet opens, in one transaction.
    void switchToExport();
    // The export panel's cancel (and its dismissal): the sheet closes, nothing else.
    void cancelExport();
    // Whether saving over the file would lose transparency the record made: the source's first
    // image rendered through the whole record has a pixel that is not opaque, and a round trip in
    // the file's own type (or the lack of a writer for it) makes it opaque. False for a source that
    // cannot be decoded. Renders once per call; nothing is cached.
    bool saveLosesTransparency() const;
    // The writer that decision tries the file's own type with; none puts back our own.
    void setEncoder(std::shared_ptr<const ImageEncoder> encoder);
    // Every output frame of the record, with the plan's delays and the source's loop count: what an
    // export writes. None when the source cannot be decoded.
    [[nodiscard]] std::optional<Filmstrip> exportStrip() const;
    // The file's name without its extension ("cat" for cat.png): the name an export proposes.
    QString baseName() const;

signals:
    // Emitted once at the end of each transaction that changed something.
    void changed(plenoria::BenchModel::Changes changes);
    void cancelRequested();
    void saveRequested(const plenoria::RestorationSession& session, bool backup);
    void exportRequested(const plenoria::RestorationSession& session, const QString& name,
        plenoria::ExportFormat format, double quality, const plenoria::GIFPalette& palette);
    // A complete sentence for the window's toast.
    void noticePosted(const QString& message);
    // The colour sampling has begun: the canvas now lets the user pick a colour from it.
    void samplerRequested();

private:
    class Transaction;

    template <typename T> void assign(T& field, T value, Change change);
    void settle();
    // Renders the canvas; true when it lowered the playhead.
    bool rerender();
    void refreshGroundInput();
    // The source's first image, decoded on first use.
    const std::optional<QImage>& firstImage() const;
    template <typename S> const S* specAt(qint64 index) const;

    RestorationSession m_session;
    std::optional<QUuid> m_selection;
    std::optional<QImage> m_rendered;
    std::optional<QImage> m_groundInputImage;
    std::optional<TreatmentRecord> m_groundInputRecord;
    CanvasGround m_ground = CanvasGround::checker;
    bool m_showingSaveGate = false;
    bool m_backupOriginal;
    bool m_showingExport = false;
    bool m_samplingGroundColor = false;
    std::optional<Filmstrip> m_sourceStrip;
    qint64 m_playhead = 0;
    FrameSelection m_frameSelection;
    bool m_extendSquareLocked = false;

    std::vector<TreatmentKind> m_addableKinds;
    StampChooser m_stampChooser;
    qint64 m_renderCount = 0;
    int m_transactionDepth = 0;
    Changes m_pending;

    // The original data never changes, so its first image is decoded once and input sizes are
    // remembered for the last record asked about (typing into a field asks again and again).
    mutable std::optional<std::optional<QImage>> m_firstImage;
    mutable std::optional<std::pair<TreatmentRecord, QSizeF>> m_inputSizeCache;
    std::shared_ptr<const ImageEncoder> m_encoder = std::make_shared<ImageEncoder>();
};

Q_DECLARE_OPERATORS_FOR_FLAGS(BenchModel::Changes)

template <typename S> const S* BenchModel::specAt(qint64 index) const
{
    if (index < 0 || index >= qint64(m_session.record.size()))
        return nullptr;
    return std::get_if<S>(&m_session.record[size_t(index)].treatment.spec);
}

template <typename S> Binding<S> BenchModel::specBinding(qint64 index)
{
    const S* current = specAt<S>(index);
    return specBinding<S>(index, current ? *current : S{});
}

template <typename S> Binding<S> BenchModel::specBinding(qint64 index, S fallback)
{
    const QPointer<BenchModel> model(this);
    return Binding<S>(
        [model, index, fallback = std::move(fallback)] {
            if (model) {
                if (const S* spec = model->specAt<S>(index))
                    return *spec;
            }
            return fallback;
        },
        [model, index](const S& spec) {
            if (model)
                model->setTreatment(index, Treatment(spec));
        });
}

} // namespace plenoria
