#pragma once

#include "imaging/write/ExportFormat.h"

#include <QAbstractButton>

namespace plenoria {

class Chip;
class ThemedLabel;

// One format of the export panel as a card the whole of which is a button: the radio mark, the
// format's name (with an optional chip beside it), its description and the size estimate, on a
// raised rounded rectangle outlined in the accent while it is the chosen card. Checkable; the
// panel keeps the cards exclusive.
class FormatCard : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int padding = 10;
    static constexpr int markSide = 16;

    FormatCard(ExportFormat format, const QString& name, QWidget* parent = nullptr);

    ExportFormat format() const { return m_format; }
    void setDescription(const QString& description);
    QString description() const;
    void setSizeLabel(const QString& text, bool estimated);
    QString sizeLabel() const;
    // The "still · first frame" chip beside the name.
    void setChipVisible(bool visible);
    bool isChipVisible() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    ExportFormat m_format;
    QWidget* m_mark;
    ThemedLabel* m_description;
    ThemedLabel* m_size;
    Chip* m_chip;
    bool m_keyboardFocus = false;
};

} // namespace plenoria
