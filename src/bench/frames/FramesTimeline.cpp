#include "bench/frames/FramesTimeline.h"

#include "bench/frames/FramesTimelineModel.h"
#include "bench/frames/TimelineCell.h"
#include "bench/frames/TimelineHeader.h"
#include "imaging/model/Theme.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace plenoria {

namespace {

constexpr int cellSpacing = 6;
constexpr int stripMargin = 12;
constexpr int stripBottom = 8;

} // namespace

const QString FramesTimeline::readOnlyHint = QStringLiteral("Add a Frames treatment to change the timing");

FramesTimeline::FramesTimeline(QWidget* parent)
    : QWidget(parent)
    , m_header(new TimelineHeader)
    , m_scroll(new QScrollArea)
    , m_stripContent(new QWidget)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_stripContent);
    // The timeline's own surface shows through.
    m_scroll->viewport()->setAutoFillBackground(false);
    m_stripContent->setAutoFillBackground(false);
    m_scroll->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    // The header holds the timeline's top margin, where the read-only hint sits.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_header);
    layout->addWidget(m_scroll);
    connect(
        ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, qOverload<>(&QWidget::update));
    refresh();
}

void FramesTimeline::setSources(Sources sources)
{
    const bool editableChanged = sources.editable != m_sources.editable;
    m_sources = std::move(sources);
    if (editableChanged) {
        for (TimelineCell* cell : m_cells)
            cell->setEditable(m_sources.editable, delayBinding(cell->position()));
    }
    refresh();
}

void FramesTimeline::refresh()
{
    const FramesSpec spec = m_sources.spec.get();
    const FrameSelection selection = spec.positionsWithin(m_sources.selection.get());
    const qint64 playhead = m_sources.playhead.get();
    const std::optional<qint64> dominant = FramesTimelineModel::dominantDelay(spec);
    matchCellCount(qint64(spec.edits.size()));
    for (size_t i = 0; i < spec.edits.size(); ++i) {
        const FrameEdit& edit = spec.edits[i];
        TimelineCell::Look look;
        look.edit = edit;
        if (edit.input >= 0 && edit.input < qint64(m_sources.frames.size()))
            look.frame = m_sources.frames[size_t(edit.input)];
        look.selected = selection.contains(qint64(i));
        look.playhead = playhead == qint64(i);
        look.delayStandsOut = FramesTimelineModel::delayStandsOut(edit, dominant);
        m_cells[i]->setLook(look);
    }
    layOutStrip();

    m_header->setTexts({FramesTimelineModel::summaryText(spec, m_sources.loopCount),
        FramesTimelineModel::skippedText(spec), FramesTimelineModel::selectionText(spec, selection),
        FramesTimelineModel::fastDelayWarning(spec), m_sources.editable ? QString() : readOnlyHint});
    static_cast<QVBoxLayout*>(layout())->setSpacing(m_sources.editable ? 6 : 14);
}

void FramesTimeline::matchCellCount(qint64 count)
{
    while (qint64(m_cells.size()) > count) {
        delete m_cells.back();
        m_cells.pop_back();
    }
    while (qint64(m_cells.size()) < count) {
        auto* cell = new TimelineCell(qint64(m_cells.size()), m_stripContent);
        cell->setEditable(m_sources.editable, delayBinding(cell->position()));
        connect(cell, &TimelineCell::clicked, this, &FramesTimeline::click);
        cell->show();
        m_cells.push_back(cell);
    }
}

void FramesTimeline::layOutStrip()
{
    int x = stripMargin;
    int height = TimelineCell::side;
    for (TimelineCell* cell : m_cells) {
        cell->move(x, 0);
        x += cell->width() + cellSpacing;
        height = std::max(height, cell->height());
    }
    const int width = m_cells.empty() ? 2 * stripMargin : x - cellSpacing + stripMargin;
    const QSize size(width, height + stripBottom);
    if (m_stripContent->size() != size)
        m_stripContent->resize(size);
    const int scrollHeight = size.height() + m_scroll->horizontalScrollBar()->sizeHint().height();
    if (m_scroll->height() != scrollHeight)
        m_scroll->setFixedHeight(scrollHeight);
}

void FramesTimeline::click(qint64 position, Qt::KeyboardModifiers modifiers)
{
    // Bound values may be read back by the owner between the two writes: the playhead goes first.
    m_sources.playhead.set(position);
    const FramesSpec spec = m_sources.spec.get();
    m_sources.selection.set(
        FramesTimelineModel::clicked(spec, m_sources.selection.get(), position, modifiers));
}

Binding<qint64> FramesTimeline::delayBinding(qint64 position) const
{
    const QPointer<const FramesTimeline> self(this);
    return Binding<qint64>(
        [self, position]() -> qint64 {
            if (!self)
                return 0;
            const FramesSpec spec = self->m_sources.spec.get();
            if (position < 0 || position >= qint64(spec.edits.size()))
                return 0;
            return spec.edits[size_t(position)].delay;
        },
        [self, position](const qint64& delay) {
            if (!self)
                return;
            FramesSpec spec = self->m_sources.spec.get();
            if (position < 0 || position >= qint64(spec.edits.size()))
                return;
            spec.edits = spec.settingDelay(delay, {position});
            self->m_sources.spec.set(spec);
        });
}

FramesTimeline::HeaderTexts FramesTimeline::headerTexts() const
{
    const TimelineHeader::Texts texts = m_header->texts();
    return {texts[TimelineHeader::summary], texts[TimelineHeader::skipped], texts[TimelineHeader::selection],
        texts[TimelineHeader::warning], texts[TimelineHeader::hint]};
}

void FramesTimeline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Theme::surface());
}

bool FramesTimeline::eventFilter(QObject* watched, QEvent* event)
{
    // The strip only scrolls sideways: an ordinary wheel turns it too.
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->angleDelta().x() == 0 && wheel->angleDelta().y() != 0) {
            QApplication::sendEvent(m_scroll->horizontalScrollBar(), event);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plenoria
