#include "TfrmLog.h"

#include "LogViewModel.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

TfrmLog::TfrmLog(LogViewModel& model, QWidget* parent) : QDialog(parent), m_model(model)
{
    setObjectName(QStringLiteral("frmLog"));
    setWindowTitle(QStringLiteral("Varnolt Log"));
    resize(640, 400);
    auto* layout = new QVBoxLayout(this);
    auto* where = new QLabel(model.path(), this);
    where->setObjectName(QStringLiteral("lbLogPath"));
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(where);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("edLog"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* refresh = buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
    refresh->setObjectName(QStringLiteral("btRefresh"));
    connect(refresh, &QPushButton::clicked, this, [this] {
        m_model.reload();
        showText();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    showText();
}

void TfrmLog::showText()
{
    m_text->setPlainText(m_model.text().isEmpty() ? QStringLiteral("(nothing logged yet)") : m_model.text());
    m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->maximum());
}
