#pragma once

#include "inspectors/controls/Binding.h"

#include <QWidget>
#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace plenoria {

// A row of equal segments, each a title with an optional symbol, on the raised colour inside a
// rounded rule, a short divider between neighbours. The segment whose tag equals the bound selection
// is backed by the accent at 25 % (none is when no tag matches); a click writes the clicked
// segment's tag, also when it is the selected one. Tags are any type with ==, one type per picker.
class IconSegmentedPicker : public QWidget {
    Q_OBJECT
public:
    template <typename Tag> struct Segment {
        QString title;
        // A freedesktop icon name drawn as a mask in the title's colour; empty for none.
        QString systemImage;
        Tag tag;
    };

    static constexpr int verticalPadding = 5;
    static constexpr int dividerHeight = 14;
    static constexpr double radius = 6;

    template <typename Tag>
    IconSegmentedPicker(
        const std::vector<Segment<Tag>>& segments, Binding<Tag> selection, QWidget* parent = nullptr);

    // Binds the selection afresh (another row's); `Tag` must be the tag type the picker was made with.
    template <typename Tag> void setSelection(Binding<Tag> selection);

    qint64 count() const { return qint64(m_faces.size()); }
    // The segment whose tag equals the selection, if any.
    std::optional<qint64> selectedIndex() const { return m_selectedIndex ? m_selectedIndex() : std::nullopt; }
    // A segment's clickable rectangle, its share of the row.
    QRect segmentRect(qint64 index) const;
    // The dividers as drawn: one before every segment but the first.
    std::vector<QRectF> dividerRects() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Face {
        QString title;
        QString systemImage;
    };

    IconSegmentedPicker(std::vector<Face> faces, QWidget* parent);
    std::optional<qint64> segmentAt(const QPoint& point) const;
    int faceWidth(const Face& face) const;

    std::vector<Face> m_faces;
    // The tags, as a shared_ptr<const std::vector<Tag>>.
    std::any m_tags;
    std::function<std::optional<qint64>()> m_selectedIndex;
    std::function<void(qint64)> m_write;
    std::optional<qint64> m_pressed;
};

template <typename Tag>
IconSegmentedPicker::IconSegmentedPicker(
    const std::vector<Segment<Tag>>& segments, Binding<Tag> selection, QWidget* parent)
    : IconSegmentedPicker(
        [&] {
            std::vector<Face> faces;
            for (const Segment<Tag>& segment : segments)
                faces.push_back({segment.title, segment.systemImage});
            return faces;
        }(),
        parent)
{
    auto tags = std::make_shared<std::vector<Tag>>();
    for (const Segment<Tag>& segment : segments)
        tags->push_back(segment.tag);
    m_tags = std::shared_ptr<const std::vector<Tag>>(std::move(tags));
    setSelection(std::move(selection));
}

template <typename Tag> void IconSegmentedPicker::setSelection(Binding<Tag> selection)
{
    const auto tags = std::any_cast<std::shared_ptr<const std::vector<Tag>>>(m_tags);
    m_selectedIndex = [tags, selection]() -> std::optional<qint64> {
        const Tag current = selection.get();
        for (size_t i = 0; i < tags->size(); ++i) {
            if ((*tags)[i] == current)
                return qint64(i);
        }
        return std::nullopt;
    };
    m_write = [tags, selection](qint64 index) { selection.set((*tags)[size_t(index)]); };
    update();
}

} // namespace plenoria
