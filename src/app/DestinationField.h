#pragma once

#include <QLineEdit>

namespace plenoria {

// A destination name's text field with the placeholder "unset", outlined in the warning colour
// while its name is flagged. The outline only marks the field; the text is stored as typed.
class DestinationField : public QLineEdit {
    Q_OBJECT
public:
    explicit DestinationField(QWidget* parent = nullptr);

    bool isFlagged() const { return m_flagged; }
    void setFlagged(bool flagged);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_flagged = false;
};

} // namespace plenoria
