#include "drawing/picture_file.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include "drawing/image_surface.h"
#include "drawing/svg_picture.h"
#include "platform/local_numbers.h"
#include "platform/numbers.h"

namespace kestavian {

QString pictureFileName(float span, long position, const QString& effectText) {
    return "Span_" + QString::fromStdString(localGeneralForm(span)) + "_Ev_" +
           QString::number(position) + "_Ef_" + effectText + ".bmp";
}

namespace {

// Writes to a temporary file beside path and puts it in path's place once it is whole.
template <typename Write> QString saveWhole(const QString& path, Write&& write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (const QString reason = write(file); !reason.isEmpty())
        return reason;
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace

QString SavePicture(const QImage& image, const QString& path, const QByteArray& format) {
    return saveWhole(path, [&](QSaveFile& file) {
        QImageWriter writer(&file, format);
        return writer.write(image) ? QString() : writer.errorString();
    });
}

QByteArray pictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "bmp" || suffix == "png" || suffix == "svg")
        return suffix.toUpper().toLatin1();
    return {};
}

QString savePictureAs(const ImageSurface& surface, const QString& path, const QByteArray& format,
                      double scale) {
    if (format == "SVG")
        return saveWhole(path, [&](QSaveFile& file) {
            return file.write(svgPicture(surface)) < 0 ? file.errorString() : QString();
        });
    return SavePicture(scale == 1 ? surface.Image() : surface.scaledImage(scale), path, format);
}

} // namespace kestavian
