#include "drawing/picture_file.h"

#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/local_numbers.h"
#include "platform/numbers.h"

namespace kestavian {

QString pictureFileName(float span, long position, const QString& effectText) {
    return "Span_" + QString::fromStdString(localGeneralForm(span)) + "_Ev_" +
           QString::number(position) + "_Ef_" + effectText + ".bmp";
}

QString SavePicture(const QImage& image, const QString& path, const QByteArray& format) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QImageWriter writer(&file, format);
    if (!writer.write(image))
        return writer.errorString();
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace kestavian
