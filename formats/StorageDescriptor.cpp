#include "formats/StorageDescriptor.h"

namespace cc {

namespace {

constexpr std::size_t kVendorOffsetField = 12;
constexpr std::size_t kProductOffsetField = 16;
constexpr std::size_t kRevisionOffsetField = 20;
constexpr std::size_t kSerialOffsetField = 24;
constexpr std::size_t kHeaderSize = 28;

std::uint32_t ReadUint32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The text at the offset held in `field`; it must end inside the data.
std::string TextAt(const std::uint8_t* data, std::size_t size, std::size_t field) {
    const std::uint32_t offset = ReadUint32(data + field);
    if (offset == 0 || offset < kHeaderSize || offset >= size) return {};
    std::string text;
    for (std::size_t i = offset; i < size; ++i) {
        if (data[i] == 0) return Trimmed(text);
        if (data[i] >= 0x20 && data[i] < 0x7F) text.push_back(static_cast<char>(data[i]));
    }
    return {};   // not ended inside the data: not trusted
}

}  // namespace

StorageTexts ParseStorageDescriptor(const std::uint8_t* data, std::size_t size) {
    StorageTexts texts;
    if (data == nullptr || size < kHeaderSize) return texts;
    const std::string vendor = TextAt(data, size, kVendorOffsetField);
    const std::string product = TextAt(data, size, kProductOffsetField);
    texts.model = vendor.empty() ? product : product.empty() ? vendor : vendor + " " + product;
    texts.revision = TextAt(data, size, kRevisionOffsetField);
    texts.serialNumber = TextAt(data, size, kSerialOffsetField);
    return texts;
}

}  // namespace cc
