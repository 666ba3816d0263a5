#include "trace/trace_line.h"

#include <algorithm>

#include "platform/text.h"

namespace pellark {

TraceLine::TraceLine(std::int32_t address, Mnemonic mnemonic, const TraceOperands& op) {
  Append("$").AppendHex(address).Append(": ");
  switch (mnemonic) {
    case Mnemonic::Nop: Append("Nop"); break;
    case Mnemonic::Scdown: Append("Scdown ").Append(op.n); break;
    case Mnemonic::Cls: Append("Cls"); break;
    case Mnemonic::Rts: Append("Rts"); break;
    case Mnemonic::Scright: Append("Scright"); break;
    case Mnemonic::Scleft: Append("Scleft"); break;
    case Mnemonic::Low: Append("Low"); break;
    case Mnemonic::High: Append("High"); break;
    case Mnemonic::Jmp: Append("Jmp ,$").Append(op.nnn); break;
    case Mnemonic::Jsr: Append("Jsr $").Append(op.nnn); break;
    case Mnemonic::Skeq: Append("Skeq V").Append(op.x).Append(",$").Append(op.kk); break;
    case Mnemonic::Skne: Append("Skne V").Append(op.x).Append(",$").Append(op.kk); break;
    case Mnemonic::Skeqr: Append("Skeqr V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::MovByte: Append("Mov V").Append(op.x).Append(",$").Append(op.kk); break;
    case Mnemonic::AddByte: Append("Add V").Append(op.x).Append(",$").AppendHex(op.value); break;
    case Mnemonic::MovRegister: Append("Mov V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Or: Append("Or V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::And: Append("And V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Xor: Append("Xor V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::AddRegister: Append("Add V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Sub: Append("Sub V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Shr: Append("Shr V").Append(op.x); break;
    case Mnemonic::Rsb: Append("Rsb V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Shl: Append("Shl V").Append(op.x); break;
    case Mnemonic::SkneRegister: Append("Skne V").Append(op.x).Append(",V").Append(op.y); break;
    case Mnemonic::Mvi: Append("Mvi $").Append(op.nnn); break;
    case Mnemonic::Jmi: Append("Jmi $").Append(op.nnn); break;
    case Mnemonic::Rnd: Append("Rnd V").Append(op.x).Append(",$").Append(op.kk); break;
    case Mnemonic::XDrw:
      Append("XDrw V").Append(op.x).Append(",V").Append(op.y).Append(",0");
      break;
    case Mnemonic::Drw:
      Append("Drw V").Append(op.x).Append(",V").Append(op.y).Append(",").AppendDecimal(op.value);
      break;
    case Mnemonic::Skpr: Append("Skpr ").AppendHex(op.value); break;
    case Mnemonic::Skup: Append("Skup ").AppendHex(op.value); break;
    case Mnemonic::GDelay: Append("GDelay V").Append(op.x); break;
    case Mnemonic::Key: Append("Key V").Append(op.x); break;
    case Mnemonic::SDelay: Append("SDelay V").Append(op.x); break;
    case Mnemonic::SSound: Append("SSound V").AppendHex(op.value); break;
    case Mnemonic::Addi: Append("Addi V").Append(op.x); break;
    case Mnemonic::Font: Append("Font V").Append(op.x); break;
    case Mnemonic::Xfont: Append("Xfont V").Append(op.x); break;
    case Mnemonic::Bcd: Append("Bcd V").Append(op.x); break;
    case Mnemonic::Str: Append("Str V").Append(op.x); break;
    case Mnemonic::Ldr: Append("Ldr V").Append(op.x); break;
    case Mnemonic::LdRVx: Append("Ld R,Vx"); break;
    case Mnemonic::LdVxR: Append("Ld Vx,R"); break;
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

TraceLine& TraceLine::AppendDecimal(std::int32_t value) {
  char digits[11];
  return Append({digits, static_cast<std::size_t>(FormatDecimal(value, digits))});
}

}  // namespace pellark
