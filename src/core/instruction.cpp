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
  Operation operation;
};

// Group 0 by the exact text of the second byte; 00Cn is told by its high digit instead.
constexpr std::array<TextRow, 8> kGroupZero{{
    {"0", Operation::Nop},
    {"1", Operation::Nop},
    {"E0", Operation::Cls},
    {"EE", Operation::Rts},
    {"FB", Operation::Scright},
    {"FC", Operation::Scleft},
    {"FE", Operation::Low},
    {"FF", Operation::High},
}};

// Group 8 by the last character of the second byte.
constexpr std::array<TextRow, 9> kGroupEight{{
    {"0", Operation::MovRegister},
    {"1", Operation::Or},
    {"2", Operation::And},
    {"3", Operation::Xor},
    {"4", Operation::AddRegister},
    {"5", Operation::Sub},
    {"6", Operation::Shr},
    {"7", Operation::Rsb},
    {"E", Operation::Shl},
}};

// Groups E and F by the exact text of the second byte: 07 is "7", 0A is "A".
constexpr std::array<TextRow, 2> kGroupE{{{"9E", Operation::Skpr}, {"A1", Operation::Skup}}};
constexpr std::array<TextRow, 12> kGroupF{{
    {"7", Operation::GDelay},
    {"A", Operation::Key},
    {"15", Operation::SDelay},
    {"18", Operation::SSound},
    {"1E", Operation::Addi},
    {"29", Operation::Font},
    {"30", Operation::Xfont},
    {"33", Operation::Bcd},
    {"55", Operation::Str},
    {"65", Operation::Ldr},
    {"75", Operation::LdRVx},
    {"85", Operation::LdVxR},
}};

template <std::size_t Size>
const TextRow* FindRow(const std::array<TextRow, Size>& rows, std::string_view text) {
  const auto row =
      std::find_if(rows.begin(), rows.end(), [text](const TextRow& r) { return r.text == text; });
  return row == rows.end() ? nullptr : &*row;
}

struct Selection {
  Instruction::Kind kind;
  Operation operation;
};

Selection Only(Operation operation) {
  return {Instruction::Kind::Handler, operation};
}

// The handler a row of the table names, or otherwise when there is no such row.
Selection FromRow(const TextRow* row, Instruction::Kind otherwise) {
  return row != nullptr ? Only(row->operation) : Selection{otherwise, Operation::Nop};
}

Selection SelectHandler(HexByte a, HexByte b, HexByte b2) {
  using Kind = Instruction::Kind;
  // Only the one-character text "0" is group 0; an empty first cell is no group at all, and a
  // two-character text never begins with "0".
  if (a.Text() == "0") {
    if (LeftPart(b2.Text(), 1) == "C") return Only(Operation::Scdown);
    return FromRow(FindRow(kGroupZero, b.Text()), Kind::UnknownGroupZero);
  }
  const std::string_view group = LeftPart(a.Text(), 1);
  if (group.empty()) return {Kind::NoHandler, Operation::Nop};
  switch (group[0]) {
    case '1': return Only(Operation::Jmp);
    case '2': return Only(Operation::Jsr);
    case '3': return Only(Operation::Skeq);
    case '4': return Only(Operation::Skne);
    case '5': return Only(Operation::Skeqr);
    case '6': return Only(Operation::MovByte);
    case '7': return Only(Operation::AddByte);
    case '8': return FromRow(FindRow(kGroupEight, RightPart(b.Text(), 1)), Kind::NoRow);
    case '9': return Only(Operation::SkneRegister);
    case 'A': return Only(Operation::Mvi);
    case 'B': return Only(Operation::Jmi);
    case 'C': return Only(Operation::Rnd);
    // Dxy0 draws 16 rows of two bytes; a second cell that is empty has no "0" to end in and
    // draws as Dxyn.
    case 'D': return Only(RightPart(b.Text(), 1) == "0" ? Operation::XDrw : Operation::Drw);
    case 'E': return FromRow(FindRow(kGroupE, b.Text()), Kind::NoRow);
    case 'F': return FromRow(FindRow(kGroupF, b.Text()), Kind::NoRow);
    default: return {Kind::NoHandler, Operation::Nop};
  }
}

// XO-CHIP's instructions, which the designed machine reads as others or as none.
Selection SelectXoChip(HexByte a, HexByte b, HexByte b2) {
  const std::string_view group = LeftPart(a.Text(), 1);
  if (a.Text() == "0" && LeftPart(b2.Text(), 1) == "D") return Only(Operation::Scup);
  if (group == "5" && RightPart(b.Text(), 1) == "2") return Only(Operation::SaveRange);
  if (group == "5" && RightPart(b.Text(), 1) == "3") return Only(Operation::LoadRange);
  if (a.Text() == "F0" && b.Text() == "0") return Only(Operation::LongMvi);
  if (a.Text() == "F0" && b.Text() == "2") return Only(Operation::Audio);
  if (group == "F" && b.Text() == "1") return Only(Operation::Plane);
  if (group == "F" && b.Text() == "3A") return Only(Operation::Pitch);
  return {Instruction::Kind::NoHandler, Operation::Nop};
}

}  // namespace

Instruction Instruction::XoChip(HexByte first, HexByte second, HexByte third, HexByte fourth) {
  Instruction instruction(first, second);
  const Selection selection = SelectXoChip(first, second, instruction.B2);
  if (selection.kind != Kind::Handler) return instruction;
  instruction.kind = selection.kind;
  instruction.operation = selection.operation;
  instruction.comparingSkip = false;
  if (selection.operation == Operation::LongMvi) {
    instruction.length = 4;
    instruction.nnnn =
        static_cast<std::uint16_t>(HexToNumber(third.Text()) * 256 + HexToNumber(fourth.Text()));
  }
  return instruction;
}

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
  operation = selection.operation;
  comparingSkip = kind == Kind::Handler &&
                  (operation == Operation::Skeq || operation == Operation::Skne ||
                   operation == Operation::Skeqr || operation == Operation::SkneRegister);
}

}  // namespace pellark
