#pragma once

#include <QWidget>

class QVBoxLayout;

namespace plenoria {

class FormSection;

// The body of every settings pane: its sections stacked on the theme's background, 460 wide and
// exactly as tall as the sections need.
class PaneForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int width = 460;

    explicit PaneForm(QWidget* parent = nullptr);

    FormSection* addSection(const QString& header, const QString& footer = {});

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_sections;
};

} // namespace plenoria
