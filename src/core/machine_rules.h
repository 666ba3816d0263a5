#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pellark {

// The seven switches by which the platforms programs were written for differ.
struct Switches {
  bool shift = false;      // 8xy6/8xyE shift Vx in place; off: Vx = Vy shifted
  bool increment = false;  // Fx55/Fx65 add x to I, not x + 1 (memory wins when both are on)
  bool memory = false;     // Fx55/Fx65 leave I unchanged; off: I += x + 1 afterwards
  bool jump = false;       // Bxnn jumps to xnn + Vx; off: Bnnn jumps to nnn + V0
  bool clip = false;       // sprite pixels past an edge are dropped; off: they wrap around
  bool vblank = false;     // a sprite draw in 64 x 32 mode ends the current frame
  bool logic = false;      // 8xy1/8xy2/8xy3 set VF to 0; off: VF unchanged

  constexpr bool operator==(const Switches&) const = default;
};

struct SwitchName {
  std::string_view name;
  bool Switches::*field;
};

// In the order menus and messages list them.
inline constexpr std::array<SwitchName, 7> kSwitchNames{{
    {"shift", &Switches::shift},
    {"increment", &Switches::increment},
    {"memory", &Switches::memory},
    {"jump", &Switches::jump},
    {"clip", &Switches::clip},
    {"vblank", &Switches::vblank},
    {"logic", &Switches::logic},
}};

// The switches named in a comma-separated list ("shift,clip"), those on and the others off;
// the empty list turns all off. None when a name is not a switch's.
std::optional<Switches> SwitchesNamed(std::string_view names);

// The rules a machine runs by. The designed machine is every rule at its default; the
// platform profiles turn on the common rules and choose the switches and the frame rate.
struct MachineRules {
  // 8xy1 to 8xyE write Vx first and VF last, so with x = F the flag is what remains.
  bool flagWrittenLast = false;
  // Cxkk: a random byte AND kk, rather than a number up to kk.
  bool randomByteMasked = false;
  // Sprites start at X mod width, Y mod height and draw n rows wherever they come from;
  // Dxy0 draws 16 x 16 in both resolutions; the clip switch decides what crosses an edge.
  bool platformSprites = false;
  // Fx29 and Fx30 take the digit Vx AND F; Fx30 points at a complete large font.
  bool completeFonts = false;
  // 00FD ends the program; every 0nnn without a handler passes on by 2, 0000 and 0001
  // without scrolling.
  bool platformGroupZero = false;
  // Fx75/Fx85 save and restore V0..Vx in this many flag registers (x is cut to fit); 0: no
  // store at all.
  std::int32_t flagRegisterCount = 0;
  // Fx0A gives the key it saw held only once that key is let go again, the frames going on
  // meanwhile; otherwise it ends at the first round that finds a key held.
  bool keyWaitForRelease = false;
  // XO-CHIP's machine: 64 KiB of memory whose addresses wrap, F000 nnnn, 5xy2/5xy3, Fn01,
  // F002, Fx3A, 00Dn, and a second display plane.
  bool xoChip = false;
  // The sound timer sounds the audio pattern; the designed machine stays silent.
  bool audible = false;
  // Timers count down once per frame and the display is shown once per frame, every
  // cyclesPerFrame instructions; otherwise the timers follow the instruction count.
  bool frameTiming = false;
  std::int32_t cyclesPerFrame = 0;
  // The designed machine shifts in place, leaves I alone and clips.
  Switches switches{.shift = true, .memory = true, .clip = true};

  constexpr bool operator==(const MachineRules&) const = default;
};

