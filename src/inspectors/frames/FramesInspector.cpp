#include "inspectors/frames/FramesInspector.h"

#include "imaging/model/Theme.h"
#include "inspectors/controls/BorderedButton.h"
#include "inspectors/controls/InspectorSection.h"
#include "inspectors/controls/InspectorText.h"
#include "inspectors/controls/NumericField.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QHBoxLayout>
#include <QPointer>

namespace plenoria {

namespace {

QHBoxLayout* row()
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    return layout;
}

ThemedLabel* unit(const QString& text)
{
    return new ThemedLabel(text, Theme::monospacedFont(11), &Theme::inkFaint);
}

} // namespace

FramesInspector::FramesInspector(QWidget* parent)
    : InspectorColumn(QStringLiteral("Frames"), parent)
{
    addWidget(
        InspectorText::note(QStringLiteral("Click a frame, shift-click a range, ctrl-click to add one "
                                           "\u2014 or use Select below. Select picks what Modify acts on.")));
    addWidget(buildSelectSection());
    addWidget(buildModifySection());
    addWidget(buildUniversalSection());
    refresh();
}

QPushButton* FramesInspector::button(const QString& title, void (FramesInspectorModel::*action)())
{
    auto* button = new BorderedButton(title);
    button->setFont(Theme::monospacedFont(12));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    if (action)
        connect(button, &QPushButton::clicked, this,
            [this, action] { act([this, action] { (m_model.*action)(); }); });
    return button;
}

QWidget* FramesInspector::buildSelectSection()
{
    auto* section = new InspectorSection(QStringLiteral("Select"));
    m_all = button(QStringLiteral("All"), &FramesInspectorModel::selectAll);
    m_none = button(QStringLiteral("None"), &FramesInspectorModel::selectNone);
    QHBoxLayout* allOrNone = row();
    allOrNone->addWidget(m_all, 1);
    allOrNone->addWidget(m_none, 1);
    section->addLayout(allOrNone);

    m_duplicates = button(QString(), &FramesInspectorModel::selectDuplicates);
    section->addWidget(m_duplicates);

    m_everyNthField = new NumericField(Binding<qint64>([this] { return m_model.everyNth(); },
                                           [this](const qint64& n) {
                                               m_model.setEveryNth(n);
                                               refresh();
                                           }),
        40);
    QHBoxLayout* everyNth = row();
    everyNth->addWidget(unit(QStringLiteral("1 of every")));
    everyNth->addWidget(m_everyNthField);
    everyNth->addWidget(unit(QStringLiteral("frames")));
    everyNth->addStretch(1);
    section->addLayout(everyNth);

    m_rest = button(QStringLiteral("The rest"), &FramesInspectorModel::selectRest);
    section->addWidget(m_rest);
    return section;
}

QWidget* FramesInspector::buildModifySection()
{
    auto* section = new InspectorSection(QStringLiteral("Modify"));
    m_skip = button(QStringLiteral("Skip"), nullptr);
    m_keep = button(QStringLiteral("Keep"), nullptr);
    connect(m_skip, &QPushButton::clicked, this, [this] { act([this] { m_model.setSkipped(true); }); });
    connect(m_keep, &QPushButton::clicked, this, [this] { act([this] { m_model.setSkipped(false); }); });
    QHBoxLayout* skipOrKeep = row();
    skipOrKeep->addWidget(m_skip, 1);
    skipOrKeep->addWidget(m_keep, 1);
    section->addLayout(skipOrKeep);

    section->addWidget(
        InspectorText::note(QStringLiteral("A skipped frame stays in the strip until Save. Its "
                                           "time folds into the frame before it, so the "
                                           "animation keeps its speed.")));

    m_delayField = new NumericField(Binding<qint64>([this] { return m_model.delay(); },
                                        [this](const qint64& delay) {
                                            m_model.setDelay(delay);
                                            refresh();
                                        }),
        54);
    QHBoxLayout* delay = row();
    delay->addWidget(m_delayField);
    delay->addWidget(unit(QStringLiteral("ms")));
    delay->addStretch(1);
    section->addLayout(delay);

    m_apply = button(QString(), &FramesInspectorModel::applyDelay);
    section->addWidget(m_apply);
    m_warning
        = new ThemedLabel(FramesInspectorModel::fastDelayWarning, Theme::monospacedFont(11), &Theme::rust);
    m_warning->setWordWrap(true);
    section->addWidget(m_warning);
    return section;
}

QWidget* FramesInspector::buildUniversalSection()
{
    auto* section = new InspectorSection(QStringLiteral("Universal"));
    m_reverse = button(QStringLiteral("Reverse order"), &FramesInspectorModel::reverseOrder);
    section->addWidget(m_reverse);
    return section;
}

void FramesInspector::setSources(
    Binding<FramesSpec> spec, Binding<FrameSelection> selection, std::vector<QImage> inputFrames)
{
    m_model.setSources(std::move(spec), std::move(selection), std::move(inputFrames));
    refresh();
}

void FramesInspector::act(const std::function<void()>& action)
{
    // The owner may replace this panel while it handles the write.
    const QPointer<FramesInspector> self(this);
    action();
    if (self)
        refresh();
}

void FramesInspector::refresh()
{
    const FramesInspectorModel::Look look = m_model.look();
    m_all->setEnabled(look.allEnabled);
    m_none->setEnabled(look.noneEnabled);
    m_duplicates->setText(look.duplicatesTitle);
    m_duplicates->setEnabled(look.duplicatesEnabled);
    m_rest->setEnabled(look.restEnabled);
    m_skip->setEnabled(look.modifyEnabled);
    m_keep->setEnabled(look.modifyEnabled);
    m_apply->setText(look.applyTitle);
    m_apply->setEnabled(look.modifyEnabled);
    m_warning->setVisible(look.showsFastDelayWarning);
    m_everyNthField->refresh();
    m_delayField->refresh();
}

} // namespace plenoria
