#pragma once

#include <QWidget>

class QHBoxLayout;

namespace plenoria {

// A window's header row: "Plenoria" and a subtitle on one baseline at their natural size, then a
// trailing group that takes the rest of the width.
class TitledHeader : public QWidget {
    Q_OBJECT
public:
    explicit TitledHeader(const QString& subtitle, QWidget* parent = nullptr);

    // Places the trailing group (once).
    void setTrailing(QWidget* trailing);

private:
    QHBoxLayout* m_layout;
};

} // namespace plenoria
