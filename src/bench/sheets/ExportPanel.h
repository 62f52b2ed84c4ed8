#pragma once

#include "bench/sheets/BenchSheet.h"
#include "bench/sheets/ExportPanelModel.h"

#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace plenoria {

class FormatCard;
class ProminentButton;
class ThemedLabel;

// The export sheet: the new file's name, a card per format with its size estimate, the settings of
// the chosen format (quality for WebP, colours and dither for GIF) and Cancel / Export. A view of
// its ExportPanelModel, which it owns: user input goes to the model, the widgets follow its
// `changed`. Return does nothing here (no button is a default), Escape cancels.
class ExportPanel : public BenchSheet {
    Q_OBJECT
public:
    static constexpr int sheetWidth = 460;
    static constexpr int colorsWidth = 180;
    static constexpr int buttonSpacing = 10;

    explicit ExportPanel(ExportPanelModel* model, QWidget* parent = nullptr);

    ExportPanelModel& model() const { return *m_model; }
    QLineEdit* nameField() const { return m_name; }
    ThemedLabel* extensionLabel() const { return m_extension; }
    ThemedLabel* nameProblemLabel() const { return m_problem; }
    FormatCard* card(ExportFormat format) const { return m_cards[size_t(ExportFormat::Value(format))]; }
    QWidget* qualityGroup() const { return m_qualityGroup; }
    QSlider* qualitySlider() const { return m_quality; }
    ThemedLabel* qualityValue() const { return m_qualityValue; }
    QWidget* colorsGroup() const { return m_colorsGroup; }
    QAbstractButton* colorsButton(qint64 colors) const;
    QCheckBox* ditherBox() const { return m_dither; }
    ThemedLabel* colorsHint() const { return m_colorsHint; }
    QPushButton* cancelButton() const { return m_cancel; }
    ProminentButton* exportButton() const { return m_export; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildName();
    QWidget* buildCards();
    QWidget* buildQuality();
    QWidget* buildColors();
    QWidget* buildButtons();
    void refresh();
    void applyDitherColor();

    ExportPanelModel* m_model;
    QLineEdit* m_name = nullptr;
    ThemedLabel* m_extension = nullptr;
    ThemedLabel* m_problem = nullptr;
    std::array<FormatCard*, 3> m_cards{};
    QWidget* m_qualityGroup = nullptr;
    QSlider* m_quality = nullptr;
    ThemedLabel* m_qualityValue = nullptr;
    QWidget* m_colorsGroup = nullptr;
    QButtonGroup* m_colors = nullptr;
    QCheckBox* m_dither = nullptr;
    ThemedLabel* m_colorsHint = nullptr;
    QPushButton* m_cancel = nullptr;
    ProminentButton* m_export = nullptr;
    bool m_appeared = false;
};

} // namespace plenoria
