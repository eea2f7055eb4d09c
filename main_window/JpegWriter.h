// JPEG encoding of a rendered picture through libjpeg: 24-bit RGB rows, the
// library's defaults, baseline quantisation tables at the given quality, no
// progressive encoding.
#pragma once

#include <QByteArray>
#include <stdexcept>

class QImage;

namespace jpegwriter {

inline constexpr int kExportQuality = 90;
// The widest and highest picture the library encodes.
inline constexpr int kMaxSide = 65500;

// A failure of the encoder.
class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The picture encoded as a JPEG stream; an empty stream for a picture of
// zero width or height. Throws EJpegError when the library fails.
QByteArray EncodeJpeg(const QImage& image, int quality = kExportQuality);

}  // namespace jpegwriter
