#include <dorvane/crcparameters.h>

namespace {

std::uint32_t Reflect(std::uint32_t value, int bits)
{
    std::uint32_t out = 0;
    for (int i = 0; i < bits; ++i) {
        out = (out << 1) | (value & 1u);
        value >>= 1;
    }
    return out;
}

} // namespace

std::uint32_t ComputeCrc(const CrcParameters &model, const unsigned char *data, std::size_t size)
{
    const int bits = model.width;
    if (bits < 8 || bits > 32) {
        return 0;
    }
    const std::uint32_t mask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
    const std::uint32_t top = 1u << (bits - 1);
    std::uint32_t crc = model.init & mask;
    if (model.refin) {
        // The reflected form shifts right with the bit-reversed polynomial.
        const std::uint32_t poly = Reflect(model.poly & mask, bits);
        crc = Reflect(crc, bits);
        for (std::size_t i = 0; i < size; ++i) {
            crc ^= data[i];
            for (int k = 0; k < 8; ++k) {
                crc = (crc & 1u) ? (crc >> 1) ^ poly : crc >> 1;
            }
        }
        if (!model.refout) {
            crc = Reflect(crc, bits);
        }
    } else {
        for (std::size_t i = 0; i < size; ++i) {
            crc ^= static_cast<std::uint32_t>(data[i]) << (bits - 8);
            for (int k = 0; k < 8; ++k) {
                crc = ((crc & top) ? (crc << 1) ^ model.poly : crc << 1) & mask;
            }
        }
        if (model.refout) {
            crc = Reflect(crc, bits);
        }
    }
    return (crc ^ model.xorout) & mask;
}

std::uint32_t CrcCheckValue(const CrcParameters &model)
{
    static const unsigned char kCheckText[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    return ComputeCrc(model, kCheckText, sizeof kCheckText);
}
