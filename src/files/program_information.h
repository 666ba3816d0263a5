#pragma once

#include <optional>
#include <string>

#include "files/program_database.h"

namespace pellark {

// What File > "Program information..." and pellark-run --info show of a program: the
// database's entry and the rules in use, or for a program it does not know, its SHA-1 and how
// to add it; without a database (missing or damaged), that there is none. rulesLabel is the
// profile's name; empty leaves the rules out.
std::string ProgramInformationText(const std::optional<KnownProgram>& program,
                                   const std::string& sha1, const std::string& rulesLabel,
                                   bool haveDatabase);

// "Tetris — CHIP-48 / SUPER-CHIP 1.0", "Unknown program — as designed", "Title — needs
// MEGA-CHIP, runs as designed": what the display shows for a moment after a load.
std::string RecognitionText(const std::optional<KnownProgram>& program, Profile profile);

}  // namespace pellark
