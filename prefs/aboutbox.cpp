#include "prefs/aboutbox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <memory>

#include "core/strings.h"
#include "platform/codepage.h"
#include "velkdev/velkdev.h"
#include "platform/paths.h"
#include "widgets/artwork_backgrounds.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace {
constexpr int kWidth = 388;
constexpr int kHeight = 273;
constexpr int kCaptionLeft = 20;
constexpr int kCaptionWidth = 186;
constexpr int kValueLeft = kCaptionLeft + kCaptionWidth + 4;
constexpr int kValueWidth = kWidth - kValueLeft - 6;
constexpr int kRowHeight = 20;
constexpr int kFirstRow = 112;
constexpr std::size_t kVersionBuffer = 100;
// The card reports this inner version for builds older than the first one
// that had an inner version of its own.
const char* const kOldInnerVersion = "Old Version befor V1.0.1B11";

QLabel* makeLabel(QWidget* parent, const char* name, QRect where, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(where);
    l->setAlignment(align);
    return l;
}
}  // namespace

TAboutBox::TAboutBox(QWidget* owner, bool innerVersion)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog), innerVersion_(innerVersion) {
    setObjectName(QStringLiteral("TAboutBox"));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()) +
                  QStringLiteral("QLabel#Label_ProductName { font-size: 15pt; font-weight: bold; color: %1; }"
                                 "QLabel[role=\"caption\"] { color: %2; }")
                      .arg(skin::kAccentDark.name(), skin::kMuted.name()));

    Label_Title = new TTitleStrip(this, "Label_Title");
    Label_Title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    Label_Title->SetCaption(QStringLiteral("       ") + GetString(1053));
    // The large logo bitmap in the title strip; a failed load leaves it empty.
    ImImage_Title_Logo = new QLabel(this);
    ImImage_Title_Logo->setObjectName(QStringLiteral("ImImage_Title_Logo"));
    ImImage_Title_Logo->setPixmap(QPixmap(paths::NativePath(QStringLiteral("resource\\image\\logo\\peluMaxLogo.bmp"))));
    ImImage_Title_Logo->setGeometry(3, 2, 22, 22);
    ImImage_Title_Close = new TImageButton(this, "ImImage_Title_Close", TImageButton::Glyph::Close);
    ImImage_Title_Close->setGeometry(kWidth - 22, 4, 18, 18);
    connect(ImImage_Title_Close, &QAbstractButton::clicked, this, [this] { ImImage_Title_CloseClick(); });

    Image_Logo = new QLabel(this);
    Image_Logo->setObjectName(QStringLiteral("Image_Logo"));
    Image_Logo->setPixmap(QPixmap::fromImage(artwork::LogoBitmap(56, skin::kSurface)));
    Image_Logo->setGeometry(kCaptionLeft, 42, 56, 56);
    Label_ProductName = makeLabel(this, "Label_ProductName", QRect(kCaptionLeft + 80, 48, 250, 44));

    // One row per version; each caption beside its value.
    auto pair = [&](QLabel*& caption, const char* captionName, QLabel*& value, const char* valueName) {
        caption = makeLabel(this, captionName, QRect(kCaptionLeft, kFirstRow, kCaptionWidth, kRowHeight));
        caption->setProperty("role", QStringLiteral("caption"));
        value = makeLabel(this, valueName, QRect(kValueLeft, kFirstRow, kValueWidth, kRowHeight));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        rows_.push_back({caption, value});
    };
    pair(Label_PCSoftwareVersionCaption, "Label_PCSoftwareVersionCaption", Label_PCSoftwareVersion, "Label_PCSoftwareVersion");
    pair(Label_PCSoftwareInterVersionCaption, "Label_PCSoftwareInterVersionCaption", Label_PCSoftwareInterVersion,
         "Label_PCSoftwareInterVersion");
    pair(Label_BoardSoftwareVersionCaption, "Label_BoardSoftwareVersionCaption", Label_BoardSoftwareVersion,
         "Label_BoardSoftwareVersion");
    pair(Label_BoardSoftwareInterVersionCaption, "Label_BoardSoftwareInterVersionCaption", Label_BoardSoftwareInterVersion,
         "Label_BoardSoftwareInterVersion");
    pair(Label_HardwareVersionCaption, "Label_HardwareVersionCaption", Label_HardwareVersion, "Label_HardwareVersion");
    pair(Label_IMEI, "Label_IMEI", Label_IMEINumber, "Label_IMEINumber");

    // The card's versions start hidden; reading them shows what was read.
    for (QLabel* l : {Label_BoardSoftwareVersionCaption, Label_BoardSoftwareVersion, Label_HardwareVersionCaption,
                      Label_HardwareVersion, Label_BoardSoftwareInterVersion})
        l->hide();
    Label_PCSoftwareInterVersionCaption->setVisible(innerVersion_);
    Label_PCSoftwareInterVersion->setVisible(innerVersion_);
    Label_BoardSoftwareInterVersionCaption->setVisible(innerVersion_);

    Label_ProductName->setText(GetString(1001));
    Label_PCSoftwareVersionCaption->setText(GetString(1065));
    Label_PCSoftwareVersion->setText(GetString(1068));
    Label_BoardSoftwareVersionCaption->setText(GetString(1066));
    Label_HardwareVersionCaption->setText(GetString(1067));
    Label_PCSoftwareInterVersionCaption->setText(GetString(1088));
    Label_PCSoftwareInterVersion->setText(GetString(1087));
    Label_BoardSoftwareInterVersionCaption->setText(GetString(1089));

    char imei[36] = {};
    Velk_QueryImei(imei);
    const QString number = codepage::ToQString(imei, sizeof imei);
    if (!number.isEmpty()) {
        Label_IMEINumber->setText(number);
        Label_IMEI->setText(GetString(21));
    } else {
        Label_IMEI->setText(QString());
    }

    LayoutRows();
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

