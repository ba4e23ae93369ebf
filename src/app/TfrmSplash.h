#pragma once

#include <QWidget>

// The borderless start-up picture with the version label.
class TfrmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
