// The credentials prompt shown before a dial when the default profile asks
// for them: user name and password, and whether to keep them in the profile.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class TImageButton;

class TCheckPasswordForm : public QDialog {
    Q_OBJECT
public:
    explicit TCheckPasswordForm(QWidget* owner);

    // 1 OK, 2 cancel (also the close image).
    int exec() override;

    QLineEdit* Edit_username;
    QLineEdit* Edit_password;
    QCheckBox* CheckBox_Save;
    TImageButton* ImButton_OK;
    TImageButton* ImButton_Cancel;
    TImageButton* ImImage_Close;
    QLabel* Label_username;
    QLabel* Label_password;
    QLabel* LogoImage;

    void ImButton_OKClick();
    void ImButton_CancelClick();

    // Tests answer the prompt without a modal loop: the responder gets the
    // prompt (to fill and press its buttons) and returns its result.
    static void SetResponder(std::function<int(TCheckPasswordForm&)> responder);

protected:
    void paintEvent(QPaintEvent*) override;
};
