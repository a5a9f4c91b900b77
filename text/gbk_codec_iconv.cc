// GBK <-> UTF-8 with iconv: the conversion of every system but Windows.
#include <iconv.h>

#include <cerrno>

#include "text/gbk_codec.h"

namespace kscgen::text::codec {
namespace {

// One converter per direction and thread: opening one loads conversion
// tables, which would dominate the cost of converting a short file name.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::string_view in) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset shift state
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    std::size_t done = 0;
    while (true) {
      char* dst = out.data() + done;
      std::size_t dst_left = out.size() - done;
      std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      done = out.size() - dst_left;
      if (rc != static_cast<std::size_t>(-1)) {
        // A converter may still hold a partial sequence at the end.
        if (src_left != 0) return std::nullopt;
        break;
      }
      if (errno != E2BIG) return std::nullopt;  // EILSEQ or EINVAL: bad input
      out.resize(out.size() * 2);
    }
    out.resize(done);
    out.shrink_to_fit();  // names are kept by the ten thousand
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& Utf8ToGbkConverter() {
  thread_local Converter c("GBK", "UTF-8");
  return c;
}

Converter& GbkToUtf8Converter() {
  thread_local Converter c("UTF-8", "GBK");
  return c;
}

Converter& Utf16ToUtf8Converter(bool big_endian) {
  thread_local Converter little("UTF-8", "UTF-16LE");
  thread_local Converter big("UTF-8", "UTF-16BE");
  return big_endian ? big : little;
}

}  // namespace

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool big_endian) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  return Utf16ToUtf8Converter(big_endian).Convert(bytes);
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  return Utf8ToGbkConverter().Convert(utf8);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
  return GbkToUtf8Converter().Convert(gbk);
}

}  // namespace kscgen::text::codec
