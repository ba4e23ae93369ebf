#include "TfrmMain.h"

#include "Artwork.h"
#include "MainController.h"
#include "Ribbon.h"
#include "layout/LayoutWindow.h"
#include "platform/Prompter.h"
#include "platform/ScreenFit.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace {

enum Tab
{
    OperationTab,
    BuildingTab,
    ConfigurationTab
};

struct GroupSpec
{
    const char* objectName;
    const char* caption;
    Tab tab;
};

// In ribbon order.
const GroupSpec kGroups[] = {
    {"rgControl", "Control", OperationTab},        {"rgLoading", "Panel", OperationTab},
    {"rgProgram", "Program", OperationTab},        {"rgPanels", "Panels", BuildingTab},
    {"rgInstruments", "Instruments", BuildingTab}, {"rgExchange", "Exchange", BuildingTab},
    {"rgNetwork", "Networking", ConfigurationTab}, {"rgHelp", "Help", ConfigurationTab},
};

struct ActionSpec
{
    const char* objectName;
    const char* caption;
    const char* group;
    bool large;
    QStyle::StandardPixmap icon;
};

// In ribbon order. Edit Panel stands in two groups.
const ActionSpec kActions[] = {
    {"aStartPanel", "&Start", "rgControl", true, QStyle::SP_MediaPlay},
    {"aStopPanel", "S&top", "rgControl", true, QStyle::SP_MediaStop},
    {"aLoadPanel", "&Load Panel", "rgLoading", true, QStyle::SP_DialogOpenButton},
    {"aEditSettings", "&Edit Panel", "rgLoading", false, QStyle::SP_FileDialogDetailedView},
    {"aSendToMonitor", "&Send To ...", "rgLoading", false, QStyle::SP_ComputerIcon},
    {"aLayout", "La&yout", "rgLoading", false, QStyle::SP_FileDialogListView},
    {"FileExit1", "E&xit", "rgProgram", true, QStyle::SP_DialogCloseButton},
    {"aNewPanel", "&New Panel", "rgPanels", true, QStyle::SP_FileDialogNewFolder},
    {"aEditSettings", "&Edit Panel", "rgPanels", false, QStyle::SP_FileDialogDetailedView},
    {"aCopyPanel", "&Copy Panel", "rgPanels", false, QStyle::SP_FileLinkIcon},
    {"aDeletePanel", "&Delete Panel", "rgPanels", false, QStyle::SP_TrashIcon},
    {"aAddInstrument", "&Add Instrument", "rgInstruments", false, QStyle::SP_FileIcon},
    {"a3rdParty", "A&dd 3rd Party App", "rgInstruments", false, QStyle::SP_DesktopIcon},
    {"aEditInstrument", "&Edit Settings", "rgInstruments", false, QStyle::SP_FileDialogContentsView},
    {"aDeleteInstrument", "&Remove", "rgInstruments", false, QStyle::SP_DialogDiscardButton},
    {"aResetPos", "Re&set Position", "rgInstruments", false, QStyle::SP_BrowserReload},
    {"aExport", "&Export Panel", "rgExchange", false, QStyle::SP_DialogSaveButton},
    {"aImport", "&Import Panel", "rgExchange", false, QStyle::SP_ArrowDown},
    {"aPortNumber", "&Network Config ", "rgNetwork", false, QStyle::SP_DriveNetIcon},
    {"aUserManual", "&User Manual", "rgHelp", false, QStyle::SP_DialogHelpButton},
    {"aWebSite", "Brondix &Website", "rgHelp", false, QStyle::SP_DirHomeIcon},
};

const char* const kTabs[] = {"Operation", "Building", "Configuration"};

// The groups that a running panel locks; "Control" never is.
const char* const kEditingGroups[] = {"rgLoading", "rgProgram", "rgPanels",  "rgInstruments",
                                      "rgNetwork", "rgHelp",    "rgExchange"};

constexpr int kFormWidth = 500;
constexpr int kRibbonHeight = 143;
constexpr int kBannerHeight = 60;
constexpr int kStatusHeight = 19;
constexpr int kColumnWidths[] = {400, 85, 300, 50, 50, 50, 50};

// Every cell is as high as its row's name cell with the check box. The list sizes its rows from the columns
// in view, so a panel loaded while the names are scrolled away would otherwise get rows too low for them.
class RowHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() != 0)
            size.setHeight(
                std::max(size.height(), QStyledItemDelegate::sizeHint(option, index.siblingAtColumn(0)).height()));
        return size;
    }
};

} // namespace

