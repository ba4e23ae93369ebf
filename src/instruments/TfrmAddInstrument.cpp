#include "TfrmAddInstrument.h"

#include "AddInstrumentModel.h"
#include "platform/Paths.h"
#include "platform/ScreenFit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The stored sizes are those of the whole window; the frame around the client area takes this much.
constexpr int kFrameWidth = 16;
constexpr int kClientHeight = 576;
constexpr QSize kImageSize(281, 265);

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

TfrmAddInstrument::TfrmAddInstrument(AddInstrumentModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_model(model)
{
    setObjectName(QStringLiteral("frmAddInstrument"));
    setModal(true);
    // On a screen too low for the whole dialog (a large scale factor) the picture gives up the height.
    m_clientHeight = std::min(kClientHeight, roomOnScreen(*this).height());
    const int imageHeight = std::max(kImageSize.height() - (kClientHeight - m_clientHeight), kImageSize.height() / 3);
    m_imageSize = QSize(kImageSize.width() * imageHeight / kImageSize.height(), imageHeight);
    build();
    wire();
    refresh();
    resize(width(), m_clientHeight);
    if (parent)
        move(parent->geometry().center() - rect().center());
}

void TfrmAddInstrument::build()
{
    auto* layout = new QVBoxLayout(this);
    auto* panes = new QHBoxLayout;
    layout->addLayout(panes, 1);

    // The detail pane keeps the width the narrowed edit window leaves for it, in both modes.
    auto* detailPane = named(new QWidget(this), "pDetail");
    detailPane->setFixedWidth(AddInstrumentModel::EditWidth - kFrameWidth -
                              2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin));
    panes->addWidget(detailPane);
    auto* detail = new QVBoxLayout(detailPane);
    detail->setContentsMargins(0, 0, 0, 0);
    m_edImage = named(new QLabel(this), "edImage");
    m_edImage->setFixedSize(m_imageSize);
    m_edImage->setAlignment(Qt::AlignCenter);
    detail->addWidget(m_edImage, 0, Qt::AlignHCenter);
    detail->addWidget(heading(QStringLiteral("Instrument"), this));
    m_lName = named(heading(QString(), this), "lName");
    detail->addWidget(m_lName);
    m_edLong = named(new QLineEdit(this), "edLong");
    m_edLong->setReadOnly(true);
    detail->addWidget(m_edLong);
    detail->addWidget(heading(QStringLiteral("Description"), this));
    m_edDescription = named(new QPlainTextEdit(this), "edDescription");
    detail->addWidget(m_edDescription, 1);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Port No"), this), 0, 0);
    fields->addWidget(new QLabel(QStringLiteral("EXE File Name"), this), 0, 1);
    m_edPort = named(new QLineEdit(this), "edPort");
    m_edPort->setFixedWidth(70);
    fields->addWidget(m_edPort, 1, 0);
    m_edPathName = named(new QLineEdit(this), "edPathName");
    m_edPathName->setReadOnly(true);
    fields->addWidget(m_edPathName, 1, 1);
    detail->addLayout(fields);

    m_browser = named(new QWidget(this), "pBrowser");
    panes->addWidget(m_browser, 1);
    auto* browser = new QVBoxLayout(m_browser);
    browser->setContentsMargins(0, 0, 0, 0);
    browser->addWidget(heading(QStringLiteral("Instrument Set"), m_browser));
    m_cbInstrumentSet = named(new QComboBox(m_browser), "cbInstrumentSet");
    browser->addWidget(m_cbInstrumentSet);
    m_lvInstruments = named(new QTreeWidget(m_browser), "lvInstruments");
    m_lvInstruments->setHeaderLabels({QStringLiteral("Available Instruments"), QStringLiteral("FileName")});
    m_lvInstruments->setRootIsDecorated(false);
    m_lvInstruments->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvInstruments->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvInstruments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lvInstruments->header()->resizeSection(0, 125);
    browser->addWidget(m_lvInstruments, 1);
    auto* types = named(new QGroupBox(QStringLiteral("Instrument Type"), m_browser), "rgType");
    auto* typeGrid = new QGridLayout(types);
    m_rgType = new QButtonGroup(this);
    const int rows = int(AddInstrumentModel::TypeCaptions.size() + 1) / 2;
    for (int i = 0; i < AddInstrumentModel::TypeCaptions.size(); ++i) {
        auto* item = new QRadioButton(AddInstrumentModel::TypeCaptions[i], types);
        item->setObjectName(QStringLiteral("rgType_%1").arg(i));
        m_rgType->addButton(item, i);
        typeGrid->addWidget(item, i % rows, i / rows);
    }
    browser->addWidget(types);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_bbOK = named(new QPushButton(this), "bbOK");
    m_bbOK->setDefault(true);
    buttons->addWidget(m_bbOK);
    m_bbCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel");
    buttons->addWidget(m_bbCancel);
    layout->addLayout(buttons);
}

