#include "platform/sjis.h"

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

std::string Utf8ToSjis(std::string_view utf8) {
    thread_local const Converter converter("CP932", "UTF-8");
    return converter.Convert(utf8, "?");
}

} // namespace platform
