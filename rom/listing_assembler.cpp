#include "listing_assembler.h"

#include <cctype>
#include <cstdio>

namespace pellark {
namespace {

// An instruction word whose address part waits for a label that may come later.
struct LabelUse {
  std::size_t position;
  int line;
  int opcode;
  std::string label;
};

bool IsHexDigit(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
}

bool IsHex(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!IsHexDigit(c)) return false;
  }
  return true;
}

int HexValue(std::string_view text) {
  int value = 0;
  for (const char c : text) value = value * 16 + HexDigitValue(c);
  return value;
}

bool IsLabelName(std::string_view text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])) != 0) return false;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') return false;
  }
  return true;
}

bool IsPixelRow(std::string_view text) {
  if (text.size() != 8) return false;
  for (const char c : text) {
    if (c != '#' && c != '.') return false;
  }
  return true;
}

int PixelRowValue(std::string_view text) {
  int value = 0;
  for (const char c : text) value = value * 2 + (c == '#' ? 1 : 0);
  return value;
}

bool IsAddressedOpcode(std::string_view text) {
  return text.size() == 4 && IsHexDigit(text[0]) && text.substr(1) == "nnn";
}

// Messages are built front to back: name first, then the rest appended.
std::string Quoted(std::string_view text) {
  std::string quoted(1, '"');
  quoted.append(text).push_back('"');
  return quoted;
}

std::string Address(int address) {
  char text[8];
  std::snprintf(text, sizeof text, "%03X", address);
  return text;
}

std::vector<std::string_view> Words(std::string_view line) {
  line = line.substr(0, line.find(';'));
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (true) {
    while (start < line.size() && std::isspace(static_cast<unsigned char>(line[start])) != 0)
      ++start;
    if (start == line.size()) break;
    std::size_t end = start;
    while (end < line.size() && std::isspace(static_cast<unsigned char>(line[end])) == 0) ++end;
    words.push_back(line.substr(start, end - start));
    start = end;
  }
  return words;
}

class Assembler {
 public:
  explicit Assembler(int limit) : limit_(limit) {}

  // False when the line has an error; the error is then recorded.
  bool AssembleLine(std::string_view text, int line) {
    line_ = line;
    std::vector<std::string_view> words = Words(text);
    std::string_view label;
    if (!words.empty() && words.front().ends_with(':')) {
      label = words.front().substr(0, words.front().size() - 1);
      words.erase(words.begin());
    }
    if (!words.empty() && words.front() == "org") {
      if (words.size() != 2 || !IsHex(words[1]) || words[1].size() > 3) {
        return Fail("org needs one hexadecimal address of up to three digits");
      }
      if (!MoveTo(HexValue(words[1]))) return false;
    }
    if (!label.empty() && !DefineLabel(label)) return false;
    if (!words.empty() && words.front() == "org") return true;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const std::string_view word = words[i];
      bool emitted = false;
      if (IsPixelRow(word)) {
        emitted = Emit({PixelRowValue(word)});
      } else if (IsHex(word) && word.size() == 2) {
        emitted = Emit({HexValue(word)});
      } else if (IsHex(word) && word.size() == 4) {
        const int value = HexValue(word);
        emitted = Emit({value >> 8, value & 0xFF});
      } else if (IsAddressedOpcode(word)) {
        if (i + 1 == words.size() || !IsLabelName(words[i + 1])) {
          return Fail(Quoted(word) + " needs a label name after it");
        }
        uses_.push_back(
            {image_.bytes.size(), line, HexDigitValue(word[0]), std::string(words[++i])});
        emitted = Emit({0, 0});
      } else {
        return Fail(Quoted(word) +
                    " cannot be read: expected HH, HHHH, an 8-pixel row of # and ., or Xnnn with "
                    "a label");
      }
      if (!emitted) return false;
    }
    return true;
  }

  // Fills in the label addresses; false when a label is unknown.
  bool ResolveLabels() {
    for (const LabelUse& use : uses_) {
      line_ = use.line;
      const auto found = image_.labels.find(use.label);
      if (found == image_.labels.end()) return Fail(Quoted(use.label) + " is not a known label");
      const int word = use.opcode << 12 | found->second;
      image_.bytes[use.position] = static_cast<std::uint8_t>(word >> 8);
      image_.bytes[use.position + 1] = static_cast<std::uint8_t>(word & 0xFF);
    }
    return true;
  }

  AssembledImage Result() && { return std::move(image_); }

 private:
  bool Fail(std::string message) {
    image_.error = ListingError{line_, std::move(message)};
    return false;
  }

  bool MoveTo(int address) {
    const int here = static_cast<int>(image_.bytes.size());
    if (address < here) {
      return Fail(std::string("org ") + Address(address) + " lies before the current address " +
                  Address(here));
    }
    if (address > limit_)
      return Fail(std::string("org ") + Address(address) + " lies beyond " + Address(limit_));
    image_.bytes.resize(static_cast<std::size_t>(address), 0);
    return true;
  }

  bool DefineLabel(std::string_view name) {
    if (!IsLabelName(name)) return Fail(Quoted(name) + " is not a label name");
    const auto [where, added] = image_.labels.emplace(name, static_cast<int>(image_.bytes.size()));
    if (!added) return Fail(Quoted(name) + " is defined twice");
    return true;
  }

  bool Emit(std::initializer_list<int> bytes) {
    if (image_.bytes.size() + bytes.size() > static_cast<std::size_t>(limit_)) {
      return Fail(std::string("the image would reach address ") + Address(limit_));
    }
    for (const int byte : bytes) image_.bytes.push_back(static_cast<std::uint8_t>(byte));
    return true;
  }

  int limit_;
  int line_ = 0;
  AssembledImage image_;
  std::vector<LabelUse> uses_;
};

}  // namespace

AssembledImage AssembleListing(std::string_view listing, int limit) {
  Assembler assembler(limit);
  int line = 0;
  std::size_t start = 0;
  while (start <= listing.size()) {
    std::size_t end = listing.find('\n', start);
    if (end == std::string_view::npos) end = listing.size();
    ++line;
    if (!assembler.AssembleLine(listing.substr(start, end - start), line)) {
      return std::move(assembler).Result();
    }
    start = end + 1;
  }
  assembler.ResolveLabels();
  return std::move(assembler).Result();
}

}  // namespace pellark
