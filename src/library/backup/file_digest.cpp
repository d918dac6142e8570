#include "library/backup/file_digest.h"

#include <QCryptographicHash>
#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace kashidashi::library {
namespace {

std::ifstream OpenFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("「" + file + "」を読めません。");
    return in;
}

// Reads the next piece into `buffer`; its size is what was read.
bool ReadPiece(std::ifstream& in, std::vector<char>& buffer, size_t chunk,
               const std::string& file) {
    buffer.resize(chunk);
    in.read(buffer.data(), static_cast<std::streamsize>(chunk));
    buffer.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) throw std::runtime_error("「" + file + "」を読めません。");
    return !buffer.empty();
}

}  // namespace

std::optional<TextPlaces> FindInFile(const std::string& file, const std::string& text,
                                     size_t chunk) {
    auto in = OpenFile(file);
    std::optional<TextPlaces> places;
    // The tail of the previous piece goes before the next one, so a text
    // across two pieces is found; it is too short to hold a whole one.
    std::string window;
    size_t windowAt = 0;  // the file offset of window[0]
    std::vector<char> piece;
    while (ReadPiece(in, piece, chunk, file)) {
        window.append(piece.data(), piece.size());
        for (size_t at = window.find(text); at != std::string::npos;
             at = window.find(text, at + 1)) {
            if (!places) places = TextPlaces{windowAt + at, windowAt + at};
            places->last = windowAt + at;
        }
        size_t keep = std::min(window.size(), text.empty() ? 0 : text.size() - 1);
        windowAt += window.size() - keep;
        window.erase(0, window.size() - keep);
    }
    return places;
}

std::string Sha256OfFile(const std::string& file, size_t zeroAt, size_t zeroCount, size_t chunk) {
    auto in = OpenFile(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> piece;
    size_t pieceAt = 0;
    while (ReadPiece(in, piece, chunk, file)) {
        // The part of [zeroAt, zeroAt + zeroCount) inside this piece.
        size_t from = std::max(zeroAt, pieceAt),
               to = std::min(zeroAt + zeroCount, pieceAt + piece.size());
        for (size_t at = from; at < to; ++at) piece[at - pieceAt] = '0';
        hash.addData(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
        pieceAt += piece.size();
    }
    return hash.result().toHex().toStdString();
}

}  // namespace kashidashi::library
