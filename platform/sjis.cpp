#include "platform/sjis.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace platform {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (handle_ != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; on an unconvertible or truncated sequence, appends
    // `replacement` and resumes one byte later, so no input is ever lost silently.
    std::string Convert(std::string_view input, std::string_view replacement) const {
        std::string output;
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            return output;
        }
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, out - buffer);
            if (rc != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            output.append(replacement);
            ++in;
            --inLeft;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        iconv(handle_, nullptr, nullptr, &out, &outLeft);
        output.append(buffer, out - buffer);
        return output;
    }

private:
    iconv_t handle_;
};

} // namespace

std::string SjisToUtf8(std::string_view sjis) {
    thread_local const Converter converter("UTF-8", "CP932");
    return converter.Convert(sjis, "\xEF\xBF\xBD");
}

namespace {

bool IsControl(char byte) {
    const auto code = static_cast<unsigned char>(byte);
    return code < 0x20 || code == 0x7F;
}

} // namespace

// Neither the controls nor DEL occur inside a UTF-8 sequence, so a byte of that value is always a
// character of its own. Names without one, nearly all, are passed on as converted.
std::string SjisToShownText(std::string_view sjis) {
    std::string utf8 = SjisToUtf8(sjis);
    if (std::none_of(utf8.begin(), utf8.end(), IsControl)) {
        return utf8;
    }
    std::string shown;
    for (const char byte : utf8) {
        shown += IsControl(byte) ? std::string_view("\xEF\xBF\xBD") : std::string_view(&byte, 1);
    }
    return shown;
}

std::string Utf8ToSjis(std::string_view utf8) {
    thread_local const Converter converter("CP932", "UTF-8");
    return converter.Convert(utf8, "?");
}

} // namespace platform
