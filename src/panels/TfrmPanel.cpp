#include "TfrmPanel.h"

#include "PanelSetupModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QColor toQColor(int stored)
{
    // Stored colours are 0x00BBGGRR; system colours (top byte set) have no fixed look here.
    if (quint32(stored) >> 24)
        return QColor(Qt::lightGray);
    return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF);
}

QString swatchStyle(int stored, bool border)
{
    return QStringLiteral("background-color: %1; border: %2;")
        .arg(toQColor(stored).name(), border ? QStringLiteral("1px solid gray") : QStringLiteral("none"));
}

QIcon paletteIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(1, 1, 7, 7, Qt::red);
    p.fillRect(8, 1, 7, 7, Qt::green);
    p.fillRect(1, 8, 7, 7, Qt::blue);
    p.fillRect(8, 8, 7, 7, Qt::yellow);
    return QIcon(pixmap);
}

template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A typed number outside the range is taken to the nearer limit when editing ends, instead of refusing
// the keystroke that leaves the range (typing 99 would otherwise give 9).
class ClampingSpinBox : public QSpinBox
{
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override
    {
        const QString text = input.trimmed();
        if (text.isEmpty() || text == u'-' || text == u'+')
            return QValidator::Intermediate;
        bool isNumber = false;
        const qlonglong value = text.toLongLong(&isNumber);
        if (!isNumber || text.size() > 11)
            return QSpinBox::validate(input, pos);
        return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }
    void fixup(QString& input) const override
    {
        bool isNumber = false;
        const qlonglong value = input.trimmed().toLongLong(&isNumber);
        if (isNumber)
            input = QString::number(std::clamp<qlonglong>(value, minimum(), maximum()));
    }
};

void setTextKeepingCursor(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void checkOnly(QButtonGroup* group, int id)
{
    // No item at all is selected for a stored index below the first.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

} // namespace

void CloseUpComboBox::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}

