#include "core/instruction.h"

#include <algorithm>
#include <array>

namespace pellark {
namespace {

HexByte PadSecondByte(HexByte second) {
  if (second.Text().size() == 2) return second;
  const char padded[2] = {'0', second.IsEmpty() ? '\0' : second.Text()[0]};
  return HexByte(std::string_view(padded, second.IsEmpty() ? 1 : 2));
}

struct TextRow {
  std::string_view text;
  Mnemonic handler;
};

// Group 0 by the exact text of the second byte; 00Cn is told by its high digit instead.
constexpr std::array<TextRow, 8> kGroupZero{{
    {"0", Mnemonic::Nop},
    {"1", Mnemonic::Nop},
    {"E0", Mnemonic::Cls},
    {"EE", Mnemonic::Rts},
    {"FB", Mnemonic::Scright},
    {"FC", Mnemonic::Scleft},
    {"FE", Mnemonic::Low},
    {"FF", Mnemonic::High},
}};

// Group 8 by the last character of the second byte.
constexpr std::array<TextRow, 9> kGroupEight{{
    {"0", Mnemonic::MovRegister},
    {"1", Mnemonic::Or},
    {"2", Mnemonic::And},
    {"3", Mnemonic::Xor},
    {"4", Mnemonic::AddRegister},
    {"5", Mnemonic::Sub},
    {"6", Mnemonic::Shr},
    {"7", Mnemonic::Rsb},
    {"E", Mnemonic::Shl},
}};

// Groups E and F by the exact text of the second byte: 07 is "7", 0A is "A".
constexpr std::array<TextRow, 2> kGroupE{{{"9E", Mnemonic::Skpr}, {"A1", Mnemonic::Skup}}};
constexpr std::array<TextRow, 12> kGroupF{{
    {"7", Mnemonic::GDelay},
    {"A", Mnemonic::Key},
    {"15", Mnemonic::SDelay},
    {"18", Mnemonic::SSound},
    {"1E", Mnemonic::Addi},
    {"29", Mnemonic::Font},
    {"30", Mnemonic::Xfont},
    {"33", Mnemonic::Bcd},
    {"55", Mnemonic::Str},
    {"65", Mnemonic::Ldr},
    {"75", Mnemonic::LdRVx},
    {"85", Mnemonic::LdVxR},
}};

template <std::size_t Size>
const TextRow* FindRow(const std::array<TextRow, Size>& rows, std::string_view text) {
  const auto row =
      std::find_if(rows.begin(), rows.end(), [text](const TextRow& r) { return r.text == text; });
  return row == rows.end() ? nullptr : &*row;
}

struct Selection {
  Instruction::Kind kind;
  Mnemonic handler;
};

Selection Only(Mnemonic handler) {
  return {Instruction::Kind::Handler, handler};
}

// The handler a row of the table names, or otherwise when there is no such row.
Selection FromRow(const TextRow* row, Instruction::Kind otherwise) {
  return row != nullptr ? Only(row->handler) : Selection{otherwise, Mnemonic::Nop};
}

Selection SelectHandler(HexByte a, HexByte b, HexByte b2) {
  using Kind = Instruction::Kind;
  // Only the one-character text "0" is group 0; an empty first cell is no group at all, and a
  // two-character text never begins with "0".
  if (a.Text() == "0") {
    if (LeftPart(b2.Text(), 1) == "C") return Only(Mnemonic::Scdown);
    return FromRow(FindRow(kGroupZero, b.Text()), Kind::UnknownGroupZero);
  }
  const std::string_view group = LeftPart(a.Text(), 1);
  if (group.empty()) return {Kind::NoHandler, Mnemonic::Nop};
  switch (group[0]) {
    case '1': return Only(Mnemonic::Jmp);
    case '2': return Only(Mnemonic::Jsr);
    case '3': return Only(Mnemonic::Skeq);
    case '4': return Only(Mnemonic::Skne);
    case '5': return Only(Mnemonic::Skeqr);
    case '6': return Only(Mnemonic::MovByte);
    case '7': return Only(Mnemonic::AddByte);
    case '8': return FromRow(FindRow(kGroupEight, RightPart(b.Text(), 1)), Kind::NoRow);
    case '9': return Only(Mnemonic::SkneRegister);
    case 'A': return Only(Mnemonic::Mvi);
    case 'B': return Only(Mnemonic::Jmi);
    case 'C': return Only(Mnemonic::Rnd);
    // Dxy0 draws 16 rows of two bytes; a second cell that is empty has no "0" to end in and
    // draws as Dxyn.
    case 'D': return Only(RightPart(b.Text(), 1) == "0" ? Mnemonic::XDrw : Mnemonic::Drw);
    case 'E': return FromRow(FindRow(kGroupE, b.Text()), Kind::NoRow);
    case 'F': return FromRow(FindRow(kGroupF, b.Text()), Kind::NoRow);
    default: return {Kind::NoHandler, Mnemonic::Nop};
  }
}

}  // namespace

Instruction::Instruction(HexByte first, HexByte second)
    : A(first), B(second), B2(PadSecondByte(second)) {
  const std::string_view lastOfA = RightPart(A.Text(), 1);
  const std::string_view b2 = B2.Text();
  nnnLength_ = static_cast<std::uint8_t>(lastOfA.copy(nnnText_, 1));
  nnnLength_ = static_cast<std::uint8_t>(nnnLength_ + b2.copy(nnnText_ + nnnLength_, 2));
  x = static_cast<std::uint8_t>(HexToNumber(lastOfA));
  y = static_cast<std::uint8_t>(HexToNumber(LeftPart(b2, 1)));
  n = static_cast<std::uint8_t>(HexToNumber(RightPart(B.Text(), 1)));
  kk = static_cast<std::uint8_t>(HexToNumber(B.Text()));
  nnn = static_cast<std::uint16_t>(HexToNumber(NnnText()));

  const Selection selection = SelectHandler(A, B, B2);
  kind = selection.kind;
  handler = selection.handler;
  comparingSkip =
      kind == Kind::Handler && (handler == Mnemonic::Skeq || handler == Mnemonic::Skne ||
                                handler == Mnemonic::Skeqr || handler == Mnemonic::SkneRegister);
}

}  // namespace pellark
