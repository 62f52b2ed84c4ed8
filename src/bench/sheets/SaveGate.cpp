#include "bench/sheets/SaveGate.h"

#include "bench/model/BenchModel.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/ProminentButton.h"
#include "inspectors/controls/ThemedLabel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace plenoria {

SaveGate::SaveGate(BenchModel& model, QWidget* parent)
    : BenchSheet(sheetWidth, parent)
    , m_model(model)
    , m_variant(model.saveLosesTransparency() ? Variant::refusal : Variant::save)
{
    const QString file = model.fileName();
    const bool refusal = m_variant == Variant::refusal;
    const QString title = refusal ? QStringLiteral("Can't save ") + file
                                  : QStringLiteral("Save changes to ") + file + QLatin1Char('?');
    setWindowTitle(title);
    m_title = new ThemedLabel(title, Theme::serifFont(19, QFont::DemiBold), &Theme::ink);
    m_message = refusal
        ? new ThemedLabel(
            QStringLiteral("This file format does not support transparency. Export a WEBP, PNG, or "
                           "GIF instead. If you really want to save this format, your selected "
                           "Ground treatment can replace it with whatever color you like."),
            Theme::serifFont(14), &Theme::rust)
        : new ThemedLabel(QStringLiteral("This file will replace the original in the collection."),
            Theme::serifFont(14), &Theme::inkSecondary);
    for (ThemedLabel* label : {m_title, m_message})
        label->setWordWrap(true);

    column()->addWidget(m_title);
    column()->addWidget(m_message);
    if (!refusal)
        column()->addWidget(buildBackupToggle());
    column()->addWidget(buildButtons(refusal ? QStringLiteral("Export") : QStringLiteral("Save")));
    // Return takes the prominent button wherever the focus is; Space the focused control.
    (refusal ? static_cast<QWidget*>(m_keepEditing) : m_backup)->setFocus(Qt::OtherFocusReason);
}

QWidget* SaveGate::buildBackupToggle()
{
    m_backup = new QCheckBox;
    m_backup->setAccessibleName(QStringLiteral("Back up the original"));
    m_backup->setChecked(m_model.backupOriginal());
    connect(m_backup, &QCheckBox::toggled, &m_model, &BenchModel::setBackupOriginal);
    connect(&m_model, &BenchModel::changed, m_backup, [this](BenchModel::Changes changes) {
        if (!(changes & BenchModel::Change::backupOriginal))
            return;
        const QSignalBlocker blocker(m_backup);
        m_backup->setChecked(m_model.backupOriginal());
    });

    // The two lines are the checkbox's label: clicking them flips it too.
    m_backupLabels = new QWidget;
    m_backupLabels->setCursor(Qt::PointingHandCursor);
    m_backupLabels->installEventFilter(this);
    auto* labels = new QVBoxLayout(m_backupLabels);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setSpacing(1);
    for (auto* label :
        {new ThemedLabel(QStringLiteral("Back up the original"), Theme::serifFont(14), &Theme::ink),
            new ThemedLabel(
                QStringLiteral("Restore it any time."), Theme::monospacedFont(11), &Theme::inkFaint)}) {
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        labels->addWidget(label);
    }

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_backup, 0, Qt::AlignTop);
    layout->addWidget(m_backupLabels);
    layout->addStretch(1);
    return row;
}

QWidget* SaveGate::buildButtons(const QString& action)
{
    m_keepEditing = new QPushButton(QStringLiteral("Keep editing"));
    m_keepEditing->setAutoDefault(false);
    m_action = new ProminentButton(action);
    m_action->setDefault(true);
    connect(m_keepEditing, &QPushButton::clicked, &m_model, &BenchModel::keepEditing);
    if (m_variant == Variant::refusal)
        connect(m_action, &QPushButton::clicked, &m_model, &BenchModel::switchToExport);
    else
        connect(m_action, &QPushButton::clicked, &m_model, &BenchModel::confirmSave);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addStretch(1);
    layout->addWidget(m_keepEditing);
    layout->addWidget(m_action);
    return row;
}

bool SaveGate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_backupLabels)
        return BenchSheet::eventFilter(watched, event);
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse || mouse->button() != Qt::LeftButton)
        return false;
    if (event->type() == QEvent::MouseButtonPress)
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        if (m_backupLabels->rect().contains(mouse->position().toPoint()))
            m_backup->toggle();
        return true;
    }
    return false;
}

} // namespace plenoria