// Rows with nothing shown take no room, so the table has no gaps.
void TAboutBox::LayoutRows() {
    int top = kFirstRow;
    for (const auto& [caption, value] : rows_) {
        caption->move(kCaptionLeft, top);
        value->move(kValueLeft, top);
        if (!caption->isHidden() || !value->isHidden()) top += kRowHeight;
    }
}

void TAboutBox::ReadCardVersions() {
    char software[kVersionBuffer] = {};
    char inner[kVersionBuffer] = {};
    if (Velk_GetSoftwareVersion(software, inner) == 0) {
        Label_BoardSoftwareVersion->setText(codepage::ToQString(software, sizeof software));
        Label_BoardSoftwareVersionCaption->show();
        Label_BoardSoftwareVersion->show();
        if (innerVersion_) {
            const QString in = codepage::ToQString(inner, sizeof inner);
            Label_BoardSoftwareInterVersion->setText(in == QLatin1String("1") ? QString::fromLatin1(kOldInnerVersion) : in);
            Label_BoardSoftwareInterVersionCaption->show();
            Label_BoardSoftwareInterVersion->show();
        }
    }
    char board[kVersionBuffer] = {};
    if (Velk_GetBoardVersion(board) == 0) {
        Label_HardwareVersion->setText(codepage::ToQString(board, sizeof board));
        Label_HardwareVersionCaption->show();
        Label_HardwareVersion->show();
    }
    LayoutRows();
}

void TAboutBox::ImImage_Title_CloseClick() { accept(); }

void TAboutBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect());
    // A thin rule between the product header and the version table.
    p.setPen(QPen(skin::kAccentLight, 1));
    p.drawLine(kCaptionLeft, kFirstRow - 6, kWidth - 20, kFirstRow - 6);
}

void RunAboutBox(QWidget* owner, bool innerVersion, bool mayReadVersions) {
    auto box = std::make_unique<TAboutBox>(owner, innerVersion);
    if (mayReadVersions) box->ReadCardVersions();
    box->exec();
}
