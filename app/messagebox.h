// The program's one message box: a borderless, skinned 238 x 150 window with
// its own title strip, in five modes and with icon kinds that choose the icon
// and the two button captions.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QTextEdit;
class TImageButton;

class TMessageBoxForm : public QDialog {
    Q_OBJECT
public:
    // mode: "MSG_BUTTON_SINGLE" (default), "MSG_BUTTON_DOUBLE", "MSG_BUTTON_NO",
    // "MSG_BUTTON_NOMODAL", "MSG_NONE_MODAL". kind: 1 information, 2 warning,
    // 3/4/16 question, 5 and others no icon.
    TMessageBoxForm(QWidget* owner, int kind = 1, const QString& mode = QStringLiteral("MSG_BUTTON_SINGLE"));

    const QString& Mode() const { return mode_; }
    int Kind() const { return kind_; }
    QString Text() const { return text_; }
    // Shows the box modally; with a test responder installed the responder
    // answers instead. Returns 1 for the first button, 2 for the second or
    // the close image.
    int exec() override;

    // Called when OK of a "MSG_BUTTON_NOMODAL" box is pressed (the call window
    // releases the box).
    std::function<void()> OnRelease;

    QLabel* LogoImage;
    QLabel* MessageStrLabel;
    QTextEdit* MessageMemo;
    QLabel* InforImage;
    QLabel* WarningImage;
    QLabel* QuestionImage;
    TImageButton* OkButton;
    TImageButton* CancleImButton;
    TImageButton* ImImage_Close;

    void SetText(const QString& text);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    void OkButtonClick();
    void CancleImButtonClick();
    void ImImage_CloseClick();
    QString mode_;
    int kind_;
    QString text_;
};

void ShowMessageBox(QWidget* owner, const QString& text, int kind = 1);
int AskMessageBox(QWidget* owner, const QString& text, int kind = 3);
// A text of at most 28 characters goes into the label, a longer one into the memo.
void SetMessageBoxText(TMessageBoxForm* box, const QString& text);

// Tests answer boxes without a real modal loop. The responder sees every box
// that is shown modally and returns its result; non-modal boxes are reported
// when shown.
namespace messagebox {
struct Shown {
    QString text;
    int kind;
    QString mode;
};
using Responder = std::function<int(const Shown&)>;
void SetResponder(Responder r);   // empty: real modal boxes again
bool HasResponder();
void NotifyShown(const TMessageBoxForm& box);   // a box was shown (non-modal)
int Answer(const TMessageBoxForm& box);          // a modal box asks for its result
}  // namespace messagebox
