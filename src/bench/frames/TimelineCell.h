#pragma once

#include "imaging/model/FramesSpec.h"
#include "inspectors/controls/Binding.h"

#include <QImage>
#include <QWidget>

namespace plenoria {

class NumericField;

// One frame position of the frames timeline: a 44 × 44 thumbnail of the frame its edit shows (struck
// through and washed out when skipped, outlined in the accent when selected, a dot for the playhead)
// and, while the timeline is editable, the edit's delay field under it. A press anywhere but in the
// field is a click on the cell.
class TimelineCell : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 44;
    static constexpr int fieldGap = 4;

    // What the cell shows; `frame` is null when the edit's input has no frame.
    struct Look {
        FrameEdit edit;
        QImage frame;
        bool selected = false;
        bool playhead = false;
        bool delayStandsOut = false;
        bool operator==(const Look& other) const;
    };

    TimelineCell(qint64 position, QWidget* parent = nullptr);

    qint64 position() const { return m_position; }
    const Look& look() const { return m_look; }
    void setLook(const Look& look);
    // Gives the cell a delay field bound to `delay`, or takes it away.
    void setEditable(bool editable, const Binding<qint64>& delay);
    NumericField* delayField() const { return m_field; }
    // The thumbnail square, in the cell's coordinates.
    static QRect thumbnailRect() { return QRect(0, 0, side, side); }

signals:
    void clicked(qint64 position, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void paintThumbnail(QPainter& painter) const;
    void applyFieldLook();

    qint64 m_position;
    Look m_look;
    NumericField* m_field = nullptr;
};

} // namespace plenoria
