#include "bench/inspect/ResizeInspector.h"

#include "imaging/model/Geometry.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/InspectorColumn.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>

namespace plenoria {

ResizeInspector::ResizeInspector(BenchModel& model, QWidget* parent)
    : InspectorPage(model, parent)
    , m_edge(new QLineEdit)
    , m_caption(InspectorText::caption(QString()))
{
    m_edge->setFixedWidth(70);
    m_edge->setFont(Theme::monospacedFont(12, QFont::DemiBold));
    m_edge->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_edge->setAccessibleName(QStringLiteral("Longest edge"));
    m_edge->installEventFilter(this);
    auto* edge = new QHBoxLayout;
    edge->setContentsMargins(0, 0, 0, 0);
    edge->addWidget(InspectorText::label(QStringLiteral("Longest edge")));
    edge->addStretch(1);
    edge->addWidget(m_edge);
    edge->addWidget(InspectorText::caption(QStringLiteral("px")));

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    for (size_t i = 0; i < presets.size(); ++i) {
        const qint64 preset = presets[i];
        m_presets[i] = new BorderedButton(QString::number(preset));
        buttons->addWidget(m_presets[i]);
        connect(m_presets[i], &QPushButton::clicked, this,
            [this, preset] { this->model().setLongestEdge(m_row, preset); });
    }
    buttons->addStretch(1);

    auto* column = new InspectorColumn(QStringLiteral("Resize"));
    column->addLayout(edge);
    column->addLayout(buttons);
    column->addWidget(m_caption);
    setContent(column);

    connect(m_edge, &QLineEdit::returnPressed, this, &ResizeInspector::commit);
}

QString ResizeInspector::captionText() const
{
    return m_caption->text();
}

QString ResizeInspector::sizeCaption(QSizeF input, qint64 longestEdge)
{
    const IntSize fitted = fitToLongestEdge(longestEdge, input);
    return QStringLiteral("%1\u00D7%2 \u2192 %3\u00D7%4")
        .arg(qint64(input.width()))
        .arg(qint64(input.height()))
        .arg(fitted.width)
        .arg(fitted.height);
}

qint64 ResizeInspector::storedEdge() const
{
    const TreatmentRecord& record = model().record();
    if (m_row < 0 || m_row >= qint64(record.size()))
        return 0;
    const std::optional<ResizeSpec> resize = record[size_t(m_row)].treatment.resizeSpec();
    return resize ? resize->longestEdge : 0;
}

void ResizeInspector::commit()
{
    const TreatmentRecord& record = model().record();
    const bool sameRow = m_row >= 0 && m_row < qint64(record.size()) && record[size_t(m_row)].id == m_rowId;
    bool ok = false;
    const qint64 typed = QLocale().toLongLong(m_edge->text().trimmed(), &ok);
    if (ok && sameRow)
        model().setLongestEdge(m_row, typed);
    // Text that does not read, or a value the clamp changed, gives way to what is stored.
    showStoredEdge();
}

void ResizeInspector::showStoredEdge()
{
    const QSignalBlocker blocker(m_edge);
    m_edge->setText(QLocale().toString(storedEdge()));
}

bool ResizeInspector::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edge && event->type() == QEvent::FocusOut)
        commit();
    else if (watched == m_edge && event->type() == QEvent::LocaleChange)
        showStoredEdge();
    return InspectorPage::eventFilter(watched, event);
}

void ResizeInspector::refresh(qint64 row, BenchModel::Changes changes)
{
    if (!(changes & (BenchModel::Change::record | BenchModel::Change::selection)))
        return;
    m_row = row;
    const TreatmentRecord& record = model().record();
    m_rowId = row >= 0 && row < qint64(record.size()) ? record[size_t(row)].id : QUuid();
    const qint64 edge = storedEdge();
    // What the user is typing stays until Return or the focus leaving commits it.
    if (!m_edge->hasFocus())
        showStoredEdge();
    for (size_t i = 0; i < presets.size(); ++i)
        m_presets[i]->setTinted(presets[i] == edge);
    m_caption->setText(sizeCaption(model().inputSizeAt(row), edge));
}

} // namespace plenoria
