#pragma once

#include "collection/chrome/ConfigStripModel.h"

#include <QWidget>

class QVBoxLayout;

namespace plenoria {

class PlainButton;

// The filing destinations strip: which digit key files into which subfolder and how many files
// each already holds, with links to the settings where the names are edited.
class ConfigStripView : public QWidget {
    Q_OBJECT
public:
    static constexpr int padding = 12;
    static constexpr int rowSpacing = 8;

    // Takes ownership of the model.
    explicit ConfigStripView(ConfigStripModel* model, QWidget* parent = nullptr);

    ConfigStripModel& model() const { return *m_model; }
    // The header's link, present only while some destination is named.
    PlainButton* editLink() const { return m_editLink; }
    // The link shown instead of the rows when no destination is named.
    PlainButton* nameLink() const { return m_nameLink; }
    // The row widgets, in key order.
    QList<QWidget*> rowWidgets() const { return m_rows; }

signals:
    // Either link was clicked.
    void settingsRequested();

private:
    void rebuild();
    QWidget* makeRow(const DestinationRow& row);

    ConfigStripModel* m_model;
    PlainButton* m_editLink;
    PlainButton* m_nameLink;
    QVBoxLayout* m_rowsLayout;
    QList<QWidget*> m_rows;
};

} // namespace plenoria
