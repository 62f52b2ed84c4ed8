#pragma once

#include "BenchModel.h"

#include <QPointer>
#include <QWidget>

namespace plenoria {

// The layer that presents the bench's two sheets, the save gate and the export sheet, over the
// whole bench: a dimmed ground with the sheet centred on it, shown while the model's flag for that
// sheet is set and a sheet of that kind has been given. The bench beneath takes no clicks meanwhile;
// Escape dismisses the sheet (its flag goes false). It spans its parent, which keeps it there.
class BenchSheetHost : public QWidget {
    Q_OBJECT
public:
    enum class Sheet { saveGate, exportSheet };

    explicit BenchSheetHost(BenchModel& model, QWidget* parent);

    // The content of a sheet; the host takes ownership.
    void setSheet(Sheet sheet, QWidget* content);
    // The sheet on show, if any.
    std::optional<Sheet> shownSheet() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void modelChanged(BenchModel::Changes changes);
    void dismiss();
    QWidget* contentFor(Sheet sheet) const;
    void place();

    BenchModel& m_model;
    QPointer<QWidget> m_saveGate;
    QPointer<QWidget> m_exportSheet;
    std::optional<Sheet> m_shown;
};

} // namespace plenoria
