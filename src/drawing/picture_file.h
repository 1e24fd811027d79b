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

} // namespace kestavian
