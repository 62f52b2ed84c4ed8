#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

namespace plenoria {

// The stamp's picture, 44 × 44 on a raised rounded square: the first frame of its image data,
// fitted with its aspect kept. Data that does not decode leaves it empty (the owner hides it).
class StampThumbnail : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 44;

    explicit StampThumbnail(QWidget* parent = nullptr);

    // Decodes `imageData` when it differs from the data shown; false when it does not decode.
    bool setImageData(const QByteArray& imageData);
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray m_data;
    QImage m_image;
};

} // namespace plenoria
