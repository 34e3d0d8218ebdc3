// Storage descriptors as any driver may fill them: the decoder agrees with a
// plain reading of the layout, and never reads past the bytes.
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "formats/StorageDescriptor.h"

using namespace cc;

namespace {

// The text whose offset is the 32-bit field at `field`, read the plain way.
std::string Reference(const std::uint8_t* data, std::size_t size, std::size_t field) {
    std::uint32_t offset = 0;
    std::memcpy(&offset, data + field, 4);   // little-endian, as on x86
    if (offset < 28 || offset >= size) return {};
    const void* nul = std::memchr(data + offset, 0, size - offset);
    if (!nul) return {};
    std::string text;
    for (const std::uint8_t* p = data + offset; p != nul; ++p)
        if (*p >= 0x20 && *p <= 0x7E) text += static_cast<char>(*p);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const StorageTexts texts = ParseStorageDescriptor(size ? data : nullptr, size);
    if (size < 28) {
        fuzz::Require(texts.model.empty() && texts.revision.empty() && texts.serialNumber.empty(), "a short header gives nothing");
        return 0;
    }
    const std::string vendor = Reference(data, size, 12), product = Reference(data, size, 16);
    const std::string model = vendor.empty() ? product : product.empty() ? vendor : vendor + " " + product;
    fuzz::Require(texts.model == model, "the model is vendor and product");
    fuzz::Require(texts.revision == Reference(data, size, 20), "the revision");
    fuzz::Require(texts.serialNumber == Reference(data, size, 24), "the serial number");
    return 0;
}
