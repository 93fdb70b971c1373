#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace vesk {

// A complete single-member gzip stream of `input`: zlib's raw deflate framed
// by our own header and trailer. None for an empty input or when deflate fails.
std::optional<QByteArray> gzipCompress(const QByteArray& input);

// The CRC-32 of gzip (reflected, polynomial 0xEDB88320), from a table built
// once on first use.
std::uint32_t crc32(const QByteArray& data);

} // namespace vesk
