#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/image.h"

namespace pellark {

// An animated GIF as a viewer shows it: every frame drawn over the ones before, with its delay
// in hundredths of a second.
struct GifFrames {
  int width = 0;
  int height = 0;
  bool loops = false;
  std::vector<int> delays;
  std::vector<Image> pictures;

  int TotalDelay() const {
    int total = 0;
    for (const int delay : delays) total += delay;
    return total;
  }
};

inline GifFrames ReadGif(const std::string& path) {
  GifFrames frames;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  if (gif == nullptr) {
    ADD_FAILURE() << "cannot open " << path << ": " << GifErrorString(error);
    return frames;
  }
  if (DGifSlurp(gif) != GIF_OK) {
    ADD_FAILURE() << "cannot decode " << path << ": " << GifErrorString(gif->Error);
    DGifCloseFile(gif, &error);
    return frames;
  }
  frames.width = gif->SWidth;
  frames.height = gif->SHeight;
  Image canvas;
  canvas.NewImage(frames.width, frames.height);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& saved = gif->SavedImages[i];
    for (int e = 0; e < saved.ExtensionBlockCount; ++e) {
      const ExtensionBlock& block = saved.ExtensionBlocks[e];
      if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
          std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0")
        frames.loops = true;
    }
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    frames.delays.push_back(control.DelayTime);
    const GifImageDesc& desc = saved.ImageDesc;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    for (int y = 0; y < desc.Height; ++y) {
      for (int x = 0; x < desc.Width; ++x) {
        const GifColorType colour = map->Colors[saved.RasterBits[y * desc.Width + x]];
        canvas.PutPixel(desc.Left + x, desc.Top + y, RGB(colour.Red, colour.Green, colour.Blue));
      }
    }
    Image picture;
    picture.DuplicateImage(canvas);
    frames.pictures.push_back(std::move(picture));
  }
  DGifCloseFile(gif, &error);
  return frames;
}

}  // namespace pellark
