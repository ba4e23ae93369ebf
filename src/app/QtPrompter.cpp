#include "QtPrompter.h"

#include "platform/ScreenFit.h"

#include <QApplication>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace {

QMessageBox::StandardButton toQt(MessageButton b)
{
    switch (b) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    case MessageButton::None:
    case MessageButton::FitToMonitors:
        break;
    }
    return QMessageBox::NoButton;
}

MessageButton fromQt(int b)
{
    switch (b) {
    case QMessageBox::Ok:
        return MessageButton::Ok;
    case QMessageBox::Yes:
        return MessageButton::Yes;
    case QMessageBox::No:
        return MessageButton::No;
    default:
        return MessageButton::Cancel;
    }
}

void reportOnStandardError(const QString& title, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    std::fflush(stderr);
}

// Qt's dialogs answer with "/" on every system; what the user chose is stored and shown in the system's own
// spelling, so a Windows panel never holds a "/" inside a path.
QString chosenFile(const QFileDialog& dialog)
{
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

} // namespace

QString qtNameFilters(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        // "Bitmap Image File (*.bmp)" already names its pattern the way Qt reads it.
        const bool named = parts[i].contains(u'(' + patterns + u')');
        filters << (named ? parts[i] : QStringLiteral("%1 (%2)").arg(parts[i], patterns));
    }
    return filters.join(QStringLiteral(";;"));
}

MessageButton QtPrompter::message(MessageKind kind, const QString& text, MessageButtons buttons,
                                  MessageButton defaultButton)
{
    static const struct
    {
        QMessageBox::Icon icon;
        const char* title;
    } kinds[] = {{QMessageBox::Critical, "Error"},
                 {QMessageBox::Warning, "Warning"},
                 {QMessageBox::Information, "Information"},
                 {QMessageBox::Question, "Confirm"},
                 {QMessageBox::NoIcon, nullptr}};
    const auto& k = kinds[int(kind)];
    const QString title = k.title ? QString::fromLatin1(k.title) : QCoreApplication::applicationName();
    // Closed with Escape, the title bar or a termination signal: the answer that changes nothing.
    const MessageButton unanswered = buttons.testFlag(MessageButton::Cancel) ? MessageButton::Cancel
                                     : buttons.testFlag(MessageButton::No)   ? MessageButton::No
                                                                             : MessageButton::Ok;
    // A report nobody is left to read goes where a terminal or the session log keeps it; a question simply
    // gets the answer that changes nothing.
    const bool report = buttons == MessageButtons(MessageButton::Ok);
    if (ending()) {
        if (report)
            reportOnStandardError(title, text);
        return unanswered;
    }
    QMessageBox box(k.icon, title, text, QMessageBox::NoButton, m_owner);
    for (MessageButton b : {MessageButton::Yes, MessageButton::No, MessageButton::Ok, MessageButton::Cancel}) {
        if (buttons.testFlag(b))
            box.addButton(toQt(b));
    }
    QPushButton* fit = nullptr;
    if (buttons.testFlag(MessageButton::FitToMonitors))
        fit = box.addButton(QStringLiteral("&Fit to These Monitors"), QMessageBox::AcceptRole);
    if (defaultButton != MessageButton::None)
        box.setDefaultButton(toQt(defaultButton));
    const int result = execTracked(box);
    if (ending()) {
        // Dismissed by the signal, maybe before anyone read it.
        if (report)
            reportOnStandardError(title, text);
        return unanswered;
    }
    if (fit && box.clickedButton() == fit)
        return MessageButton::FitToMonitors;
    if (result == QMessageBox::Ok || result == QMessageBox::Yes || result == QMessageBox::No ||
        result == QMessageBox::Cancel)
        return fromQt(result);
    return unanswered;
}

std::optional<QString> QtPrompter::inputBox(const QString& caption, const QString& prompt, const QString& initial)
{
    if (ending())
        return std::nullopt;
    QInputDialog dialog(m_owner);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    dialog.adjustSize();
    makeRoomForTitle(dialog);
    if (execTracked(dialog) != QDialog::Accepted || ending())
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtPrompter::openFileName(const FileDialogRequest& r)
{
    if (ending())
        return std::nullopt;
    QFileDialog dialog(m_owner, r.title, r.initialFolder, qtNameFilters(r.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);
    if (execTracked(dialog) != QDialog::Accepted || ending() || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenFile(dialog);
}

std::optional<QString> QtPrompter::saveFileName(const FileDialogRequest& r)
{
    if (ending())
        return std::nullopt;
    QFileDialog dialog(m_owner, r.title, r.initialFolder, qtNameFilters(r.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(r.defaultExtension);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);
    if (execTracked(dialog) != QDialog::Accepted || ending() || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosenFile(dialog);
}

std::optional<int> QtPrompter::chooseColor(int initial)
{
    if (ending())
        return std::nullopt;
    // Stored colours are 0x00BBGGRR.
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    QColorDialog dialog(start, m_owner);
    if (execTracked(dialog) != QDialog::Accepted || ending())
        return std::nullopt;
    const QColor c = dialog.selectedColor();
    if (!c.isValid())
        return std::nullopt;
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

void QtPrompter::cancelAll()
{
    Prompter::cancelAll();
    // A menu popped up from the ribbon runs a loop of its own too.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close())
            break;
    }
    // Innermost first, so each loop unwinds into a caller that sees Cancel.
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
        if (*it)
            (*it)->reject();
    }
}

int QtPrompter::execTracked(QDialog& dialog)
{
    const ModalScope counted(*this);
    m_open.emplace_back(&dialog);
    const int result = dialog.exec();
    m_open.pop_back();
    return result;
}

bool QtPrompter::execDialog(DialogModel& model)
{
    if (ending())
        return false;
    return m_views.show(model, *this);
}

bool QtPrompter::execOwned(QDialog& dialog)
{
    // Prompts raised while the dialog is open (colour, picture, messages) belong to it.
    QWidget* const owner = m_owner;
    m_owner = &dialog;
    centreOverParent(dialog);
    const bool accepted = execTracked(dialog) == QDialog::Accepted;
    m_owner = owner;
    return accepted && !ending();
}
