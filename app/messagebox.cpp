#include "app/messagebox.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTextEdit>

#include "core/strings.h"
#include "widgets/artwork.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace messagebox {
namespace {
Responder& responder() {
    static Responder r;
    return r;
}
}  // namespace
void SetResponder(Responder r) { responder() = std::move(r); }
bool HasResponder() { return static_cast<bool>(responder()); }
void NotifyShown(const TMessageBoxForm& box) {
    if (responder()) responder()(Shown{box.Text(), box.Kind(), box.Mode()});
}
int Answer(const TMessageBoxForm& box) {
    return responder() ? responder()(Shown{box.Text(), box.Kind(), box.Mode()}) : 2;
}
}  // namespace messagebox

namespace {
constexpr int kWidth = 238;
constexpr int kHeight = 150;
constexpr int kButtonTop = 116;

struct KindLook {
    int kind;
    int icon;  // 0 none, 1 information, 2 warning, 3 question
    unsigned firstCaption;
    unsigned secondCaption;
};
constexpr KindLook kKinds[] = {
    {1, 1, 6, 7}, {2, 2, 6, 7}, {3, 3, 6, 7}, {4, 3, 13, 14}, {5, 0, 6, 16}, {16, 3, 6, 7},
};
KindLook lookOf(int kind) {
    for (const KindLook& k : kKinds)
        if (k.kind == kind) return k;
    return {kind, 0, 6, 7};
}
}  // namespace

TMessageBoxForm::TMessageBoxForm(QWidget* owner, int kind, const QString& mode)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog), mode_(mode.isEmpty() ? QStringLiteral("MSG_BUTTON_SINGLE") : mode),
      kind_(kind) {
    setObjectName(QStringLiteral("TMessageBoxForm"));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));

    auto* title = new TTitleStrip(this);
    title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    title->SetCaption(QStringLiteral("      Linkora"));

    LogoImage = new QLabel(this);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setPixmap(artwork::SmallLogo(18));
    LogoImage->setGeometry(6, 4, 18, 18);

    ImImage_Close = new TImageButton(this, "ImImage_Close", TImageButton::Glyph::Close);
    ImImage_Close->setGeometry(kWidth - 22, 4, 18, 18);
    connect(ImImage_Close, &QAbstractButton::clicked, this, [this] { ImImage_CloseClick(); });

    InforImage = new QLabel(this);
    InforImage->setObjectName(QStringLiteral("InforImage"));
    InforImage->setPixmap(artwork::InfoIcon(32));
    InforImage->setGeometry(16, 48, 32, 32);
    WarningImage = new QLabel(this);
    WarningImage->setObjectName(QStringLiteral("WarningImage"));
    WarningImage->setPixmap(artwork::WarningIcon(32));
    WarningImage->setGeometry(16, 96, 32, 32);
    QuestionImage = new QLabel(this);
    QuestionImage->setObjectName(QStringLiteral("QuestionImage"));
    QuestionImage->setPixmap(artwork::QuestionIcon(32));
    QuestionImage->setGeometry(60, 96, 32, 32);

    MessageStrLabel = new QLabel(this);
    MessageStrLabel->setObjectName(QStringLiteral("MessageStrLabel"));
    MessageStrLabel->setAlignment(Qt::AlignCenter);
    MessageStrLabel->setWordWrap(true);
    MessageStrLabel->setGeometry(56, 36, 170, 70);

    MessageMemo = new QTextEdit(this);
    MessageMemo->setObjectName(QStringLiteral("MessageMemo"));
    MessageMemo->setReadOnly(true);
    MessageMemo->setFrameStyle(QFrame::NoFrame);
    MessageMemo->setStyleSheet(QStringLiteral("QTextEdit { border: none; background: transparent; }"));
    // The bar appears when the text is longer than the box: an empty bar
    // beside two lines looks like a fault.
    MessageMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MessageMemo->setGeometry(56, 34, 174, 76);
    MessageMemo->hide();

    OkButton = new TImageButton(this, "OkButton");
    OkButton->setGeometry(36, kButtonTop, 72, 24);
    connect(OkButton, &QAbstractButton::clicked, this, [this] { OkButtonClick(); });
    CancleImButton = new TImageButton(this, "CancleImButton");
    CancleImButton->setGeometry(130, kButtonTop, 72, 24);
    connect(CancleImButton, &QAbstractButton::clicked, this, [this] { CancleImButtonClick(); });

    LogoImage->show();
    if (mode_ == QLatin1String("MSG_BUTTON_NO")) {
        OkButton->hide();
        CancleImButton->hide();
        ImImage_Close->hide();
        MessageStrLabel->move(MessageStrLabel->x(), 73);
    } else if (mode_ != QLatin1String("MSG_BUTTON_DOUBLE")) {
        CancleImButton->hide();
        OkButton->move((kWidth - OkButton->width()) / 2, kButtonTop);
    }

    const KindLook look = lookOf(kind_);
    WarningImage->move(InforImage->pos());
    QuestionImage->move(InforImage->pos());
    InforImage->hide();
    WarningImage->hide();
    QuestionImage->hide();
    if (look.icon == 1) InforImage->show();
    if (look.icon == 2) WarningImage->show();
    if (look.icon == 3) QuestionImage->show();
    OkButton->setText(GetString(look.firstCaption));
    CancleImButton->setText(GetString(look.secondCaption));

    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

void TMessageBoxForm::SetText(const QString& text) {
    text_ = text;
    if (text.size() <= 28) {
        MessageStrLabel->setText(text);
        MessageStrLabel->show();
        MessageMemo->hide();
    } else {
        MessageMemo->setPlainText(text);
        MessageMemo->setAlignment(Qt::AlignCenter);
        MessageMemo->show();
        MessageStrLabel->hide();
    }
}

int TMessageBoxForm::exec() {
    if (messagebox::HasResponder()) return messagebox::Answer(*this);
    return QDialog::exec();
}

void TMessageBoxForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    messagebox::NotifyShown(*this);
}

void TMessageBoxForm::OkButtonClick() {
    if (mode_ == QLatin1String("MSG_BUTTON_NOMODAL")) {
        if (OnRelease) OnRelease();
        else hide();
    } else if (mode_ == QLatin1String("MSG_NONE_MODAL")) {
        close();
    } else {
        done(1);
    }
}

void TMessageBoxForm::CancleImButtonClick() { done(2); }

void TMessageBoxForm::ImImage_CloseClick() {
    if (mode_ == QLatin1String("MSG_BUTTON_NOMODAL") || mode_ == QLatin1String("MSG_NONE_MODAL")) OkButtonClick();
    else done(2);
}

void TMessageBoxForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect());
}

void TMessageBoxForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        // Escape answers as the close image does; a progress notice ignores it.
        if (mode_ != QLatin1String("MSG_BUTTON_NO")) ImImage_CloseClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TMessageBoxForm::closeEvent(QCloseEvent* e) {
    // The window system's close of a progress notice is refused; its owner closes it.
    if (mode_ == QLatin1String("MSG_BUTTON_NO") && e->spontaneous()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void ShowMessageBox(QWidget* owner, const QString& text, int kind) {
    TMessageBoxForm box(owner, kind, QStringLiteral("MSG_BUTTON_SINGLE"));
    box.SetText(text);
    box.exec();
}

int AskMessageBox(QWidget* owner, const QString& text, int kind) {
    TMessageBoxForm box(owner, kind, QStringLiteral("MSG_BUTTON_DOUBLE"));
    box.SetText(text);
    return box.exec();
}

void SetMessageBoxText(TMessageBoxForm* box, const QString& text) {
    if (box) box->SetText(text);
}
