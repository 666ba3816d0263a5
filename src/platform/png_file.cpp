#include "platform/png_file.h"

#include <png.h>

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

std::string WritePng(const Image& picture, int block, const std::string& path) {
  const int width = picture.Width() * block;
  const int height = picture.Height() * block;
  std::vector<png_byte> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  auto out = rgb.begin();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour colour = picture.ReadPixel(x / block, y / block);
      *out++ = static_cast<png_byte>(RedOf(colour));
      *out++ = static_cast<png_byte>(GreenOf(colour));
      *out++ = static_cast<png_byte>(BlueOf(colour));
    }
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  // Encoded in memory first: libpng's own file writer empties the file before it knows the
  // picture can be written, and removes it on failure.
  png_alloc_size_t size = 0;
  std::vector<png_byte> encoded;
  if (png_image_write_get_memory_size(image, size, 0, rgb.data(), 0, nullptr) != 0) {
    encoded.resize(size);
    png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr);
  }
  if (PNG_IMAGE_FAILED(image)) {
    std::string message = image.message;
    png_image_free(&image);
    return message.empty() ? "cannot encode the picture" : message;
  }

  ByteFile file;
  if (!file.CreateFileForWriting(path)) return file.FailureReason();
  file.WriteText({reinterpret_cast<const char*>(encoded.data()), size});
  if (!file.CloseFileSlot()) return file.FailureReason();
  return {};
}

}  // namespace pellark
