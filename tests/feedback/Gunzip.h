#pragma once

#include <QByteArray>

#include <optional>
#include <zlib.h>

namespace vesk::test {

// Inflates a gzip stream with zlib's own gzip reader; none when it is not one
// complete, intact stream.
inline std::optional<QByteArray> gunzip(const QByteArray& stream)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + 15) != Z_OK)
        return std::nullopt;
    QByteArray out;
    char buffer[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = static_cast<uInt>(stream.size());
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        result = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return out;
}

} // namespace vesk::test
