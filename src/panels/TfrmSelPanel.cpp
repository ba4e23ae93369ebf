#include "TfrmSelPanel.h"

#include "PanelChooser.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmSelPanel::TfrmSelPanel(PanelChooserModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_model(model)
{
    setObjectName(QStringLiteral("frmSelPanel"));
    setWindowTitle(QStringLiteral("Panels available"));
    setModal(true);
    resize(260, 300);
    if (parent)
        move(parent->geometry().center() - rect().center());

    auto* layout = new QVBoxLayout(this);
    m_lvPanels = new QListWidget(this);
    m_lvPanels->setObjectName(QStringLiteral("lvPanels"));
    m_lvPanels->setSortingEnabled(false);
    m_lvPanels->addItems(model.panels);
    if (model.hasSelection())
        m_lvPanels->setCurrentRow(model.selected);
    layout->addWidget(m_lvPanels);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_lvPanels, &QListWidget::itemDoubleClicked, this, &TfrmSelPanel::lvPanelsDblClick);
    // Only a highlighted entry counts as chosen; the focus frame alone does not.
    connect(this, &QDialog::finished, this, [this] {
        const auto chosen = m_lvPanels->selectedItems();
        m_model.selected = chosen.isEmpty() ? -1 : m_lvPanels->row(chosen.first());
    });
}
