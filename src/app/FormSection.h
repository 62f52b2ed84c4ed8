#pragma once

#include <QWidget>

class QGridLayout;
class QVBoxLayout;

namespace plenoria {

class ThemedLabel;

// One grouped section of a settings pane: a serif header, a rounded card of labelled rows
// separated by hairlines, and an optional serif footer under the card. Header and footer read
// exactly as written.
class FormSection : public QWidget {
    Q_OBJECT
public:
    FormSection(const QString& header, const QString& footer, QWidget* parent = nullptr);

    // A row with the label at the leading edge and the control at the trailing edge.
    void addRow(const QString& label, QWidget* control);
    void addRow(QWidget* label, QWidget* control);
    // A row holding one control at the leading edge, such as a button of its own.
    void addWideRow(QWidget* control);
    // A line of the section's own under the card and footer, such as what the last action came to.
    void addLine(QWidget* line);

    QString headerText() const;
    QString footerText() const;

private:
    class Card;

    int nextRow() const;

    ThemedLabel* m_header;
    ThemedLabel* m_footer = nullptr;
    Card* m_card;
    QGridLayout* m_rows;
};

} // namespace plenoria
