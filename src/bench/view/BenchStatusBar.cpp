#include "bench/view/BenchStatusBar.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/ElidedLabel.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>
#include <QPainter>

namespace plenoria {

BenchStatusBar::BenchStatusBar(BenchModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_file(new ElidedLabel(model.fileName() + QStringLiteral(" \u00B7 scratch copy"),
          Theme::monospacedFont(12), &Theme::inkSecondary, Qt::ElideMiddle))
    , m_state(new ThemedLabel(QString(), Theme::monospacedFont(11), &Theme::inkFaint))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->setSpacing(12);
    layout->addWidget(m_file, 0, Qt::AlignVCenter);
    layout->addStretch(1);
    layout->addWidget(m_state, 0, Qt::AlignVCenter);
    connect(&model, &BenchModel::changed, this, &BenchStatusBar::modelChanged);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
    modelChanged(BenchModel::Change::record);
}

QString BenchStatusBar::fileText() const
{
    return m_file->text();
}

QString BenchStatusBar::stateText() const
{
    return m_state->text();
}

void BenchStatusBar::modelChanged(BenchModel::Changes changes)
{
    if (changes & BenchModel::Change::record)
        m_state->setText(m_model.record().empty() ? QStringLiteral("no edits yet")
                                                  : QStringLiteral("nothing written until Save"));
}

void BenchStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::surface());
}

} // namespace plenoria
