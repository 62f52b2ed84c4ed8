#pragma once

#include "bench/inspect/InspectorPage.h"

class QPushButton;

namespace plenoria {

class PixelField;
class ThemedLabel;

// The "Crop" column: the crop's width, height and origin as pixel fields, "Full", "Square", "Trim"
// and the size of the image the crop receives. Typed values are settled inside that image.
class CropInspector : public InspectorPage {
    Q_OBJECT
public:
    explicit CropInspector(BenchModel& model, QWidget* parent = nullptr);

    PixelField* widthField() const { return m_width; }
    PixelField* heightField() const { return m_height; }
    PixelField* xField() const { return m_x; }
    PixelField* yField() const { return m_y; }
    QPushButton* fullButton() const { return m_full; }
    QPushButton* squareButton() const { return m_square; }
    QPushButton* trimButton() const { return m_trim; }
    QString captionText() const;

    // "Input 64×48 · applies to the whole frame."
    static QString inputCaption(QSizeF input);

    void refresh(qint64 row, BenchModel::Changes changes) override;

private:
    qint64 m_row = -1;
    PixelField* m_width;
    PixelField* m_height;
    PixelField* m_x;
    PixelField* m_y;
    QPushButton* m_full;
    QPushButton* m_square;
    QPushButton* m_trim;
    ThemedLabel* m_caption;
};

} // namespace plenoria
