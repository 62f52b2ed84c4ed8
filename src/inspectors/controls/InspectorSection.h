#pragma once

#include <QWidget>

class QVBoxLayout;

namespace plenoria {

class ThemedLabel;

// A titled group inside an inspector column: a hairline rule across the full width, the title in the
// serif at 15 semibold, then the content, 8 apart.
class InspectorSection : public QWidget {
    Q_OBJECT
public:
    static constexpr int spacing = 8;

    explicit InspectorSection(const QString& title, QWidget* parent = nullptr);

    QString title() const;
    void addWidget(QWidget* widget, Qt::Alignment alignment = {});
    void addLayout(QLayout* layout);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ThemedLabel* m_title;
    QVBoxLayout* m_layout;
};

} // namespace plenoria
