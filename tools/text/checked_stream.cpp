#include "text/checked_stream.h"

#include <string_view>

namespace tooltext {

CheckedStreamBuf::int_type CheckedStreamBuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return output_.Write(std::string_view(&byte, 1)) ? c : traits_type::eof();
}

std::streamsize CheckedStreamBuf::xsputn(const char* text, std::streamsize count) {
  if (count <= 0) return 0;
  return output_.Write(std::string_view(text, static_cast<size_t>(count))) ? count : 0;
}

int CheckedStreamBuf::sync() {
  return output_.Flush() ? 0 : -1;
}

}  // namespace tooltext
