#pragma once

#include <QWidget>

// The borderless start-up picture with the version label.
class TfrmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    // Shows the splash and paints it at once; where showing has painted it already, it is not painted twice.
    void showPainted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_painted = false;
};
