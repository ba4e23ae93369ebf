#include "Ribbon.h"

#include "Artwork.h"
#include "BuiltPictures.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int kSmallIcon = BuiltPictures::SmallSize;
constexpr int kLargeIcon = BuiltPictures::LargeSize;
constexpr int kSmallRows = 3;
} // namespace

RibbonGroup::RibbonGroup(const QString& caption, QWidget* parent) : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 1);
    outer->setSpacing(0);
    m_buttons = new QGridLayout;
    m_buttons->setContentsMargins(0, 0, 0, 0);
    m_buttons->setHorizontalSpacing(0);
    m_buttons->setVerticalSpacing(0);
    outer->addLayout(m_buttons);
    outer->addStretch(1);
    m_caption = new QLabel(caption, this);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setObjectName(QStringLiteral("groupCaption"));
    outer->addWidget(m_caption);
}

QString RibbonGroup::caption() const
{
    return m_caption->text();
}

QToolButton* RibbonGroup::addLarge(QAction* action)
{
    if (m_smallRow > 0) {
        ++m_column;
        m_smallRow = 0;
    }
    auto* b = new QToolButton(this);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(kLargeIcon, kLargeIcon));
    b->setAutoRaise(true);
    b->setProperty("large", true);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_buttons->addWidget(b, 0, m_column++, kSmallRows, 1, Qt::AlignTop);
    return b;
}

QToolButton* RibbonGroup::addSmall(QAction* action)
{
    auto* b = new QToolButton(this);
    b->setDefaultAction(action);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setIconSize(QSize(kSmallIcon, kSmallIcon));
    b->setAutoRaise(true);
    b->setProperty("large", false);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_buttons->addWidget(b, m_smallRow, m_column, Qt::AlignTop);
    if (++m_smallRow == kSmallRows) {
        m_smallRow = 0;
        ++m_column;
    }
    return b;
}

Ribbon::Ribbon(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("ribbonTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setContentsMargins(0, 2, 0, 2);
    // The title never widens the window; what does not fit is elided instead.
    m_title->setMinimumWidth(1);
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_title);

    auto* tabRow = new QHBoxLayout;
    tabRow->setContentsMargins(2, 0, 2, 0);
    tabRow->setSpacing(4);
    m_appButton = new QToolButton(this);
    m_appButton->setObjectName(QStringLiteral("applicationMenuButton"));
    m_appButton->setText(QStringLiteral("Shortcuts"));
    m_appButton->setToolTip(QStringLiteral("Shortcuts (F)"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_appButton->setIcon(applicationIcon());
    tabRow->addWidget(m_appButton);
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("ribbonTabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    tabRow->addWidget(m_tabs, 1);
    layout->addLayout(tabRow);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("ribbonPages"));
    m_pages->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_pages, 1);
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
}

void Ribbon::setTitle(const QString& title)
{
    m_fullTitle = title;
    showTitle();
}

void Ribbon::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showTitle();
}

void Ribbon::showTitle()
{
    // Cut at the end: the panel name comes first and stays readable when a long aircraft name follows it.
    const int room = width() - m_title->contentsMargins().left() - m_title->contentsMargins().right() - 8;
    const QString shown = m_title->fontMetrics().elidedText(m_fullTitle, Qt::ElideRight, std::max(room, 0));
    m_title->setText(shown);
    m_title->setToolTip(shown == m_fullTitle ? QString() : m_fullTitle);
}

int Ribbon::addTab(const QString& caption)
{
    auto* page = new QWidget(m_pages);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);
    row->addStretch(1);
    m_pages->addWidget(page);
    return m_tabs->addTab(caption);
}

RibbonGroup* Ribbon::addGroup(int tab, const QString& objectName, const QString& caption)
{
    QWidget* page = m_pages->widget(tab);
    auto* row = static_cast<QHBoxLayout*>(page->layout());
    if (row->count() > 1) {
        auto* line = new QFrame(page);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        row->insertWidget(row->count() - 1, line);
    }
    auto* group = new RibbonGroup(caption, page);
    group->setObjectName(objectName);
    row->insertWidget(row->count() - 1, group);
    return group;
}

int Ribbon::tabCount() const
{
    return m_tabs->count();
}

QString Ribbon::tabText(int tab) const
{
    return m_tabs->tabText(tab);
}

QList<RibbonGroup*> Ribbon::groups(int tab) const
{
    return m_pages->widget(tab)->findChildren<RibbonGroup*>(Qt::FindDirectChildrenOnly);
}

int Ribbon::neededWidth() const
{
    int widest = 0;
    for (int tab = 0; tab < m_pages->count(); ++tab) {
        QWidget* page = m_pages->widget(tab);
        // A tab not shown keeps the sizes its layouts worked out for the font it had then.
        for (RibbonGroup* group : groups(tab)) {
            for (QLayout* layout : group->findChildren<QLayout*>())
                layout->invalidate();
            group->updateGeometry();
        }
        page->layout()->invalidate();
        widest = std::max(widest, page->sizeHint().width());
    }
    return widest + 2 * m_pages->frameWidth();
}

void Ribbon::setCurrentTab(int tab)
{
    m_tabs->setCurrentIndex(tab);
}

int Ribbon::currentTab() const
{
    return m_tabs->currentIndex();
}
