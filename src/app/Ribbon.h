#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QVBoxLayout;
class QGridLayout;

// A labelled block of buttons on a ribbon tab: large buttons side by side, small ones in columns of three.
class RibbonGroup : public QWidget
{
    Q_OBJECT

public:
    RibbonGroup(const QString& caption, QWidget* parent = nullptr);

    QToolButton* addLarge(QAction* action);
    QToolButton* addSmall(QAction* action);
    QString caption() const;

private:
    QGridLayout* m_buttons;
    QLabel* m_caption;
    int m_column = 0;
    int m_smallRow = 0;
};

// A command bar in the manner of a ribbon: the caption area, the application menu button, the tabs and
// their groups.
class Ribbon : public QWidget
{
    Q_OBJECT

public:
    explicit Ribbon(QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return m_fullTitle; }

    int addTab(const QString& caption);
    RibbonGroup* addGroup(int tab, const QString& objectName, const QString& caption);
    int tabCount() const;
    QString tabText(int tab) const;
    QList<RibbonGroup*> groups(int tab) const;
    // The width at which the widest tab shows every group as large as it asks to be.
    int neededWidth() const;
    void setCurrentTab(int tab);
    int currentTab() const;

    QToolButton* applicationButton() const { return m_appButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTitle();

    QString m_fullTitle;
    QLabel* m_title;
    QToolButton* m_appButton;
    QTabBar* m_tabs;
    QStackedWidget* m_pages;
};
