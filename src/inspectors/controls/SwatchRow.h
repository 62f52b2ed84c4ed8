#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class QAbstractButton;
class QHBoxLayout;

namespace plenoria {

// A row of 20 × 20 colour swatches, 5 apart, one per hex text in list order (a text that does not
// parse shows clear). The swatch whose text equals `selected` ignoring case is outlined in the
// accent. A click reports the swatch's text exactly as listed; the owner updates `selected`.
class SwatchRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int side = 20;
    static constexpr int spacing = 5;

    SwatchRow(const QString& selected, const QStringList& swatches, QWidget* parent = nullptr);

    QString selected() const { return m_selected; }
    void setSelected(const QString& selected);
    QStringList swatches() const { return m_swatches; }
    QAbstractButton* swatch(qint64 index) const;
    bool isMarked(qint64 index) const;

signals:
    void picked(const QString& hex);

private:
    QString m_selected;
    QStringList m_swatches;
    std::vector<QAbstractButton*> m_buttons;
};

} // namespace plenoria
