#include "pellark-run/png_file.h"

#include <png.h>

#include <vector>

#include "pellark-run/machine_report.h"
#include "platform/byte_file.h"

namespace pellark {

std::string WriteDisplayPng(const Machine& machine, const std::string& path) {
  // Every display pixel a block of kPngBlock × kPngBlock: black, white when lit on the first
  // plane, light grey on the second only and dark grey on both.
  static constexpr png_byte kGreys[] = {0, 255, 170, 85};
  const int width = machine.ScreenWidth() * kPngBlock;
  const int height = machine.ScreenHeight() * kPngBlock;
  std::vector<png_byte> grey(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x)] = kGreys[machine.PixelValue(x / kPngBlock, y / kPngBlock)];
    }
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_GRAY;
  // Encoded in memory first: libpng's own file writer empties the file before it knows the
  // picture can be written, and removes it on failure.
  png_alloc_size_t size = 0;
  std::vector<png_byte> encoded;
  if (png_image_write_get_memory_size(image, size, 0, grey.data(), 0, nullptr) != 0) {
    encoded.resize(size);
    png_image_write_to_memory(&image, encoded.data(), &size, 0, grey.data(), 0, nullptr);
  }
  if (PNG_IMAGE_FAILED(image)) {
    std::string message = image.message;
    png_image_free(&image);
    return message.empty() ? "cannot encode the picture" : message;
  }

  ByteFile file;
  if (!file.CreateFileForWriting(path)) return file.FailureReason();
  for (std::size_t i = 0; i < size; ++i) file.WriteFileByte(encoded[i]);
  if (!file.CloseFileSlot()) return file.FailureReason();
  return {};
}

}  // namespace pellark
