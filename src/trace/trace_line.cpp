#include "trace/trace_line.h"

#include <algorithm>

#include "platform/text.h"

namespace pellark {

TraceLine::TraceLine(std::int32_t address, Operation operation, const TraceOperands& op) {
  Append("$").AppendHex(address).Append(": ");
  switch (operation) {
    case Operation::Nop: Append("Nop"); break;
    case Operation::Scdown: Append("Scdown ").Append(op.n); break;
    case Operation::Cls: Append("Cls"); break;
    case Operation::Rts: Append("Rts"); break;
    case Operation::Scright: Append("Scright"); break;
    case Operation::Scleft: Append("Scleft"); break;
    case Operation::Low: Append("Low"); break;
    case Operation::High: Append("High"); break;
    case Operation::Jmp: Append("Jmp ,$").Append(op.nnn); break;
    case Operation::Jsr: Append("Jsr $").Append(op.nnn); break;
    case Operation::Skeq: Append("Skeq V").Append(op.x).Append(",$").Append(op.kk); break;
    case Operation::Skne: Append("Skne V").Append(op.x).Append(",$").Append(op.kk); break;
    case Operation::Skeqr: Append("Skeqr V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::MovByte: Append("Mov V").Append(op.x).Append(",$").Append(op.kk); break;
    case Operation::AddByte: Append("Add V").Append(op.x).Append(",$").AppendHex(op.value); break;
    case Operation::MovRegister: Append("Mov V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Or: Append("Or V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::And: Append("And V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Xor: Append("Xor V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::AddRegister: Append("Add V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Sub: Append("Sub V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Shr: Append("Shr V").Append(op.x); break;
    case Operation::Rsb: Append("Rsb V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Shl: Append("Shl V").Append(op.x); break;
    case Operation::SkneRegister: Append("Skne V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Mvi: Append("Mvi $").Append(op.nnn); break;
    case Operation::Jmi: Append("Jmi $").Append(op.nnn); break;
    case Operation::Rnd: Append("Rnd V").Append(op.x).Append(",$").Append(op.kk); break;
    case Operation::XDrw:
      Append("XDrw V").Append(op.x).Append(",V").Append(op.y).Append(",0");
      break;
    case Operation::Drw:
      Append("Drw V").Append(op.x).Append(",V").Append(op.y).Append(",").AppendDecimal(op.value);
      break;
    case Operation::Skpr: Append("Skpr ").AppendHex(op.value); break;
    case Operation::Skup: Append("Skup ").AppendHex(op.value); break;
    case Operation::GDelay: Append("GDelay V").Append(op.x); break;
    case Operation::Key: Append("Key V").Append(op.x); break;
    case Operation::SDelay: Append("SDelay V").Append(op.x); break;
    case Operation::SSound: Append("SSound V").AppendHex(op.value); break;
    case Operation::Addi: Append("Addi V").Append(op.x); break;
    case Operation::Font: Append("Font V").Append(op.x); break;
    case Operation::Xfont: Append("Xfont V").Append(op.x); break;
    case Operation::Bcd: Append("Bcd V").Append(op.x); break;
    case Operation::Str: Append("Str V").Append(op.x); break;
    case Operation::Ldr: Append("Ldr V").Append(op.x); break;
    case Operation::LdRVx: Append("Ld R,Vx"); break;
    case Operation::LdVxR: Append("Ld Vx,R"); break;
    case Operation::LongMvi: Append("Mvi $").AppendHexDigits(op.value, 4); break;
    case Operation::SaveRange: Append("Save V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::LoadRange: Append("Load V").Append(op.x).Append(",V").Append(op.y); break;
    case Operation::Plane: Append("Plane ").Append(op.x); break;
    case Operation::Audio: Append("Audio"); break;
    case Operation::Pitch: Append("Pitch V").Append(op.x); break;
    case Operation::Scup: Append("Scup ").Append(op.n); break;
  }
}

TraceLine& TraceLine::Append(std::string_view text) {
  const std::size_t count = std::min(text.size(), buffer_.size() - length_);
  std::copy_n(text.data(), count, buffer_.data() + length_);
  length_ += count;
  return *this;
}

TraceLine& TraceLine::AppendHex(std::int32_t value) {
  char digits[8];
  return Append(
      {digits, static_cast<std::size_t>(FormatHex(static_cast<std::uint32_t>(value), digits))});
}

TraceLine& TraceLine::AppendHexDigits(std::int32_t value, int digits) {
  char text[8];
  const auto length = static_cast<int>(FormatHex(static_cast<std::uint32_t>(value), text));
  for (int pad = length; pad < digits; ++pad) Append("0");
  return Append({text, static_cast<std::size_t>(length)});
}

TraceLine& TraceLine::AppendDecimal(std::int32_t value) {
  char digits[11];
  return Append({digits, static_cast<std::size_t>(FormatDecimal(value, digits))});
}

}  // namespace pellark
