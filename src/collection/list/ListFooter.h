#pragma once

#include <QWidget>

namespace plenoria {

class ElidedLabel;

// The bar under the split: the count of images on the left, the key chart on the right (cut at
// its tail when the window is narrow), on the theme's surface colour.
class ListFooter : public QWidget {
    Q_OBJECT
public:
    explicit ListFooter(const QString& keyChart, QWidget* parent = nullptr);

    void setCountText(const QString& text);
    QString countText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ElidedLabel* m_count;
    ElidedLabel* m_keyChart;
};

} // namespace plenoria