TfrmMain::TfrmMain(MainController& controller, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_controller(controller)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Varnolt DCS"));
    setWindowIcon(applicationIcon());
    setFont(interfaceFont());
    setFixedWidth(kFormWidth);
    setMinimumHeight(520);
    resize(kFormWidth, 520);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_ribbon = new Ribbon(this);
    m_ribbon->setObjectName(QStringLiteral("Ribbon"));
    m_ribbon->setFixedHeight(kRibbonHeight);
    layout->addWidget(m_ribbon);

    m_lvInstruments = new QTreeView(this);
    m_lvInstruments->setObjectName(QStringLiteral("lvInstruments"));
    m_lvInstruments->setRootIsDecorated(false);
    m_lvInstruments->setItemsExpandable(false);
    m_lvInstruments->setUniformRowHeights(true);
    m_lvInstruments->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvInstruments->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvInstruments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvInstruments->setModel(&controller.session().loaded().instruments());
    m_lvInstruments->setItemDelegate(new RowHeightDelegate(m_lvInstruments));
    m_lvInstruments->header()->setStretchLastSection(false);
    m_lvInstruments->header()->setSectionsMovable(false);
    // Never narrower than the caption, so no header is cut ("IP Addres"); the list scrolls sideways anyway.
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        m_lvInstruments->setColumnWidth(c, std::max(kColumnWidths[c], m_lvInstruments->header()->sectionSizeHint(c)));
    layout->addWidget(m_lvInstruments, 1);

    m_pBanner = new QWidget(this);
    m_pBanner->setObjectName(QStringLiteral("pBanner"));
    m_pBanner->setFixedHeight(kBannerHeight);
    auto* bannerLayout = new QVBoxLayout(m_pBanner);
    bannerLayout->setContentsMargins(0, 0, 0, 0);
    m_bannerImage = new QLabel(m_pBanner);
    m_bannerImage->setObjectName(QStringLiteral("bannerImage"));
    m_bannerImage->setAlignment(Qt::AlignCenter);
    bannerLayout->addWidget(m_bannerImage);
    layout->addWidget(m_pBanner);

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("lbStatusLine"));
    m_statusLine->setWordWrap(true);
    m_statusLine->setContentsMargins(4, 1, 4, 1);
    layout->addWidget(m_statusLine);

    m_sbMain = new QStatusBar(this);
    m_sbMain->setObjectName(QStringLiteral("sbMain"));
    m_sbMain->setFixedHeight(kStatusHeight);
    m_sbMain->setSizeGripEnabled(false);
    const int widths[] = {170, 200, 50};
    for (int i = 0; i < 3; ++i) {
        m_statusPanels[i] = new QLabel(m_sbMain);
        m_statusPanels[i]->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        m_statusPanels[i]->setFixedWidth(widths[i]);
        m_sbMain->addWidget(m_statusPanels[i]);
    }
    layout->addWidget(m_sbMain);

    buildRibbon();
    fitWidthToRibbon();
    buildApplicationMenu();
    wireActions();

    Session& session = controller.session();
    m_ribbon->setTitle(session.ribbonTitle());
    connect(&session.loaded(), &LoadedPanel::documentNameChanged, this,
            [this] { m_ribbon->setTitle(m_controller.session().ribbonTitle()); });
    connect(&controller, &MainController::actionsChanged, this, &TfrmMain::applyActionState);
    connect(&controller, &MainController::bannerChanged, this, &TfrmMain::showBanner);
    connect(&controller, &MainController::minimizeRequested, this, &QWidget::showMinimized);
    connect(&controller, &MainController::showRequested, this, &TfrmMain::showFromElsewhere);
    connect(&controller, &MainController::busyChanged, this, [](bool busy) {
        busy ? QGuiApplication::setOverrideCursor(Qt::WaitCursor) : QGuiApplication::restoreOverrideCursor();
    });
    applyActionState(controller.actions());
    connect(&controller.status(), &ProgramStatus::changed, this, &TfrmMain::showStatus);
    showStatus(controller.status().texts());
}

QAction* TfrmMain::action(const QString& objectName) const
{
    const auto it = m_actions.find(objectName);
    return it == m_actions.end() ? nullptr : it->second;
}

RibbonGroup* TfrmMain::group(const QString& objectName) const
{
    const auto it = m_groups.find(objectName);
    return it == m_groups.end() ? nullptr : it->second;
}