// The rules' on/off fields by the names files give them, in the order files list them.
struct RuleFlag {
  std::string_view name;
  bool MachineRules::*field;
};
inline constexpr std::array<RuleFlag, 9> kRuleFlags{{
    {"flag-written-last", &MachineRules::flagWrittenLast},
    {"random-byte-masked", &MachineRules::randomByteMasked},
    {"platform-sprites", &MachineRules::platformSprites},
    {"complete-fonts", &MachineRules::completeFonts},
    {"platform-group-zero", &MachineRules::platformGroupZero},
    {"key-wait-for-release", &MachineRules::keyWaitForRelease},
    {"xo-chip", &MachineRules::xoChip},
    {"audible", &MachineRules::audible},
    {"frame-timing", &MachineRules::frameTiming},
}};

enum class Profile { Designed, Chip8, ModernChip8, SuperChip10, SuperChip, XoChip };

namespace detail {

// What every platform profile shares.
constexpr MachineRules PlatformRules(const Switches& switches, std::int32_t cyclesPerFrame,
                                     std::int32_t flagRegisterCount) {
  MachineRules rules;
  rules.flagWrittenLast = true;
  rules.randomByteMasked = true;
  rules.platformSprites = true;
  rules.completeFonts = true;
  rules.platformGroupZero = true;
  rules.flagRegisterCount = flagRegisterCount;
  rules.keyWaitForRelease = true;
  rules.audible = true;
  rules.frameTiming = true;
  rules.cyclesPerFrame = cyclesPerFrame;
  rules.switches = switches;
  return rules;
}

constexpr MachineRules WithXoChip(MachineRules rules) {
  rules.xoChip = true;
  return rules;
}

}  // namespace detail

struct ProfileEntry {
  Profile profile;
  // What --profile takes.
  std::string_view commandLineName;
  // What the "Compatibility" menu and the messages call it.
  std::string_view label;
  // The ids by which the CHIP-8 database names the platforms this profile runs.
  std::array<std::string_view, 2> databasePlatforms;
  MachineRules rules;
};

// Every profile, in the order menus and messages list them. The frame rates are the
// database's platform defaults; the HP48 kept only eight flag registers.
inline constexpr std::array kProfileTable{
    ProfileEntry{Profile::Designed, "designed", "As designed", {}, MachineRules{}},
    ProfileEntry{Profile::Chip8,
                 "chip8",
                 "CHIP-8 (COSMAC VIP)",
                 {"originalChip8"},
                 detail::PlatformRules({.clip = true, .vblank = true, .logic = true}, 15, 16)},
    ProfileEntry{Profile::ModernChip8,
                 "modern",
                 "Modern CHIP-8",
                 {"modernChip8"},
                 detail::PlatformRules({.clip = true}, 12, 16)},
    ProfileEntry{Profile::SuperChip10,
                 "schip10",
                 "CHIP-48 / SUPER-CHIP 1.0",
                 {"chip48", "superchip1"},
                 detail::PlatformRules(
                     {.shift = true, .increment = true, .jump = true, .clip = true}, 30, 8)},
    ProfileEntry{
        Profile::SuperChip,
        "schip",
        "SUPER-CHIP 1.1",
        {"superchip"},
        detail::PlatformRules({.shift = true, .memory = true, .jump = true, .clip = true}, 30, 8)},
    ProfileEntry{Profile::XoChip,
                 "xochip",
                 "XO-CHIP",
                 {"xochip"},
                 detail::WithXoChip(detail::PlatformRules({}, 100, 16))},
};

constexpr const ProfileEntry& EntryOf(Profile profile) {
  for (const ProfileEntry& entry : kProfileTable) {
    if (entry.profile == profile) return entry;
  }
  return kProfileTable.front();
}
// "As designed", "CHIP-8 (COSMAC VIP)", ….
std::string_view ProfileName(Profile profile);
MachineRules RulesOf(Profile profile);
// The profile whose command-line name this is ("octo" is another name for "xochip"); none for
// any other text.
std::optional<Profile> ProfileNamed(std::string_view commandLineName);
// The profile that runs the database's platform of this id; none for a platform Pellark does
// not run (hybridVIP, chip8x, megachip8) or an id it does not know.
std::optional<Profile> ProfileOfPlatform(std::string_view databasePlatform);

}  // namespace pellark
