#include "FolderControls.h"

#include "ElidedLabel.h"
#include "SymbolIcon.h"
#include "Theme.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace plenoria {

namespace {

constexpr int iconSide = 12;

} // namespace

FolderControls::FolderControls(QWidget* parent)
    : QWidget(parent)
    , m_icon(new QLabel)
    , m_name(new ElidedLabel(QString(), Theme::monospacedFont(12), &Theme::inkSecondary, Qt::ElideMiddle))
    , m_label(new QWidget)
    , m_buttons(new QWidget)
    , m_refresh(new QPushButton(QStringLiteral("Refresh")))
    , m_change(new QPushButton(QStringLiteral("Change Folder\u2026")))
    , m_layout(new QBoxLayout(QBoxLayout::LeftToRight, this))
{
    auto* labelLayout = new QHBoxLayout(m_label);
    labelLayout->setContentsMargins(0, 0, 0, 0);
    labelLayout->setSpacing(4);
    labelLayout->addWidget(m_icon);
    labelLayout->addWidget(m_name, 1);

    auto* buttonLayout = new QHBoxLayout(m_buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(10);
    for (QPushButton* button : {m_refresh, m_change}) {
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);
        buttonLayout->addWidget(button);
    }

    m_layout->setContentsMargins(0, 0, 0, 0);
    arrange(false);
    applyIcon();
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &FolderControls::applyIcon);
    connect(m_refresh, &QPushButton::clicked, this, &FolderControls::refreshRequested);
    connect(m_change, &QPushButton::clicked, this, &FolderControls::changeFolderRequested);
}

void FolderControls::applyIcon()
{
    m_icon->setPixmap(
        SymbolIcon::pixmap(QStringLiteral("folder"), iconSide, Theme::inkSecondary(), devicePixelRatioF()));
}

void FolderControls::setFolder(const QString& path)
{
    m_name->setText(QFileInfo(path).fileName());
    m_label->setToolTip(QDir::toNativeSeparators(path));
    updateGeometry();
    arrange(width() < sideBySideWidth());
}

int FolderControls::sideBySideWidth() const
{
    return m_icon->sizeHint().width() + 4 + m_name->sizeHint().width() + 12 + m_buttons->sizeHint().width();
}

QSize FolderControls::sizeHint() const
{
    const int height = std::max(m_label->sizeHint().height(), m_buttons->sizeHint().height());
    return {sideBySideWidth(),
        m_stacked ? m_label->sizeHint().height() + 8 + m_buttons->sizeHint().height() : height};
}

QSize FolderControls::minimumSizeHint() const
{
    const int width = std::max(m_buttons->sizeHint().width(), m_label->minimumSizeHint().width());
    return {width, sizeHint().height()};
}

void FolderControls::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(width() < sideBySideWidth());
}

void FolderControls::arrange(bool stacked)
{
    if (stacked == m_stacked && m_layout->count() > 0)
        return;
    m_stacked = stacked;
    while (m_layout->count() > 0)
        delete m_layout->takeAt(0);
    if (stacked) {
        m_layout->setDirection(QBoxLayout::TopToBottom);
        m_layout->setSpacing(8);
        m_layout->addWidget(m_label, 0, Qt::AlignRight);
        m_layout->addWidget(m_buttons, 0, Qt::AlignRight);
    } else {
        m_layout->setDirection(QBoxLayout::LeftToRight);
        m_layout->setSpacing(12);
        m_layout->addStretch(1);
        m_layout->addWidget(m_label);
        m_layout->addWidget(m_buttons);
    }
    updateGeometry();
}

} // namespace plenoria
