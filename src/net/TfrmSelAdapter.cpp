#include "TfrmSelAdapter.h"

#include "AdapterChooser.h"
#include "platform/DialogViews.h"
#include "platform/FitToText.h"

#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TfrmSelAdapter::TfrmSelAdapter(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelAdapter"));
    setWindowTitle(QStringLiteral("Select Network Adapter"));
    setFixedSize(326, 135);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(8, 8, 310, 88);

    auto* found = new QLabel(QStringLiteral("Found more than one connected Network Adapters."), bevel);
    QFont bold = found->font();
    bold.setBold(true);
    found->setFont(bold);
    found->setGeometry(12, 8, 290, 18);
    auto* choose = new QLabel(QStringLiteral("Choose Adapter to use for Varnolt"), bevel);
    choose->setGeometry(12, 30, 290, 18);

    m_dropdownAdapters = new QComboBox(bevel);
    m_dropdownAdapters->setObjectName(QStringLiteral("dropdownAdapters"));
    m_dropdownAdapters->setEditable(false);
    m_dropdownAdapters->setGeometry(12, 54, 200, 24);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("bbOK"));
    ok->setGeometry(125, 104, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    widenToFitText(this);
}

void TfrmSelAdapter::choose(AdapterChooserModel& model, DialogHost& host)
{
    m_dropdownAdapters->clear();
    m_dropdownAdapters->addItems(model.entries);
    m_dropdownAdapters->setCurrentIndex(model.selected);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    host.execTracked(*this);
    model.selected = m_dropdownAdapters->currentIndex();
}