TfrmPanel::TfrmPanel(PanelSetupModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_model(model)
{
    setObjectName(QStringLiteral("frmPanel"));
    setWindowTitle(QStringLiteral("Panel Setup"));
    build();
    wire();
    refresh();
}

void TfrmPanel::build()
{
    auto* main = new QVBoxLayout(this);

    auto* general = named(new QGroupBox(QStringLiteral("General Settings"), this), "rgFullScreenSettings");
    auto* generalLayout = new QGridLayout(general);
    generalLayout->addWidget(new QLabel(QStringLiteral("Panel Name"), general), 0, 0);
    m_edPanelName = named(new QLineEdit(general), "edPanelName");
    generalLayout->addWidget(m_edPanelName, 0, 1);
    m_cbBezels = named(new QCheckBox(QStringLiteral("Show Instrument Bezels && Knobs"), general), "cbBezels");
    m_cbLighting = named(new QCheckBox(QStringLiteral("Enable Panel Night Mode"), general), "cbLighting");
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_cbBezels);
    boxes->addWidget(m_cbLighting);
    boxes->addStretch(1);
    generalLayout->addLayout(boxes, 1, 0, 1, 2);
    main->addWidget(general);

    auto* typeBox = named(new QGroupBox(QStringLiteral("Panel Background Type"), this), "rgType");
    auto* typeLayout = new QHBoxLayout(typeBox);
    m_rgType = new QButtonGroup(this);
    const char* typeItems[] = {"Color", "Image"};
    for (int i = 0; i < PanelSetupModel::TypeCount; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(typeItems[i]), typeBox);
        radio->setObjectName(QStringLiteral("rgType_%1").arg(i));
        m_rgType->addButton(radio, i);
        typeLayout->addWidget(radio, 1);
    }
    main->addWidget(typeBox);

    // The colour and the image settings take turns in one place.
    auto* settingsArea = new QGridLayout;
    m_gbColor = named(new QGroupBox(QStringLiteral(" Color Settings"), this), "gbColor");
    auto* colorLayout = new QGridLayout(m_gbColor);
    colorLayout->addWidget(new QLabel(QStringLiteral("Panel Background Color"), m_gbColor), 0, 0);
    m_sBGColor = named(new QLabel(m_gbColor), "sBGColor");
    m_sBGColor->setFixedSize(40, 20);
    colorLayout->addWidget(m_sBGColor, 0, 1);
    m_btnColor = named(new QToolButton(m_gbColor), "btnColor");
    m_btnColor->setIcon(paletteIcon());
    colorLayout->addWidget(m_btnColor, 0, 2);
    m_cbShowFrame = named(new QCheckBox(QStringLiteral("Show Frame"), m_gbColor), "cbShowFrame");
    colorLayout->addWidget(m_cbShowFrame, 1, 0);
    m_pColorFrame = named(new QToolButton(m_gbColor), "pColorFrame");
    m_pColorFrame->setFixedWidth(40);
    colorLayout->addWidget(m_pColorFrame, 1, 1);
    m_edPixels = named(new ClampingSpinBox(m_gbColor), "edPixels");
    m_edPixels->setRange(PanelSetupModel::MinSpin, PanelSetupModel::MaxSpin);
    colorLayout->addWidget(m_edPixels, 1, 2);
    colorLayout->addWidget(new QLabel(QStringLiteral("pixels wide"), m_gbColor), 1, 3);
    m_cbShowGrid = named(new QCheckBox(QStringLiteral("Show Grid"), m_gbColor), "cbShowGrid");
    colorLayout->addWidget(m_cbShowGrid, 2, 0);
    m_edGrid = named(new ClampingSpinBox(m_gbColor), "edGrid");
    m_edGrid->setRange(PanelSetupModel::MinSpin, PanelSetupModel::MaxSpin);
    colorLayout->addWidget(m_edGrid, 2, 2);
    colorLayout->addWidget(new QLabel(QStringLiteral("pixel spacing"), m_gbColor), 2, 3);
    colorLayout->setColumnStretch(4, 1);
    settingsArea->addWidget(m_gbColor, 0, 0);

    m_gbImage = named(new QGroupBox(QStringLiteral(" Image Settings"), this), "gbImage");
    auto* imageLayout = new QGridLayout(m_gbImage);
    imageLayout->addWidget(new QLabel(QStringLiteral("Panel Background Image"), m_gbImage), 0, 0, 1, 2);
    m_edBGImage = named(new QLineEdit(m_gbImage), "edBGImage");
    imageLayout->addWidget(m_edBGImage, 1, 0);
    m_btnImage = named(new QToolButton(m_gbImage), "btnImage");
    m_btnImage->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    imageLayout->addWidget(m_btnImage, 1, 1);
    m_cbImageSize = named(new QCheckBox(QStringLiteral("Use original Image Size"), m_gbImage), "cbImageSize");
    imageLayout->addWidget(m_cbImageSize, 2, 0, 1, 2);
    settingsArea->addWidget(m_gbImage, 0, 0);
    main->addLayout(settingsArea);

    auto* position = named(new QGroupBox(QStringLiteral("Background Size && Position"), this), "GroupBox3");
    auto* positionLayout = new QHBoxLayout(position);
    auto* modeBox = named(new QGroupBox(QStringLiteral("Mode"), position), "rgSizeType");
    auto* modeLayout = new QVBoxLayout(modeBox);
    // Packed, so the dialog still fits a 1080-line screen at twice the scale.
    modeLayout->setSpacing(0);
    m_rgSizeType = new QButtonGroup(this);
    const char* modeItems[] = {"Full Desktop", "One Monitor only", "Custom Size/Position", "No Background"};
    for (int i = 0; i < PanelSetupModel::ModeCount; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(modeItems[i]), modeBox);
        radio->setObjectName(QStringLiteral("rgSizeType_%1").arg(i));
        m_rgSizeType->addButton(radio, i);
        modeLayout->addWidget(radio);
    }
    positionLayout->addWidget(modeBox, 0, Qt::AlignTop);

    // A fixed area, so that showing and hiding fields never moves the Mode group.
    auto* fieldArea = new QWidget(position);
    auto* fields = new QGridLayout(fieldArea);
    fields->setContentsMargins(0, 0, 0, 0);
    // Row 0/1: the monitor box, or Top and Left in its place.
    m_lMonitor = named(new QLabel(QStringLiteral("Monitor"), position), "lMonitor");
    m_cbMonitor = named(new CloseUpComboBox(position), "cbMonitor");
    m_lTop = named(new QLabel(QStringLiteral("Top"), position), "lTop");
    m_edTop = named(new QLineEdit(position), "edTop");
    m_lLeft = named(new QLabel(QStringLiteral("Left"), position), "lLeft");
    m_edLeft = named(new QLineEdit(position), "edLeft");
    for (QLabel* l : {m_lMonitor, m_lTop, m_lLeft})
        l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    fields->addWidget(m_lMonitor, 0, 0);
    fields->addWidget(m_cbMonitor, 1, 0);
    fields->addWidget(m_lTop, 0, 0);
    fields->addWidget(m_edTop, 1, 0);
    fields->addWidget(m_lLeft, 0, 2);
    fields->addWidget(m_edLeft, 1, 2);
    // Row 2/3: Width X Height.
    m_lWidth = named(new QLabel(QStringLiteral("Width"), position), "lWidth");
    m_edWidth = named(new QLineEdit(position), "edWidth");
    m_lBy = named(new QLabel(QStringLiteral("X"), position), "lBy");
    m_lHeight = named(new QLabel(QStringLiteral("Height"), position), "lHeight");
    m_edHeight = named(new QLineEdit(position), "edHeight");
    fields->addWidget(m_lWidth, 2, 0);
    fields->addWidget(m_edWidth, 3, 0);
    fields->addWidget(m_lBy, 3, 1);
    fields->addWidget(m_lHeight, 2, 2);
    fields->addWidget(m_edHeight, 3, 2);
    fields->setRowMinimumHeight(1, m_edTop->sizeHint().height());
    fields->setRowMinimumHeight(3, m_edWidth->sizeHint().height());
    fields->setRowStretch(4, 1);
    for (QLineEdit* e : {m_edTop, m_edLeft, m_edWidth, m_edHeight})
        e->setFixedWidth(80);
    m_cbMonitor->setFixedWidth(80);
    fields->setColumnMinimumWidth(0, 80);
    fields->setColumnMinimumWidth(2, 80);
    fields->setColumnStretch(3, 1);
    positionLayout->addWidget(fieldArea, 1);
    main->addWidget(position);

    main->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_bbOK = named(new QPushButton(QStringLiteral("OK"), this), "bbOK");
    m_bbOK->setDefault(true);
    m_bbCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "bbCancel");
    buttons->addWidget(m_bbOK);
    buttons->addWidget(m_bbCancel);
    main->addLayout(buttons);

    // Room for the taller of the two settings groups, so switching the type does not resize the window.
    setMinimumSize(QSize(450, 424).expandedTo(main->totalMinimumSize()));
    resize(minimumSize());
}

