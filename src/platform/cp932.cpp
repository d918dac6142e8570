#include "platform/cp932.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/utf8.h"

namespace platform {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);
const std::size_t kIconvError = static_cast<std::size_t>(-1);

// One pair of descriptors per thread: iconv descriptors carry state and are not to be shared
// between threads.
class ThreadConverters {
  public:
    ~ThreadConverters() {
        if (encoder_ != kNoDescriptor) iconv_close(encoder_);
        if (decoder_ != kNoDescriptor) iconv_close(decoder_);
    }
    iconv_t Encoder() { return Get(encoder_, "CP932", "UTF-8"); }
    iconv_t Decoder() { return Get(decoder_, "UTF-8", "CP932"); }

  private:
    static iconv_t Get(iconv_t& cd, const char* to, const char* from) {
        if (cd == kNoDescriptor) {
            cd = iconv_open(to, from);
            if (cd == kNoDescriptor) {
                throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                         to);
            }
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return cd;
    }
    iconv_t encoder_ = kNoDescriptor;
    iconv_t decoder_ = kNoDescriptor;
};

ThreadConverters& Converters() {
    thread_local ThreadConverters converters;
    return converters;
}

struct Progress {
    std::size_t consumed;  // input bytes
    std::size_t written;   // output bytes
};

// Converts as much of the input as fits into out[0, cap) without splitting a
// character; an input sequence the converter refuses becomes one "?", and
// `badLength` tells how many input bytes that sequence spans.
Progress ConvertSome(iconv_t cd, std::string_view in, char* out, std::size_t cap,
                     std::size_t (*badLength)(std::string_view)) {
    char* inp = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outp = out;
    std::size_t outLeft = cap;
    while (inLeft > 0 && outLeft > 0) {
        if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != kIconvError) break;
        if (errno == E2BIG) break;
        // EILSEQ (not convertible or malformed) or EINVAL (truncated at the end).
        std::size_t len = std::max<std::size_t>(1, badLength(std::string_view(inp, inLeft)));
        *outp++ = '?';
        --outLeft;
        inp += len;
        inLeft -= len;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return {in.size() - inLeft, cap - outLeft};
}

// A malformed or unconvertible UTF-8 character spans its sequence.
std::size_t BadUtf8Length(std::string_view rest) {
    return utf8::SequenceLength(rest);
}

// A byte or pair that is no CP932 character: a lead and trail byte go together.
std::size_t BadCp932Length(std::string_view rest) {
    bool pair = rest.size() >= 2 && IsCp932LeadByte(static_cast<unsigned char>(rest[0])) &&
                IsCp932TrailByte(static_cast<unsigned char>(rest[1]));
    return pair ? 2 : 1;
}

// UTF-8 to CP932; a character CP932 cannot hold becomes "?".
Progress EncodeSome(std::string_view in, char* out, std::size_t cap) {
    return ConvertSome(Converters().Encoder(), in, out, cap, BadUtf8Length);
}

// CP932 to UTF-8; a byte or pair that is no CP932 character becomes "?".
Progress DecodeSome(std::string_view in, char* out, std::size_t cap) {
    return ConvertSome(Converters().Decoder(), in, out, cap, BadCp932Length);
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) noexcept {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsCp932TrailByte(unsigned char byte) noexcept {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

std::size_t Cp932ByteLength(std::string_view utf8) {
    const std::size_t ascii = utf8::FirstNonAscii(utf8);
    if (ascii == utf8.size()) return ascii;
    std::size_t total = ascii;
    std::string_view rest = utf8.substr(ascii);
    char buffer[1024];
    while (!rest.empty()) {
        const Progress p = EncodeSome(rest, buffer, sizeof buffer);
        total += p.written;
        rest.remove_prefix(p.consumed);
    }
    return total;
}

std::size_t Cp932CutOffset(std::string_view utf8, std::size_t maxBytes) {
    const std::size_t ascii = utf8::FirstNonAscii(utf8);
    if (maxBytes <= ascii) return maxBytes;
    std::size_t pos = ascii;
    std::size_t budget = maxBytes - ascii;
    char buffer[1024];
    while (pos < utf8.size() && budget > 0) {
        const Progress p = EncodeSome(utf8.substr(pos), buffer, std::min(budget, sizeof buffer));
        if (p.consumed == 0) break;  // the next character does not fit
        pos += p.consumed;
        budget -= p.written;
    }
    return pos;
}

std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes) {
    return std::string(utf8.substr(0, Cp932CutOffset(utf8, maxBytes)));
}

namespace {

// Converts a whole text a run at a time. An ASCII head is copied as it is
// (both encodings agree on it); the output grows by `perByte` bytes for each
// byte still to convert whenever less than `minRoom` is left.
std::string ConvertAll(std::string_view text, std::size_t perByte, std::size_t minRoom,
                       Progress (*convertSome)(std::string_view, char*, std::size_t)) {
    const std::size_t ascii = utf8::FirstNonAscii(text);
    if (ascii == text.size()) return std::string(text);
    std::string out(ascii + perByte * (text.size() - ascii) + minRoom, '\0');
    std::size_t written = ascii;
    std::copy_n(text.data(), ascii, out.data());
    std::string_view rest = text.substr(ascii);
    while (!rest.empty()) {
        if (out.size() - written < minRoom)
            out.resize(out.size() + perByte * rest.size() + minRoom);
        const Progress p = convertSome(rest, out.data() + written, out.size() - written);
        if (p.consumed == 0) out.resize(out.size() * 2 + 8);
        written += p.written;
        rest.remove_prefix(p.consumed);
    }
    out.resize(written);
    return out;
}

}  // namespace

// CP932 never needs more bytes than UTF-8 for a character.
std::string ToCp932(std::string_view utf8) {
    return ConvertAll(utf8, 1, 2, EncodeSome);
}

// One CP932 byte gives at most three UTF-8 bytes (every CP932 character is in the BMP).
std::string FromCp932(std::string_view cp932) {
    return ConvertAll(cp932, 3, 4, DecodeSome);
}

std::string NormaliseToCp932(std::string_view utf8) {
    if (utf8::IsAscii(utf8)) return std::string(utf8);
    return FromCp932(ToCp932(utf8));
}

}  // namespace platform
