#pragma once

#include "inspectors/text/FontUsage.h"

#include <QComboBox>

namespace plenoria {

// The font picker's pop-up: the most used families, a divider, then every installed family, each
// row in its own face at 12 (a symbol face's row in the box's font). The recent part is worked out
// afresh each time the menu opens. The box shows the family it was given, also one that is not
// installed (no row is current then). Only a row the user picks is reported; the wheel scrolls the
// inspector, not the fonts, and the arrows and typed letters open the menu (at the match) instead of
// picking a family on the closed box.
class FontMenuBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int faceSize = 12;

    explicit FontMenuBox(FontUsage usage, QWidget* parent = nullptr);

    QString shownFamily() const { return m_shown; }
    // Shows `family` without reporting it.
    void setShownFamily(const QString& family);
    // How many rows come before the divider.
    int recentRowCount() const { return m_recentRows; }
    // Lists the most used families afresh above the divider.
    void rebuildRecent();

    void showPopup() override;

signals:
    void familyPicked(const QString& family);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void addFamilyRow(int position, const QString& family);
    void selectShownRow();

    FontUsage m_usage;
    QString m_shown;
    int m_recentRows = 0;
};

} // namespace plenoria