template <typename F> void TfrmAddInstrument::react(F&& reaction)
{
    if (m_refreshing)
        return;
    reaction();
    refresh();
}

void TfrmAddInstrument::wire()
{
    connect(m_cbInstrumentSet, &QComboBox::currentIndexChanged, this,
            [this](int index) { react([&] { m_model.cbInstrumentSetChange(index); }); });
    connect(m_rgType, &QButtonGroup::idClicked, this, [this](int id) { react([&] { m_model.selectType(id); }); });
    connect(m_lvInstruments, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            react([&] { m_model.lvInstrumentsSelectItem(m_lvInstruments->indexOfTopLevelItem(item)); });
    });
    connect(m_lvInstruments, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_refreshing)
            m_model.setChecked(m_lvInstruments->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
    connect(m_edPort, &QLineEdit::textEdited, this, [this](const QString& t) { m_model.edPort = t; });
    connect(m_edDescription, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_refreshing)
            m_model.edDescription = m_edDescription->toPlainText();
    });
    connect(m_bbOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAddInstrument::fillList()
{
    m_lvInstruments->clear();
    for (const AddInstrumentModel::Item& entry : m_model.items()) {
        auto* item = new QTreeWidgetItem(m_lvInstruments, {entry.displayName, entry.fileName});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    }
    m_shownGeneration = m_model.listGeneration();
}

void TfrmAddInstrument::refresh()
{
    m_refreshing = true;
    setWindowTitle(m_model.caption);
    const bool adding = m_model.isAddMode();
    m_browser->setVisible(adding);
    setFixedWidth(m_model.formWidth - kFrameWidth);
    setMinimumHeight(m_clientHeight);
    setMaximumHeight(QWIDGETSIZE_MAX);

    if (m_cbInstrumentSet->count() != m_model.sets().size()) {
        m_cbInstrumentSet->clear();
        m_cbInstrumentSet->addItems(m_model.sets());
    }
    m_cbInstrumentSet->setCurrentIndex(m_model.setIndex());
    if (QAbstractButton* type = m_rgType->button(m_model.typeIndex()))
        type->setChecked(true);
    if (m_shownGeneration != m_model.listGeneration())
        fillList();
    for (int i = 0; i < int(m_model.items().size()); ++i)
        m_lvInstruments->topLevelItem(i)->setCheckState(0, m_model.items()[i].checked ? Qt::Checked : Qt::Unchecked);
    if (m_model.selectedItem() >= 0)
        m_lvInstruments->setCurrentItem(m_lvInstruments->topLevelItem(m_model.selectedItem()));

    QPixmap picture;
    if (!m_model.picture.isEmpty() && picture.load(nativePath(m_model.picture)))
        m_edImage->setPixmap(picture.size().boundedTo(m_imageSize) == picture.size()
                                 ? picture
                                 : picture.scaled(m_imageSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        m_edImage->clear();
    m_lName->setText(m_model.lName);
    m_edLong->setText(m_model.edLong);
    if (m_edDescription->toPlainText() != m_model.edDescription)
        m_edDescription->setPlainText(m_model.edDescription);
    m_edPort->setText(m_model.edPort);
    m_edPathName->setText(m_model.edPathName);
    m_bbOK->setText(m_model.okCaption);
    m_bbOK->setFixedWidth(m_model.okWidth);
    m_refreshing = false;
}
