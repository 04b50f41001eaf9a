#include "app/startform.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include "app/windows.h"
#include "core/strings.h"
#include "platform/jpeg.h"
#include "platform/paths.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 388;
constexpr int kHeight = 242;

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& r, const QString& style) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(r);
    l->setStyleSheet(style);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}
}  // namespace

TStartForm::TStartForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StartForm"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen);
    setFixedSize(kWidth, kHeight);
    windows::Register("TStartForm", this);

    picture_ = platform::LoadJpeg(paths::InFolder(QStringLiteral("\\resource\\image\\start.jpg")));

    const QString light = QStringLiteral("color: white;");
    Label_ProductName = makeLabel(this, "Label_ProductName", QRect(24, 34, 340, 40),
                                  light + QStringLiteral("font-size: 22pt; font-weight: bold;"));
    Label_Description = makeLabel(this, "Label_Description", QRect(24, 76, 340, 22),
                                  light + QStringLiteral("font-size: 10pt;"));
    Label_PCSoftwareVersionCaption = makeLabel(this, "Label_PCSoftwareVersionCaption", QRect(24, 186, 150, 18),
                                               light + QStringLiteral("font-size: 8pt;"));
    Label_PCSoftwareVersion = makeLabel(this, "Label_PCSoftwareVersion", QRect(176, 186, 100, 18),
                                        light + QStringLiteral("font-size: 8pt;"));
    Label_Init = makeLabel(this, "Label_Init", QRect(24, 208, 340, 18), light + QStringLiteral("font-size: 8pt;"));
    LogoImage = new QLabel(this);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setPixmap(QPixmap(QStringLiteral("resource/image/logo/peluMaxLogo.bmp")));
    LogoImage->hide();

    Label_ProductName->setText(GetString(1001));
    Label_PCSoftwareVersionCaption->setText(GetString(1065));
    Label_PCSoftwareVersion->setText(GetString(1068));
    Label_Init->setText(GetString(1069));
    Label_Description->setText(GetString(1050));
    // Fit the caption to its text so the version follows it closely.
    Label_PCSoftwareVersionCaption->adjustSize();
    Label_PCSoftwareVersion->move(Label_PCSoftwareVersionCaption->geometry().right() + 6, 186);

    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

TStartForm::~TStartForm() {
    if (windows::Find("TStartForm") == this) windows::Unregister("TStartForm");
}

void TStartForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    if (!picture_.isNull()) {
        p.drawImage(rect(), picture_);
    } else {
        // Our own picture when the JPEG is missing: the accent gradient with
        // signal arcs rising from the lower right.
        QLinearGradient g(0, 0, kWidth, kHeight);
        g.setColorAt(0, skin::kAccent);
        g.setColorAt(1, skin::kAccentDark);
        p.fillRect(rect(), g);
        p.setPen(QPen(QColor(255, 255, 255, 40), 10, Qt::SolidLine, Qt::RoundCap));
        const QPoint c(kWidth - 70, kHeight - 60);
        for (int i = 1; i <= 4; ++i) {
            const int r = 26 * i;
            p.drawArc(QRect(c.x() - r, c.y() - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
        }
        p.setBrush(QColor(255, 255, 255, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(c, 8, 8);
    }
    // A veil under the texts keeps them readable on any picture.
    QLinearGradient veil(0, kHeight - 70, 0, kHeight);
    veil.setColorAt(0, QColor(0, 0, 0, 0));
    veil.setColorAt(1, QColor(0, 0, 0, 70));
    p.fillRect(QRect(0, kHeight - 70, kWidth, 70), veil);
    p.setPen(QPen(skin::kAccentDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
