#include "feedback/GzipEncoder.h"

#include <zlib.h>

#include <array>

namespace vesk {

namespace {

using CrcTable = std::array<std::uint32_t, 256>;

CrcTable makeCrcTable()
{
    CrcTable table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (int round = 0; round < 8; ++round)
            c = (c & 1U) ? (0xEDB88320U ^ (c >> 1)) : (c >> 1);
        table[n] = c;
    }
    return table;
}

const CrcTable& crcTable()
{
    static const CrcTable table = makeCrcTable();
    return table;
}

void appendLittleEndian(QByteArray& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFFU));
}

// Raw deflate (no zlib header or trailer) into a buffer of n + n/2 + 64
// bytes, which holds even incompressible input.
std::optional<QByteArray> rawDeflate(const QByteArray& input)
{
    const qsizetype capacity = input.size() + input.size() / 2 + 64;
    QByteArray output(capacity, Qt::Uninitialized);
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(capacity);
    const int result = deflate(&stream, Z_FINISH);
    const auto written = static_cast<qsizetype>(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END || written == 0)
        return std::nullopt;
    output.truncate(written);
    return output;
}

} // namespace

std::uint32_t crc32(const QByteArray& data)
{
    const CrcTable& table = crcTable();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char byte : data)
        crc = table[(crc ^ static_cast<std::uint8_t>(byte)) & 0xFFU] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFU;
}

std::optional<QByteArray> gzipCompress(const QByteArray& input)
{
    if (input.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> deflated = rawDeflate(input);
    if (!deflated)
        return std::nullopt;
    static constexpr char header[] = {'\x1F', '\x8B', '\x08', '\x00', '\x00', '\x00', '\x00', '\x00', '\x00', '\xFF'};
    QByteArray stream(header, sizeof header);
    stream.reserve(sizeof header + deflated->size() + 8);
    stream.append(*deflated);
    appendLittleEndian(stream, crc32(input));
    appendLittleEndian(stream, static_cast<std::uint32_t>(input.size()));
    return stream;
}

} // namespace vesk
