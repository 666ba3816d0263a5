// Build step: assembles the boot image listing into the raw image "Chip8.rom".
//   pellark_rom_assembler LISTING OUTPUT

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/machine.h"
#include "listing_assembler.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pellark_rom_assembler LISTING OUTPUT\n";
    return 2;
  }
  const std::string listingPath = argv[1];
  const std::string outputPath = argv[2];
  std::ifstream listingFile(listingPath, std::ios::binary);
  if (!listingFile) {
    std::cerr << listingPath << ": cannot read the listing\n";
    return 1;
  }
  std::ostringstream listing;
  listing << listingFile.rdbuf();

  // Programs are loaded from 0x200: the boot image must end before.
  const pellark::AssembledImage image =
      pellark::AssembleListing(listing.str(), pellark::kProgramStart);
  if (image.error) {
    std::cerr << listingPath << ":" << image.error->line << ": " << image.error->message << "\n";
    return 1;
  }

  std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
  output.write(reinterpret_cast<const char*>(image.bytes.data()),
               static_cast<std::streamsize>(image.bytes.size()));
  output.close();
  if (!output) {
    // No half-written image may look up to date to the build.
    std::remove(outputPath.c_str());
    std::cerr << outputPath << ": cannot write the image\n";
    return 1;
  }
  return 0;
}
