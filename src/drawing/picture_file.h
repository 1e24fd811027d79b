#pragma once

#include <QByteArray>
#include <QString>
#include <string>

class QImage;

namespace kestavian {

// The name a saved picture gets: "Span_<span>_Ev_<list position>_Ef_<effect>.bmp", the span
// written as the user reads numbers (with the system's decimal separator).
QString pictureFileName(float span, long position, const QString& effectText);

// Writes the image to path in the given format ("BMP", "PNG"), replacing a file of that name.
// The image goes to a temporary file first, so a failed write leaves no half picture behind.
// Returns the reason when the picture could not be written, or the empty text.
QString SavePicture(const QImage& image, const QString& path, const QByteArray& format);

class ImageSurface;

// The format a picture file's name asks for by its ending, in any case: "BMP", "PNG" or "SVG";
// empty for any other.
QByteArray pictureFormatOf(const QString& path);

// Writes the surface's picture to path in the given format, as SavePicture does: BMP and PNG at
// scale times the picture's size each way (drawn afresh, so as sharp as a screen of that ratio
// shows it), SVG as a drawing of the picture's size.
QString savePictureAs(const ImageSurface& surface, const QString& path, const QByteArray& format,
                      double scale = 1);

} // namespace kestavian
