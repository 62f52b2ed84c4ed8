#pragma once

#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace plenoria {

class BorderedButton;
class GroundInspectorModel;
class InspectorSlider;
class ThemedLabel;

// The ground inspector's controls for a colour key: the key colour with its hex and "Re-sample",
// "Pick from the image", where the key reaches (two buttons of the application style), then the
// threshold and softness sliders, each with its caption. Reads and writes through the model only;
// `refresh` shows the model's current key.
class GroundColorKeyPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int swatchSide = 20;

    explicit GroundColorKeyPanel(GroundInspectorModel& model, QWidget* parent = nullptr);

    BorderedButton* resampleButton() const { return m_resample; }
    BorderedButton* pickButton() const { return m_pick; }
    QPushButton* everywhereButton() const { return m_everywhere; }
    QPushButton* fromTheBorderButton() const { return m_fromTheBorder; }
    InspectorSlider* thresholdSlider() const { return m_threshold; }
    InspectorSlider* softnessSlider() const { return m_softness; }
    QString hexText() const;
    QString reachCaption() const;

    void refresh();

private:
    void paintSwatch();

    GroundInspectorModel& m_model;
    QLabel* m_swatch;
    ThemedLabel* m_hex;
    BorderedButton* m_resample;
    BorderedButton* m_pick;
    QPushButton* m_everywhere;
    QPushButton* m_fromTheBorder;
    QButtonGroup* m_reach;
    ThemedLabel* m_reachCaption;
    InspectorSlider* m_threshold;
    InspectorSlider* m_softness;
};

} // namespace plenoria