void TfrmMain::buildRibbon()
{
    for (const char* tab : kTabs)
        m_ribbon->addTab(QString::fromLatin1(tab));
    for (const GroupSpec& g : kGroups)
        m_groups[QString::fromLatin1(g.objectName)] =
            m_ribbon->addGroup(g.tab, QString::fromLatin1(g.objectName), QString::fromLatin1(g.caption));

    for (const ActionSpec& a : kActions) {
        const QString name = QString::fromLatin1(a.objectName);
        QAction*& action = m_actions[name];
        if (!action) {
            action = new QAction(standardIconWhenShown(a.icon), QString::fromLatin1(a.caption), this);
            action->setObjectName(name);
            // Buttons show the caption as it stands, access key and trailing "..." included.
            action->setIconText(action->text());
        }
        RibbonGroup* group = m_groups.at(QString::fromLatin1(a.group));
        a.large ? group->addLarge(action) : group->addSmall(action);
    }
    action(QStringLiteral("FileExit1"))->setToolTip(QStringLiteral("Exit"));
    action(QStringLiteral("FileExit1"))->setStatusTip(QStringLiteral("Quits the application"));
}

void TfrmMain::buildApplicationMenu()
{
    m_appMenu = new QMenu(this);
    m_appMenu->setObjectName(QStringLiteral("applicationMenu"));
    // The sub-menu's caption was a placeholder name users could read; it holds the help entries.
    QMenu* shortcuts = m_appMenu->addMenu(QStringLiteral("&Help"));
    shortcuts->setObjectName(QStringLiteral("ActionClientItem0"));
    // The shortcut the menu shows opens that sub-menu below the menu button; on the window, so it works
    // without the menu open.
    QAction* openShortcuts = shortcuts->menuAction();
    openShortcuts->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    addAction(openShortcuts);
    connect(openShortcuts, &QAction::triggered, this, [this, shortcuts] {
        const QToolButton* button = m_ribbon->applicationButton();
        if (button->isEnabled() && !shortcuts->isVisible())
            shortcuts->popup(button->mapToGlobal(QPoint(0, button->height())));
    });
    shortcuts->addAction(action(QStringLiteral("aWebSite")));
    shortcuts->addAction(action(QStringLiteral("aUserManual")));
    // Not in the ribbon: the ribbon's groups are as they have always been.
    auto* showLog = new QAction(QStringLiteral("Show &Log"), this);
    showLog->setObjectName(QStringLiteral("aShowLog"));
    m_actions[showLog->objectName()] = showLog;
    shortcuts->addAction(showLog);
    m_appMenu->addSeparator();
    m_appMenu->addAction(action(QStringLiteral("FileExit1")));
    m_ribbon->applicationButton()->setMenu(m_appMenu);
    m_ribbon->applicationButton()->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F));
}

void TfrmMain::run(void (MainController::*handler)())
{
    // The object and the member pointer are captured by name: GCC's UBSan misreads a [&] capture of them
    // through std::function as a member access on a wrong type.
    runGuarded(m_controller.session().prompter(), [&c = m_controller, handler] { (c.*handler)(); });
}

void TfrmMain::wireActions()
{
    const auto on = [this](const char* name, void (MainController::*handler)()) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, [this, handler] { run(handler); });
    };
    connect(action(QStringLiteral("FileExit1")), &QAction::triggered, this, &QWidget::close);
    on("aNewPanel", &MainController::aNewPanelExecute);
    on("aEditSettings", &MainController::aEditSettingsExecute);
    on("aCopyPanel", &MainController::aCopyPanelExecute);
    on("aDeletePanel", &MainController::aDeletePanelExecute);
    on("aLoadPanel", &MainController::aLoadPanelExecute);
    on("aUserManual", &MainController::aUserManualExecute);
    on("aWebSite", &MainController::aWebSiteExecute);
    on("aShowLog", &MainController::aShowLogExecute);
    on("aPortNumber", &MainController::aPortNumberExecute);
    on("aStartPanel", &MainController::aStartPanelExecute);
    on("aStopPanel", &MainController::aStopPanelExecute);
    on("aAddInstrument", &MainController::aAddInstrumentExecute);
    on("a3rdParty", &MainController::a3rdPartyExecute);
    on("aEditInstrument", &MainController::aEditInstrumentExecute);
    on("aDeleteInstrument", &MainController::aDeleteInstrumentExecute);
    on("aResetPos", &MainController::aResetPosExecute);
    connect(m_lvInstruments, &QAbstractItemView::doubleClicked, this,
            [this] { run(&MainController::lvInstrumentsDblClick); });
    on("aSendToMonitor", &MainController::aSendToMonitorExecute);
    on("aExport", &MainController::aExportExecute);
    connect(action(QStringLiteral("aLayout")), &QAction::triggered, this, [this] {
        LayoutWindow* w = layoutWindow();
        w->show();
        w->raise();
        w->activateWindow();
    });
    on("aImport", &MainController::aImportExecute);

    InstrumentListModel& model = m_controller.session().loaded().instruments();
    connect(m_lvInstruments->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&model](const QModelIndex& current) { model.select(current.isValid() ? current.row() : -1); });
    connect(&model, &InstrumentListModel::selectionChanged, this, &TfrmMain::syncSelectionFromModel);
}

