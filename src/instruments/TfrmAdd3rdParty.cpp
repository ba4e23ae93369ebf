#include "TfrmAdd3rdParty.h"

#include "Add3rdPartyModel.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TfrmAdd3rdParty::TfrmAdd3rdParty(Add3rdPartyModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_model(model)
{
    setObjectName(QStringLiteral("frmAdd3rdParty"));
    setWindowTitle(model.caption);
    setModal(true);
    setFixedSize(476, 149);
    if (parent)
        move(parent->geometry().center() - rect().center());

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Application Path Name"), this), 0, 0, 1, 2);
    m_edAppName = new QLineEdit(model.edAppName, this);
    m_edAppName->setObjectName(QStringLiteral("edAppName"));
    grid->addWidget(m_edAppName, 1, 0);
    m_btnImage = new QToolButton(this);
    m_btnImage->setObjectName(QStringLiteral("btnImage"));
    m_btnImage->setText(QStringLiteral("..."));
    m_btnImage->setToolTip(QStringLiteral("Select Application"));
    grid->addWidget(m_btnImage, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Command Line Parameters (Comma separated)"), this), 2, 0, 1, 2);
    m_edParameters = new QLineEdit(model.edParameters, this);
    m_edParameters->setObjectName(QStringLiteral("edParameters"));
    grid->addWidget(m_edParameters, 3, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bbOK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bbCancel"));
    grid->addWidget(buttons, 4, 0, 1, 2);

    connect(m_edAppName, &QLineEdit::textEdited, this, [this](const QString& t) { m_model.edAppName = t; });
    connect(m_edParameters, &QLineEdit::textEdited, this, [this](const QString& t) { m_model.edParameters = t; });
    connect(m_btnImage, &QToolButton::clicked, this, [this] {
        m_model.btnImageClick();
        m_edAppName->setText(m_model.edAppName);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
