// A skinned push button drawn by our own code: a rounded face with a caption,
// or a small glyph for title-strip images (close, minimise).
#pragma once

#include <QAbstractButton>

class TImageButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Glyph { None, Close, Minimise };
    explicit TImageButton(QWidget* parent, const char* name, Glyph glyph = Glyph::None);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    Glyph glyph_;
    bool hover_ = false;
};
