#include "files/key_recording.h"

#include <array>
#include <charconv>

#include "platform/byte_file.h"
#include "platform/text.h"

namespace pellark {
namespace {

constexpr std::string_view kMagic = "pellark-keys";

// As the menus and pellark-run take them.
constexpr std::int32_t kMostCyclesPerFrame = 1'000'000;
constexpr std::int32_t kMostFlagRegisters = 16;

template <typename Number>
std::optional<Number> DecimalNumber(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

bool IsSha1(std::string_view text) {
  if (text.size() != 40) return false;
  for (const char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// Takes the file apart line by line; the first problem found is the reason it is refused.
class KeyFileReader {
 public:
  explicit KeyFileReader(std::string_view text) : rest_(text) {}

  KeyRecordingRead Read() {
    KeyRecording recording;
    if (!ReadHeader() || !ReadProgram(recording) || !ReadRules(recording.rules) ||
        !ReadPasses(recording) || !ReadChanges(recording)) {
      return {std::nullopt, error_};
    }
    return {std::move(recording), {}};
  }

 private:
  bool ReadHeader() {
    std::string_view value;
    if (!Field(kMagic, value)) return Fail("it is no Pellark key file");
    const std::optional<int> format = DecimalNumber<int>(value);
    if (!format || *format < 1) return Fail("it is no Pellark key file");
    if (*format > kKeyRecordingFormat) {
      return Fail("it was written by a newer Pellark (format " + DecimalText(*format) +
                  "; this one reads format " + DecimalText(kKeyRecordingFormat) + ")");
    }
    return true;
  }

  bool ReadProgram(KeyRecording& recording) {
    std::string_view value;
    if (!Field("program", value) || !IsSha1(value)) return Damaged("program");
    recording.programSha1 = value;
    return true;
  }

  bool ReadRules(MachineRules& rules) {
    rules = MachineRules{};
    rules.switches = {};
    std::string_view value;
    if (!Field("rules", value)) return Damaged("rules");
    while (!value.empty()) {
      const std::string_view name = NextPart(value, ' ');
      const RuleFlag* flag = nullptr;
      for (const RuleFlag& entry : kRuleFlags) {
        if (entry.name == name) flag = &entry;
      }
      if (flag == nullptr || rules.*flag->field) return Damaged("rules");
      rules.*flag->field = true;
    }
    if (!Field("flag-registers", value)) return Damaged("flag-registers");
    const auto registers = DecimalNumber<std::int32_t>(value);
    if (!registers || *registers < 0 || *registers > kMostFlagRegisters)
      return Damaged("flag-registers");
    rules.flagRegisterCount = *registers;
    if (!Field("cycles-per-frame", value)) return Damaged("cycles-per-frame");
    const auto cycles = DecimalNumber<std::int32_t>(value);
    // Without frames the count is never used, and may be 0.
    if (!cycles || *cycles < (rules.frameTiming ? 1 : 0) || *cycles > kMostCyclesPerFrame)
      return Damaged("cycles-per-frame");
    rules.cyclesPerFrame = *cycles;
    if (!Field("switches", value)) return Damaged("switches");
    const std::optional<Switches> switches = SwitchesNamed(value == "none" ? "" : value);
    if (!switches || value.empty()) return Damaged("switches");
    rules.switches = *switches;
    return true;
  }

  bool ReadPasses(KeyRecording& recording) {
    std::string_view value;
    if (!Field("passes", value)) return Damaged("passes");
    const auto passes = DecimalNumber<std::uint64_t>(value);
    if (!passes) return Damaged("passes");
    recording.passes = *passes;
    return true;
  }

  bool ReadChanges(KeyRecording& recording) {
    std::uint16_t keys = 0;
    while (!rest_.empty()) {
      std::string_view line;
      if (!NextLine(line)) return Damaged("a change of keys");
      const std::string_view passText = NextPart(line, ' ');
      const auto pass = DecimalNumber<std::uint64_t>(passText);
      const std::optional<std::uint32_t> bits =
          line.size() == 4 ? ParseHexDigits(line) : std::nullopt;
      if (!pass || !bits) return Damaged("a change of keys");
      const std::uint64_t after = recording.changes.empty() ? 0 : recording.changes.back().pass;
      const auto changed = static_cast<std::uint16_t>(bits.value_or(0));
      // Passes count from 1, rise from change to change and end within the run; each change
      // changes the keys.
      if (*pass <= after || *pass > recording.passes || changed == keys) {
        return Damaged("a change of keys");
      }
      keys = changed;
      recording.changes.push_back({*pass, keys});
    }
    return true;
  }

  // The next line, which must end with its line end.
  bool NextLine(std::string_view& line) {
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    return true;
  }

  // The next line, "name value" (or the name alone, for an empty value).
  bool Field(std::string_view name, std::string_view& value) {
    std::string_view line;
    if (!NextLine(line)) return false;
    if (line == name) {
      value = {};
      return true;
    }
    if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
        line[name.size()] != ' ') {
      return false;
    }
    value = line.substr(name.size() + 1);
    return true;
  }

  bool Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
  }
  bool Damaged(std::string_view what) {
    std::string reason = "it is damaged (its ";
    return Fail(reason.append(what).append(" line cannot be read)"));
  }

  std::string_view rest_;
  std::string error_;
};

}  // namespace

std::string KeyRecordingText(const KeyRecording& recording) {
  std::string text(kMagic);
  text.append(" ").append(DecimalText(kKeyRecordingFormat)).append("\n");
  text.append("program ").append(recording.programSha1).append("\n");
  text += "rules";
  for (const RuleFlag& flag : kRuleFlags) {
    if (recording.rules.*flag.field) text.append(" ").append(flag.name);
  }
  text += "\n";
  text.append("flag-registers ").append(DecimalText(recording.rules.flagRegisterCount));
  text.append("\ncycles-per-frame ").append(DecimalText(recording.rules.cyclesPerFrame));
  text += "\nswitches ";
  std::string_view separator;
  for (const SwitchName& entry : kSwitchNames) {
    if (!(recording.rules.switches.*entry.field)) continue;
    text.append(separator).append(entry.name);
    separator = ",";
  }
  if (separator.empty()) text += "none";
  text.append("\npasses ").append(std::to_string(recording.passes)).append("\n");
  for (const KeyRecording::Change& change : recording.changes) {
    char keys[8];
    const int digits = FormatHex(change.keys, keys);
    text.append(std::to_string(change.pass)).append(" ");
    text.append(static_cast<std::size_t>(4 - digits), '0')
        .append(keys, static_cast<std::size_t>(digits));
    text += "\n";
  }
  return text;
}

KeyRecordingRead ReadKeyRecording(std::string_view text) {
  return KeyFileReader(text).Read();
}

KeyRecordingRead ReadKeyFile(const std::string& path) {
  ByteFile file;
  if (!file.OpenFileForReading(path)) return {std::nullopt, file.FailureReason()};
  std::string text;
  // One byte more than the largest file, so that a larger one is told apart, never cut short.
  while (text.size() <= kLargestKeyFile && !file.AtEndOfFile())
    text += static_cast<char>(file.ReadFileByte());
  file.CloseFileSlot();
  if (file.ReadFailed()) return {std::nullopt, file.FailureReason()};
  if (text.size() > kLargestKeyFile) {
    return {std::nullopt, "it is larger than " + DecimalText(kLargestKeyFile >> 20) + " MB"};
  }
  return ReadKeyRecording(text);
}

}  // namespace pellark
