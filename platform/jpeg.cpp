#include "platform/jpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace platform {
namespace {

// libjpeg reports fatal errors through error_exit; we jump back out of the
// decoder instead of letting it end the process.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings (a few corrupt bytes) are not printed

}  // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.size() < 4) return {};
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
    // Everything the jump may skip past lives outside this frame's locals that
    // change after setjmp: the image is built only once decoding succeeded.
    QImage* volatile result = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width == 0 || info.output_height == 0 ||
        info.output_width > 16384 || info.output_height > 16384) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    result = new QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                        QImage::Format_RGB888);
    if (result->isNull()) {
        jpeg_destroy_decompress(&info);
        delete result;
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage out = std::move(*result);
    delete result;
    return out;
}

QImage LoadJpeg(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return DecodeJpeg(f.readAll());
}

}  // namespace platform
