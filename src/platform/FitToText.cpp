#include "FitToText.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

void widenToFitText(QWidget* dialog)
{
    const QList<QWidget*> widgets = dialog->findChildren<QWidget*>();
    int overflow = 0;
    for (QWidget* w : widgets) {
        if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w))
            overflow = std::max(overflow, w->sizeHint().width() - w->width());
    }
    if (overflow <= 0)
        return;
    for (QWidget* w : widgets) {
        // Labels are frames too.
        if (qobject_cast<QFrame*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w))
            w->resize(w->width() + overflow, w->height());
        else if (qobject_cast<QPushButton*>(w))
            w->move(w->x() + overflow / 2, w->y());
    }
    const QSize size(dialog->width() + overflow, dialog->height());
    if (dialog->minimumSize() == dialog->maximumSize())
        dialog->setFixedSize(size);
    else
        dialog->resize(size);
}
