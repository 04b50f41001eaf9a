// Renders the skin's picture files into the installed resources:
//   resource/image/start.jpg            splash background, 388 x 242
//   resource/image/UI_UnlockForm.jpg    network-unlock background, 580 x 386
//   resource/image/logo/peluMaxLogo.bmp large logo (title strips, splash, about box)
//   resource/image/logo/peluMinLogo.bmp small logo (dialogs)
// With --preview DIR it also writes a contact sheet of every image list.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>

#include "widgets/artwork.h"
#include "widgets/artwork_backgrounds.h"
#include "widgets/artwork_lists.h"
#include "widgets/skin.h"

namespace {
bool save(const QImage& img, const QString& path, const char* format, int quality = -1) {
    QDir().mkpath(QFileInfo(path).path());
    const bool ok = img.save(path, format, quality);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

QImage contactSheet(int scale) {
    using artwork::ImageList;
    const ImageList lists[] = {ImageList::RSSILevel, ImageList::TrayMain, ImageList::Internet, ImageList::NewSms,
                               ImageList::IncomingCall};
    const int cell = 40 * scale, label = 170;
    QImage sheet(QSize(label + 10 * cell + 20, 5 * cell + 20), QImage::Format_ARGB32);
    sheet.fill(skin::kSurface);
    QPainter p(&sheet);
    int y = 10;
    for (ImageList l : lists) {
        p.setPen(skin::kText);
        p.drawText(QRect(10, y, label, cell), Qt::AlignVCenter, QString::fromLatin1(artwork::ImageListName(l)));
        for (int i = 0; i < artwork::ImageCount(l); ++i) {
            const QSize s = artwork::ImageSize(l) * scale;
            const QPixmap pm = artwork::Picture(l, i, s);
            p.drawPixmap(label + i * cell + (cell - s.width()) / 2, y + (cell - s.height()) / 2, pm);
        }
        y += cell;
    }
    return sheet;
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out = QStringLiteral(LINKORA_SOURCE_DIR "/resources/files/resource/image");
    QString preview;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--preview") && i + 1 < args.size()) preview = args[++i];
        else out = args[i];
    }
    const QColor title = skin::kAccent.lighter(106);
    bool ok = save(artwork::SplashBackground(), out + QStringLiteral("/start.jpg"), "JPG", 92);
    ok &= save(artwork::UnlockBackground(), out + QStringLiteral("/UI_UnlockForm.jpg"), "JPG", 92);
    ok &= save(artwork::LogoBitmap(22, title), out + QStringLiteral("/logo/peluMaxLogo.bmp"), "BMP");
    ok &= save(artwork::LogoBitmap(16, title), out + QStringLiteral("/logo/peluMinLogo.bmp"), "BMP");
    if (!preview.isEmpty()) {
        ok &= save(contactSheet(1), preview + QStringLiteral("/image_lists_1x.png"), "PNG");
        ok &= save(contactSheet(3), preview + QStringLiteral("/image_lists_3x.png"), "PNG");
        ok &= save(artwork::LogoBitmap(22, title).scaled(88, 88), preview + QStringLiteral("/logo_large_4x.png"), "PNG");
        ok &= save(artwork::LogoBitmap(16, title).scaled(64, 64), preview + QStringLiteral("/logo_small_4x.png"), "PNG");
    }
    return ok ? 0 : 1;
}
