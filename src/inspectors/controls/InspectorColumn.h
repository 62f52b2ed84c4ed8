#pragma once

#include <QScrollArea>

class QVBoxLayout;

namespace plenoria {

class ThemedLabel;

// The outer view of every inspector: a vertical scroll area (its bar always shown) holding the title
// in the serif at 17 bold, then the content, top-aligned with 12 between items and 12 of padding all
// round. Content is added below what is there; the column's width is the content's.
class InspectorColumn : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int padding = 12;
    static constexpr int spacing = 12;

    explicit InspectorColumn(const QString& title, QWidget* parent = nullptr);

    QString title() const;
    void setTitle(const QString& title);
    // Adds a view (or a row of views) below the content already there.
    void addWidget(QWidget* widget, Qt::Alignment alignment = {});
    void addLayout(QLayout* layout);
    // Takes every item of the content out and deletes it (the title stays).
    void clearContent();

private:
    ThemedLabel* m_title;
    QVBoxLayout* m_layout;
};

} // namespace plenoria