TfrmMain::~TfrmMain()
{
    delete m_layoutWindow;
}

LayoutWindow* TfrmMain::layoutWindow()
{
    // A window of its own, not a child: it stays on show when the main window is minimised by Start.
    if (!m_layoutWindow) {
        m_layoutWindow = new LayoutWindow(m_controller.layout(), m_controller.session().loaded().instruments());
        // First shown over the main window, on its monitor, and no larger than that monitor's free area: at
        // scale 2 a screen of 800 lines has room for 400.
        QRect placed(QPoint(), m_layoutWindow->size());
        placed.moveCenter(frameGeometry().center());
        m_layoutWindow->move(placed.topLeft());
        fitOnScreen(*m_layoutWindow);
    }
    return m_layoutWindow;
}

void TfrmMain::syncSelectionFromModel(int row)
{
    auto* selection = m_lvInstruments->selectionModel();
    if (row < 0) {
        // Without a current row a later click on the row that was current is seen as a new selection.
        selection->clearCurrentIndex();
        selection->clearSelection();
        return;
    }
    const QModelIndex index = m_controller.session().loaded().instruments().index(row, 0);
    if (selection->currentIndex().row() != row)
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TfrmMain::applyActionState(const ActionState& state)
{
    action(QStringLiteral("aStartPanel"))->setEnabled(state.startEnabled);
    action(QStringLiteral("aStopPanel"))->setEnabled(state.stopEnabled);
    action(QStringLiteral("aSendToMonitor"))->setEnabled(state.sendToEnabled);
    action(QStringLiteral("aAddInstrument"))->setEnabled(state.addRowsEnabled);
    action(QStringLiteral("a3rdParty"))->setEnabled(state.addRowsEnabled);
    for (const char* g : kEditingGroups)
        group(QString::fromLatin1(g))->setEnabled(state.groupsEnabled);
    // The application menu repeats Exit and the help actions, so it follows their groups.
    m_ribbon->applicationButton()->setEnabled(state.groupsEnabled);
}

void TfrmMain::showStatus(const StatusTexts& texts)
{
    // The panels keep their widths; what does not fit is cut with "..." and shown whole in the tool tip.
    const auto fit = [](QLabel* label, const QString& text, const QString& tip) {
        const int room = label->width() - label->contentsMargins().left() - label->contentsMargins().right() - 4;
        label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, room));
        label->setToolTip(tip);
    };
    fit(m_statusPanels[0], texts.listener, texts.listenerDetail);
    fit(m_statusPanels[1], texts.panel, texts.panel);
    const bool problem = !texts.problem.isEmpty();
    m_statusLine->setText(problem ? texts.problem : texts.activity);
    m_statusLine->setProperty("problem", problem);
    // A listener that hears nothing must not look like one that hears everything.
    m_statusLine->setStyleSheet(problem ? QStringLiteral("QLabel { background: #fff3c4; color: #7a1f00; }")
                                        : QString());
}

void TfrmMain::showFromElsewhere()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TfrmMain::showBanner(const QString& imagePath)
{
    QPixmap picture;
    // A banner that cannot be read is hidden like a missing one; start-up goes on.
    if (imagePath.isEmpty() || !picture.load(imagePath)) {
        m_pBanner->hide();
        return;
    }
    m_bannerImage->setPixmap(
        picture.scaled(QSize(width(), kBannerHeight), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_pBanner->show();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    fitOnScreen(*this);
    m_statusPanels[2]->setText(m_controller.versionText());
    m_ribbon->setCurrentTab(OperationTab);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Closing always closes: a failed save has been shown and must not trap the user.
    m_controller.FormClose();
    event->accept();
    // The layout view is a window of its own; left open it would keep the program running after its close.
    if (m_layoutWindow)
        m_layoutWindow->close();
}

// The window is 500 pixels wide, as laid out for an 8-point Tahoma. In any other font (a stand-in where the
// system has no Tahoma) it takes the width the ribbon asks for, rather than cut its captions ("Add I...ument").
void TfrmMain::fitWidthToRibbon()
{
    const bool designedFont = font().family() == QLatin1String("Tahoma") && font().pointSize() == 8;
    setFixedWidth(designedFont ? kFormWidth : std::max(kFormWidth, m_ribbon->neededWidth()));
}

void TfrmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Once the buttons have taken the new font and their layouts have let go of the old sizes.
    if (event->type() == QEvent::FontChange && m_ribbon)
        QMetaObject::invokeMethod(this, &TfrmMain::fitWidthToRibbon, Qt::QueuedConnection);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
        m_controller.OnRestore();
}
