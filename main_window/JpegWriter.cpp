#include "JpegWriter.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace jpegwriter {
namespace {

static_assert(kMaxSide == JPEG_MAX_DIMENSION);

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the encoder with the library's message.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void NoOutput(j_common_ptr) {}

// Runs the encoder on packed RGB rows. Nothing with a destructor lives in
// this frame past the setjmp. Returns false with `message` set on failure.
bool Compress(const unsigned char* rgb, int width, int height, int quality, unsigned char** out,
              unsigned long* outSize, char* message) {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = NoOutput;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
    return false;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, out, outSize);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  const size_t stride = static_cast<size_t>(width) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + stride * cinfo.next_scanline);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}

}  // namespace

QByteArray EncodeJpeg(const QImage& image, int quality) {
  if (image.width() <= 0 || image.height() <= 0) return QByteArray();
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) throw EJpegError("Out of memory while converting the picture.");
  const int width = rgb.width();
  const int height = rgb.height();
  const size_t stride = static_cast<size_t>(width) * 3;
  std::vector<unsigned char> rows(stride * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    std::copy_n(rgb.constScanLine(y), stride, rows.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(y)));

  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  char message[JMSG_LENGTH_MAX] = {};
  const bool ok = Compress(rows.data(), width, height, quality, &out, &outSize, message);
  QByteArray result;
  if (ok && out) result = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(outSize));
  std::free(out);
  if (!ok) throw EJpegError(message);
  return result;
}

}  // namespace jpegwriter
