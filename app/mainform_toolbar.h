// The main window's toolbar buttons: a flat tile with a line icon drawn by
// our own code and the caption below it.
#pragma once

#include "widgets/imagebutton.h"

namespace toolbar {
enum class Icon { Home, Internet, Messages, Phonebook, Call, CallHistory, Settings, Services, Help };
}  // namespace toolbar

class TToolbarButton : public TImageButton {
    Q_OBJECT
public:
    TToolbarButton(QWidget* parent, const char* name, toolbar::Icon icon);
    toolbar::Icon Icon() const { return icon_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void paintIcon(QPainter& p, const QRectF& box, const QColor& ink) const;
    toolbar::Icon icon_;
    bool hover_ = false;
};
