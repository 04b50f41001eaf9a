// The title strip of a borderless window: shows the caption and drags the
// window it sits in.
#pragma once

#include <QPoint>
#include <QWidget>

class TTitleStrip : public QWidget {
    Q_OBJECT
public:
    explicit TTitleStrip(QWidget* window, const char* name = "TitleStrip");
    void SetCaption(const QString& text);
    QString Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QString caption_;
    QPoint grab_;
    bool dragging_ = false;
};
