#pragma once

#include <QWidget>

#include <map>

class LayoutWindow;
class MainController;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTreeView;
class Ribbon;
class RibbonGroup;
struct ActionState;
struct StatusTexts;

// The main window: the ribbon, the instrument list, the banner strip and the status bar, bound to a
// MainController that holds the state and the reactions.
class TfrmMain : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMain(MainController& controller, QWidget* parent = nullptr);
    ~TfrmMain() override;

    MainController& controller() { return m_controller; }
    Ribbon* ribbon() const { return m_ribbon; }
    QAction* action(const QString& objectName) const;
    RibbonGroup* group(const QString& objectName) const;
    QTreeView* instrumentList() const { return m_lvInstruments; }
    QMenu* applicationMenu() const { return m_appMenu; }
    // The layout view's window, made when first asked for and kept for the run (with its size and place).
    LayoutWindow* layoutWindow();
    QLabel* statusLine() const { return m_statusLine; }
    // Brings the window back from wherever it is (minimised, behind others): restoring a minimised window
    // stops a running panel, as it does from the taskbar.
    void showFromElsewhere();
    QLabel* statusPanel(int index) const { return m_statusPanels[index]; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildRibbon();
    void fitWidthToRibbon();
    void buildApplicationMenu();
    void wireActions();
    void applyActionState(const ActionState& state);
    void showBanner(const QString& imagePath);
    void syncSelectionFromModel(int row);
    void showStatus(const StatusTexts& texts);
    // Runs an action's handler through the general error display.
    void run(void (MainController::*handler)());

    MainController& m_controller;
    Ribbon* m_ribbon = nullptr;
    QMenu* m_appMenu = nullptr;
    QTreeView* m_lvInstruments = nullptr;
    QWidget* m_pBanner = nullptr;
    QLabel* m_bannerImage = nullptr;
    QStatusBar* m_sbMain = nullptr;
    QLabel* m_statusPanels[3] = {};
    // Above the status bar: the last record, the aircraft and the relay, or why records are not received.
    QLabel* m_statusLine = nullptr;
    std::map<QString, QAction*> m_actions;
    std::map<QString, RibbonGroup*> m_groups;
    bool m_shown = false;
    LayoutWindow* m_layoutWindow = nullptr;
};
