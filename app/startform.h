// The splash window: borderless, on top, 388 x 242, centred on the desktop,
// shown from process start until the main window appears. It shows the
// start picture "\resource\image\start.jpg" of the program folder (drawn
// from our own palette when that file is missing or damaged) and the
// product texts.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;

class TStartForm : public QWidget {
    Q_OBJECT
public:
    explicit TStartForm(QWidget* parent = nullptr);
    ~TStartForm() override;

    QLabel* Label_ProductName;
    QLabel* Label_PCSoftwareVersionCaption;
    QLabel* Label_PCSoftwareVersion;
    QLabel* Label_Init;
    QLabel* Label_Description;
    QLabel* LogoImage;   // hidden, holds the large logo

    bool HasPicture() const { return !picture_.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage picture_;
};
