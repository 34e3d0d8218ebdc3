#include "formats/StorageDescriptor.h"

#include <span>

#include "formats/ByteReader.h"

namespace cc {

namespace {

constexpr std::size_t kVendorOffsetField = 12;
constexpr std::size_t kProductOffsetField = 16;
constexpr std::size_t kRevisionOffsetField = 20;
constexpr std::size_t kSerialOffsetField = 24;
constexpr std::size_t kHeaderSize = 28;

std::string Trimmed(std::string text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The text at the offset held in `field`; it must end inside the data.
std::string TextAt(std::span<const std::uint8_t> data, std::size_t field) {
    const std::uint32_t offset = ByteReader(data).seek(field).u32();
    if (offset < kHeaderSize || offset >= data.size()) return {};
    std::string text;
    for (const std::uint8_t c : data.subspan(offset)) {
        if (c == 0) return Trimmed(text);
        if (c >= 0x20 && c < 0x7F) text.push_back(static_cast<char>(c));
    }
    return {};   // not ended inside the data: not trusted
}

}  // namespace

StorageTexts ParseStorageDescriptor(const std::uint8_t* data, std::size_t size) {
    StorageTexts texts;
    if (data == nullptr || size < kHeaderSize) return texts;
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string vendor = TextAt(bytes, kVendorOffsetField);
    const std::string product = TextAt(bytes, kProductOffsetField);
    texts.model = vendor.empty() ? product : product.empty() ? vendor : vendor + " " + product;
    texts.revision = TextAt(bytes, kRevisionOffsetField);
    texts.serialNumber = TextAt(bytes, kSerialOffsetField);
    return texts;
}

}  // namespace cc
