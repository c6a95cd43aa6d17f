#include "compiler/Classes_literal.h"

#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Literal_conversion.h"
#include "compiler/Object_stream.h"

namespace zantrope {

t_literal_base::t_literal_base(const std::string& text)
    : own_token_(std::make_unique<t_token>()), token_(own_token_.get()) {
  token_->data.name = text;
}

void t_name_simple::write(t_stream& stream) const { write_stream_string(token_text(), stream); }

void t_name_simple::read(t_stream& stream) {
  std::string text;
  read_stream_string(text, stream);
  set_text(text);
}

void t_name_simple::set_text(const std::string& text) {
  token_record().data.name = text;
}

void t_literal_character::write_node(t_stream& stream) const {
  write_stream_string(token_text(), stream);
}

void t_literal_character::read_node(t_stream& stream) {
  std::string text;
  read_stream_string(text, stream);
  token_record().data.name = text;
}

t_literal_physical::t_literal_physical(t_token* abstract_literal, const t_name_simple& unit)
    : t_literal(abstract_literal) {
  t_token& token = token_record();
  const t_physical_value value =
      token.kind == token_kinds::real
          ? convert_physical_real(token.data.float_value, unit.token_text(), token.text)
          : convert_physical_integer(token.data.int_value, unit.token_text());
  token.set_flag(token_kinds::physical);
  token.data.float_value = value.scaled;
  token.data.physical_value = value.femtoseconds;
  if (!value.ok()) {
    converted_ = false;
    report_parser_error(value.error.c_str());
    abort_run();
  }
}

std::unique_ptr<t_name_simple> make_name_simple() {
  return std::make_unique<t_name_simple>(current_identifier);
}

}  // namespace zantrope
