#include "app/SettingsView.h"

#include "app/FilingPane.h"
#include "app/GeneralPane.h"
#include "app/PaneForm.h"
#include "app/PreviewPane.h"
#include "app/RestorationPane.h"
#include "app/SettingsController.h"
#include "imaging/model/Theme.h"
#include "inspectors/controls/Divider.h"
#include "inspectors/controls/SymbolIcon.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace plenoria {

namespace {

constexpr int tabSymbolSize = 22;

} // namespace

SettingsView::SettingsView(Preferences& prefs, FolderStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_controller(new SettingsController(prefs, store, this))
    , m_tabs(new QButtonGroup(this))
    , m_panes(new QStackedWidget)
    , m_general(new GeneralPane(*m_controller))
    , m_preview(new PreviewPane(*m_controller))
    , m_filing(new FilingPane(*m_controller))
    , m_restoration(new RestorationPane(*m_controller))
{
    setWindowTitle(QStringLiteral("Plenoria Settings"));
    // Closes like a dialog; every value is already stored, so there is nothing to confirm.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(8, 6, 8, 6);
    tabRow->setSpacing(2);
    tabRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(tabRow);
    layout->addWidget(new Divider);
    layout->addWidget(m_panes);

    addTab(QStringLiteral("General"), QStringLiteral("configure"), m_general);
    addTab(QStringLiteral("Preview"), QStringLiteral("contrast"), m_preview);
    addTab(QStringLiteral("Filing"), QStringLiteral("mail-folder-inbox"), m_filing);
    addTab(QStringLiteral("Restoration"), QStringLiteral("tools-wizard"), m_restoration);
    for (QToolButton* button : std::as_const(m_tabButtons))
        tabRow->addWidget(button);
    tabRow->addStretch(1);

    // The platform keeps the chosen tab for as long as the window lives.
    connect(m_tabs, &QButtonGroup::idClicked, this, &SettingsView::showPane);
    // A pane can grow a line (a failed reveal): the window follows its height. Connected after the
    // panes, so they have laid it out first.
    connect(m_controller, &SettingsController::changed, this,
        [this] { m_panes->setFixedSize(m_panes->currentWidget()->sizeHint()); });
    connect(ThemeNotifier::instance(), &ThemeNotifier::appearanceChanged, this, &SettingsView::applyTabIcons);
    showPane(0);
}

void SettingsView::addTab(const QString& title, const QString& symbol, QWidget* pane)
{
    auto* button = new QToolButton;
    button->setText(title);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(tabSymbolSize, tabSymbolSize));
    button->setMinimumWidth(84);
    button->setFocusPolicy(Qt::TabFocus);
    m_tabs->addButton(button, static_cast<int>(m_tabButtons.size()));
    m_tabButtons.append(button);
    m_symbols.append(symbol);
    m_panes->addWidget(pane);
}

void SettingsView::showPane(int index)
{
    // The window takes the chosen pane's height: the hidden panes stop counting.
    for (int page = 0; page < m_panes->count(); ++page) {
        m_panes->widget(page)->setSizePolicy(
            QSizePolicy::Fixed, page == index ? QSizePolicy::Fixed : QSizePolicy::Ignored);
    }
    m_panes->setCurrentIndex(index);
    m_tabButtons.at(index)->setChecked(true);
    applyTabIcons();
    m_panes->setFixedSize(m_panes->currentWidget()->sizeHint());
}

SettingsView::Tab SettingsView::currentTab() const
{
    return static_cast<Tab>(m_panes->currentIndex());
}

void SettingsView::setCurrentTab(Tab tab)
{
    showPane(static_cast<int>(tab));
}

QStringList SettingsView::tabTitles() const
{
    QStringList titles;
    for (const QToolButton* button : m_tabButtons)
        titles.append(button->text());
    return titles;
}

void SettingsView::applyTabIcons()
{
    for (int index = 0; index < m_tabButtons.size(); ++index) {
        QToolButton* button = m_tabButtons.at(index);
        const QColor tint = button->isChecked() ? Theme::moss() : Theme::inkSecondary();
        button->setIcon(SymbolIcon::icon(m_symbols.at(index), tabSymbolSize, tint));
        QPalette palette = button->palette();
        palette.setColor(QPalette::ButtonText, tint);
        button->setPalette(palette);
    }
}

void SettingsView::changeEvent(QEvent* event)
{
    // The backups folder may have appeared or gone while the window was in the background.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_controller->refresh();
    QWidget::changeEvent(event);
}

} // namespace plenoria
