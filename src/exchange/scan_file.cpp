#include "exchange/scan_file.h"

#include "engine/common/dates.h"
#include "exchange/file_bytes.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace kashidashi::exchange {
namespace {

std::string Trimmed(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return std::string(text.substr(begin, end - begin + 1));
}

ScanLine ParseLine(int number, std::string_view line) {
    ScanLine scan{number, std::nullopt, Trimmed(line)};
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return scan;
    if (auto at = engine::ParseDateTime(Trimmed(line.substr(0, tab)))) {
        scan.at = at;
        scan.scan = Trimmed(line.substr(tab + 1));
    }
    return scan;
}

bool IsControlByte(unsigned char byte) {
    if (byte == '\t' || byte == '\n' || byte == '\r' || byte == 0x1A) return false;
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::vector<ScanLine> ParseScanFile(std::string_view text) {
    std::vector<ScanLine> scans;
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        ScanLine scan = ParseLine(number, text.substr(start, end - start));
        if (!scan.scan.empty()) scans.push_back(std::move(scan));
        start = end + 1;
    }
    return scans;
}

std::string DecodeReaderFile(std::string_view bytes) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
    for (unsigned char byte : bytes)
        if (IsControlByte(byte))
            throw NotAReaderFile(
                "読取器のファイルではありません（文字でないデータがあります）。"
                "何も点検していません。");
    if (platform::utf8::IsValid(bytes)) return std::string(bytes);
    return platform::FromCp932(bytes);
}

std::string ReadReaderFile(const std::string& path) {
    return DecodeReaderFile(ReadFileBytes(path));
}

}  // namespace kashidashi::exchange