template <typename F> void TfrmPanel::react(F&& reaction)
{
    reaction();
    refresh();
}

void TfrmPanel::wire()
{
    PanelSetupModel& m = m_model;
    connect(m_edPanelName, &QLineEdit::textEdited, this, [&m](const QString& t) { m.panelName = t; });
    connect(m_cbBezels, &QCheckBox::toggled, this, [&m](bool on) { m.bezels = on; });
    connect(m_cbLighting, &QCheckBox::toggled, this, [&m](bool on) { m.lighting = on; });
    connect(m_rgType, &QButtonGroup::idClicked, this, [this](int id) { react([&] { m_model.setType(id); }); });
    connect(m_btnColor, &QToolButton::clicked, this, [this] { react([&] { m_model.btnColorClick(); }); });
    connect(m_cbShowFrame, &QCheckBox::toggled, this, [&m](bool on) { m.showFrame = on; });
    connect(m_pColorFrame, &QToolButton::clicked, this, [this] { react([&] { m_model.pColorFrameClick(); }); });
    connect(m_edPixels, &QSpinBox::valueChanged, this, [&m](int v) { m.setFrameWidth(v); });
    connect(m_cbShowGrid, &QCheckBox::toggled, this, [&m](bool on) { m.showGrid = on; });
    connect(m_edGrid, &QSpinBox::valueChanged, this, [&m](int v) { m.setGridSpacing(v); });
    connect(m_edBGImage, &QLineEdit::textEdited, this, [&m](const QString& t) { m.imageFile = t; });
    connect(m_btnImage, &QToolButton::clicked, this, [this] { react([&] { m_model.btnImageClick(); }); });
    connect(m_cbImageSize, &QCheckBox::clicked, this, [this](bool on) { react([&] { m_model.setImageSize(on); }); });
    connect(m_rgSizeType, &QButtonGroup::idClicked, this, [this](int id) { react([&] { m_model.setSizeType(id); }); });
    connect(m_cbMonitor, &QComboBox::currentIndexChanged, this, [&m](int i) { m.setMonitorIndex(i); });
    // Queued: the list closes before the box has taken the picked entry.
    connect(
        m_cbMonitor, &CloseUpComboBox::closedUp, this, [this] { react([&] { m_model.cbMonitorCloseUp(); }); },
        Qt::QueuedConnection);
    connect(m_edWidth, &QLineEdit::textEdited, this, [&m](const QString& t) { m.width = t; });
    connect(m_edHeight, &QLineEdit::textEdited, this, [&m](const QString& t) { m.height = t; });
    connect(m_edTop, &QLineEdit::textEdited, this, [&m](const QString& t) { m.top = t; });
    connect(m_edLeft, &QLineEdit::textEdited, this, [&m](const QString& t) { m.left = t; });
    connect(m_bbOK, &QPushButton::clicked, this, [this] {
        if (m_model.bbOKClick())
            accept();
    });
    connect(m_bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPanel::refresh()
{
    const PanelSetupModel& m = m_model;
    const QList<QObject*> bound = {m_edPanelName, m_cbBezels, m_cbLighting, m_rgType,      m_cbShowFrame, m_edPixels,
                                   m_cbShowGrid,  m_edGrid,   m_edBGImage,  m_cbImageSize, m_rgSizeType,  m_cbMonitor,
                                   m_edWidth,     m_edHeight, m_edTop,      m_edLeft};
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QObject* o : bound)
        blockers.push_back(std::make_unique<QSignalBlocker>(o));

    setTextKeepingCursor(m_edPanelName, m.panelName);
    m_edPanelName->setEnabled(m.panelNameEnabled());
    m_cbBezels->setChecked(m.bezels);
    m_cbLighting->setChecked(m.lighting);
    checkOnly(m_rgType, m.type());

    m_gbColor->setVisible(m.colorGroupVisible());
    m_sBGColor->setStyleSheet(swatchStyle(m.backgroundColor, false));
    m_cbShowFrame->setChecked(m.showFrame);
    m_pColorFrame->setStyleSheet(swatchStyle(m.frameColor, true));
    m_edPixels->setValue(m.frameWidth());
    m_cbShowGrid->setChecked(m.showGrid);
    m_edGrid->setValue(m.gridSpacing());

    m_gbImage->setVisible(m.imageGroupVisible());
    setTextKeepingCursor(m_edBGImage, m.imageFile);
    m_cbImageSize->setChecked(m.imageSize());
    m_cbImageSize->setEnabled(m.imageSizeEnabled());

    checkOnly(m_rgSizeType, m.sizeType());
    if (comboItems(m_cbMonitor) != m.monitorEntries()) {
        m_cbMonitor->clear();
        m_cbMonitor->addItems(m.monitorEntries());
    }
    m_cbMonitor->setCurrentIndex(m.monitorIndex());
    m_lMonitor->setVisible(m.monitorVisible());
    m_cbMonitor->setVisible(m.monitorVisible());

    setTextKeepingCursor(m_edWidth, m.width);
    setTextKeepingCursor(m_edHeight, m.height);
    setTextKeepingCursor(m_edTop, m.top);
    setTextKeepingCursor(m_edLeft, m.left);
    for (QWidget* w : std::initializer_list<QWidget*>{m_lWidth, m_edWidth, m_lBy, m_lHeight, m_edHeight})
        w->setVisible(m.sizeVisible());
    for (QWidget* w : std::initializer_list<QWidget*>{m_lTop, m_edTop, m_lLeft, m_edLeft})
        w->setVisible(m.topLeftVisible());
}

void TfrmPanel::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_model.FormShow();
    refresh();
    if (m_model.panelNameFocused())
        m_edPanelName->setFocus();
}
