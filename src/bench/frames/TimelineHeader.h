#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <initializer_list>

namespace plenoria {

class ElidedLabel;

// The frames timeline's header, with the timeline's top margin: the summary and the skipped count
// at the leading edge, the selection and the fast-delay warning at the trailing edge, and the
// read-only hint over the top-trailing corner, 12 from the edge and 2 from the top. It never
// widens its column: a warning that does not fit beside the rest but fits alone takes a line of
// its own under the row, at the trailing edge, and the header grows by that line. When room runs
// out the texts elide with "…" from the end, the hint first, then the warning, the selection, the
// skipped count and the summary last; a text left without room for a letter and "…" is left out.
// Over the corner the hint would cover the warning, so while a warning shows the hint keeps the
// corner and the row moves down below it. Empty texts are hidden.
class TimelineHeader : public QWidget {
    Q_OBJECT
public:
    enum Part { summary, skipped, selection, warning, hint, partCount };
    using Texts = std::array<QString, partCount>;

    static constexpr int topMargin = 8;
    static constexpr int sideMargin = 12;
    static constexpr int spacing = 10;
    static constexpr int hintTop = 2;
    // Between the row and the warning's own line.
    static constexpr int lineGap = 2;

    explicit TimelineHeader(QWidget* parent = nullptr);

    void setTexts(const Texts& texts);
    // The whole texts, empty for a part not shown.
    Texts texts() const;
    ElidedLabel* label(Part part) const { return m_labels[part]; }
    // Whether the hint lies above the row rather than beside it.
    bool hintAboveRow() const;
    // Whether, `width` wide, the warning lies on a line of its own under the row.
    bool warningBelowRow(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    using Widths = std::array<int, partCount>;
    // `widths` with the texts of `line` fitted into the header's room, 0 for a text left out.
    Widths fit(std::initializer_list<Part> line, Widths widths) const;
    // The whole texts of `line` side by side, with the spacing between them.
    int naturalWidth(std::initializer_list<Part> line) const;
    void layOut();
    int rowTop() const;
    int rowHeight() const;

    std::array<ElidedLabel*, partCount> m_labels;
};

} // namespace plenoria
