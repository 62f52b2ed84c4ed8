#pragma once

#include "bench/inspect/InspectorPage.h"

namespace plenoria {

class AnchorGrid;
class PixelField;
class SquareLockButton;
class ThemedLabel;

// The "Extend" column: the target canvas's width and height, the lock that keeps it square, and
// the anchor grid that places the original in it. Made afresh for each row position it shows: it
// then turns the lock on exactly for a square target.
class ExtendInspector : public InspectorPage {
    Q_OBJECT
public:
    explicit ExtendInspector(BenchModel& model, QWidget* parent = nullptr);

    PixelField* widthField() const { return m_width; }
    PixelField* heightField() const { return m_height; }
    SquareLockButton* lockButton() const { return m_lock; }
    AnchorGrid* anchorGrid() const { return m_grid; }
    QString captionText() const;

    // "Image 64×48 → 96×96."
    static QString sizeCaption(QSizeF input, qint64 targetWidth, qint64 targetHeight);

    void enter(qint64 row) override;
    void refresh(qint64 row, BenchModel::Changes changes) override;

private:
    qint64 m_row = -1;
    PixelField* m_width;
    PixelField* m_height;
    SquareLockButton* m_lock;
    ThemedLabel* m_caption;
    AnchorGrid* m_grid;
};

} // namespace plenoria
